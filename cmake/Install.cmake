# SPDX-License-Identifier: Apache-2.0
# Installing the program (cmake --install) and packaging it for Debian (cpack -G DEB).
#
# The installed tree:
#   bin/kelm-utilities
#   lib/kelm-utilities/libtracker.so  the simulated tracker library, unless
#                                   KELM_TRACKER_LIBRARY names a real one; kept
#                                   in a folder of the program's own, so that
#                                   its generic name never meets another
#                                   tracker library in the system's path
#   share/applications/org.example.kelm_utilities.desktop
#   share/icons/hicolor/<size>x<size>/apps/kelm-utilities.png, .../scalable/apps/kelm-utilities.svg
#   share/metainfo/org.example.kelm_utilities.metainfo.xml  the AppStream entry
#   share/man/man1/kelm-utilities.1.gz
#   share/doc/kelm-utilities/changelog.gz, .../copyright
#   share/lintian/overrides/kelm-utilities
# ("lib" is GNUInstallDirs' library folder; with the prefix /usr it is the
# multiarch one, such as lib/x86_64-linux-gnu.)
#
# The package is built from a tree configured with the prefix /usr, the
# package's own (scripts/package.sh). That matters beyond the paths: CPack
# adds ldconfig calls to the package's maintainer scripts for a library in a
# folder directly below usr/lib, as a private folder usr/lib/kelm-utilities
# would be, while usr/lib/<multiarch>/kelm-utilities is left alone. ldconfig
# has nothing to do for a library found through the program's RPATH, and
# lintian reports the calls.
include(GNUInstallDirs)

install(TARGETS kelm-utilities RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The program finds the tracker library relative to itself, so the installed
# tree works wherever it is copied or unpacked, and never from the build tree.
set(kelm_private_libdir ${CMAKE_INSTALL_LIBDIR}/kelm-utilities)
file(RELATIVE_PATH kelm_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${kelm_private_libdir})
set(kelm_install_rpath "$ORIGIN/${kelm_bin_to_lib}")

if(KELM_TRACKER_LIBRARY)
  # The instrument maker's library is theirs to install, where the system's
  # dynamic loader finds libraries (a library folder, or one that a file in
  # /etc/ld.so.conf.d names). The installed program carries no path of the
  # machine it was built on: such a path would not exist on another, and
  # would let a library planted there stand in for the maker's.
  set(kelm_install_rpath "")
else()
  install(TARGETS kelm_tracker_sim LIBRARY DESTINATION ${kelm_private_libdir})
endif()

set_target_properties(kelm-utilities PROPERTIES INSTALL_RPATH "${kelm_install_rpath}")

# A stripped install (the package's) also drops the .comment sections, the
# compilers' version notes, which nothing running the program reads.
set(kelm_stripped_binaries "${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:kelm-utilities>")
if(NOT KELM_TRACKER_LIBRARY)
  list(APPEND kelm_stripped_binaries "${kelm_private_libdir}/$<TARGET_FILE_NAME:kelm_tracker_sim>")
endif()
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(binary ${kelm_stripped_binaries})
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${binary}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")

# The package's maintainer: a placeholder under example.org, reserved for
# examples, until the project has an address of its own.
set(KELM_PACKAGE_MAINTAINER "Kelm Utilities maintainers <kelm-utilities@example.org>"
  CACHE STRING "The Maintainer field of the Debian package")

# The desktop entry, the icons, the AppStream entry, the manual page, the
# changelog and the copyright file.
add_subdirectory(${PROJECT_SOURCE_DIR}/packaging ${PROJECT_BINARY_DIR}/packaging)

# ---- the Debian package: kelm-utilities_<version>_<architecture>.deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelm-utilities)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelm Utilities")
set(CPACK_PACKAGE_CONTACT "${KELM_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop launcher for a laser tracker")
if(KELM_TRACKER_LIBRARY)
  set(kelm_tracker_text "It uses the instrument maker's tracker library, installed separately.")
else()
  set(kelm_tracker_text "This build simulates the trackers: no instrument is needed.")
endif()
set(CPACK_PACKAGE_DESCRIPTION
  "Connects to one laser tracker over the network and starts the tracker's
applications with preferred measurement units and precisions, changes the
units of running applications, and stops everything and disconnects.
Settings are kept in KelmUtilitiesSerialize.dat in the folder the program
is started from.
${kelm_tracker_text}")
# Binaries without symbol tables: the package is for running, not debugging.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KELM_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends is worked out from the binaries by dpkg-shlibdeps (package dpkg-dev).
# The package's own tracker library is found through the program's $ORIGIN
# RPATH inside the package tree; having no versioned SONAME, it adds no
# dependency of its own, and a copy installed on the building machine is
# never consulted.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The one dependency no binary names: the font the dialogs are drawn in when
# their own is missing, chosen so that every text fits its control.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-freefont-ttf")
# The other languages' fonts and the toolkit's own translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "fonts-dejavu-core, fonts-ipafont-gothic, fonts-wqy-microhei, qt6-translations-l10n")

include(CPack)
