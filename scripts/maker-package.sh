#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Packages the program linked with an instrument maker's tracker library:
# builds build-pkg-maker/package/kelm-utilities_<version>_<arch>.deb, which
# holds no tracker library (the maker installs theirs where the system's
# loader finds it), and checks it like the source package's, lintian
# included (scripts/check-package.sh), installed with apt-get as root.
# Made with CPack from the build folder, not from debian/: a source
# package's Build-Depends and a binary package's Depends can only name
# Debian packages, and the maker's library is none, so this package stays
# apart from the source package's way.
# Usage: scripts/maker-package.sh /path/to/libtracker.so   (JOBS=n as usual)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
library=$(realpath "${1:?usage: scripts/maker-package.sh /path/to/libtracker.so}")
jobs="${JOBS:-$(nproc)}"
build=$top/build-pkg-maker
bash scripts/deps.sh run dpkg-dev git

# Built as a Debian package is: every time stamp the last commit's
# (SOURCE_DATE_EPOCH, which CPack and gzip -n honour), the compiler and
# linker flags of dpkg-buildflags taken in the source folder (hardening
# included, the source folder mapped to "."; no -g, as CPack strips and makes
# no debug symbol package), the prefix /usr, and linked with the installed
# RPATH (none here) from the start.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
buildflags() {
  DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags --get "$1"
}
ldflags=$(buildflags LDFLAGS)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKELM_BUILD_TESTS=OFF -DKELM_BUILD_BENCHMARKS=OFF -DCMAKE_BUILD_WITH_INSTALL_RPATH=ON \
  -DKELM_TRACKER_LIBRARY="$library" \
  -DCMAKE_CXX_FLAGS="$(buildflags CPPFLAGS) $(buildflags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags"
cmake --build "$build" -j "$jobs"
rm -rf "$build/package"
# dpkg-shlibdeps works out Depends from the binaries; the maker's library is
# found in its own folder, and belongs to no Debian package.
LD_LIBRARY_PATH="$(dirname "$library")" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package"
KELM_PACKAGE_TRACKER_LIBRARY="$library" bash scripts/check-package.sh \
  "$build"/package/kelm-utilities_*.deb "$build"
