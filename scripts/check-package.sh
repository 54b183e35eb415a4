#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Checks a built Debian package kelm-utilities_<version>_<arch>.deb: the
# package's fields and files, lintian's verdict on it (no error, no warning;
# KELM_PACKAGE_LINTIAN=0 skips it, for a package whose .changes lintian has
# seen already), the AppStream entry, the desktop entry, the icons, the
# manual page, and that the program, unpacked into a scratch root and moved
# elsewhere, finds every library (its tracker library through its relative
# RPATH) and starts. Given the build folder the package was made from, it
# checks the tree that cmake --install makes from it the same way.
# As root, and when the package is not installed already, it also installs the
# package with apt-get, starts the program from PATH, reads its manual page with
# man, and removes it again (KELM_PACKAGE_INSTALL=0 skips that).
# With KELM_PACKAGE_TRACKER_LIBRARY=/path/to/libtracker.so the package is of
# the program linked with that library: it holds no tracker library, and the
# program finds the one given where the system's loader would (here:
# LD_LIBRARY_PATH set to its folder).
# Exits non-zero when anything fails; the last line is a one-line summary.
# Usage: scripts/check-package.sh DEB [BUILD_FOLDER]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
debpath=$(realpath "$1")
build=${2:+$(realpath "$2")}
tracker_library="${KELM_PACKAGE_TRACKER_LIBRARY:-}"
maker_libdir=""
[ -z "$tracker_library" ] || maker_libdir=$(dirname "$(realpath "$tracker_library")")

# ---- what the checks need
bash "$top/scripts/deps.sh" run dpkg-dev desktop-file-utils file binutils lintian appstream man-db

# ---- checks: each failure is reported and counted; the script goes on so that
# one run shows everything that is wrong.
# A check's grep reads its text from a here-string, not from echo through a
# pipe: grep -q leaves at its first match, and the echo still writing is then
# killed by SIGPIPE, which under pipefail failed a check that had passed.
checks=0
failures=()
pass() {
  checks=$((checks + 1))
  echo "ok: $1"
}
fail() {
  checks=$((checks + 1))
  failures+=("$1")
  echo "FAILED: $1" >&2
}
summary() {
  if [ "${#failures[@]}" -eq 0 ]; then
    echo "package: OK, ${deb:-no package} passed $checks checks"
    exit 0
  fi
  echo "package: FAILED ${#failures[@]} of $checks checks: $(IFS=';'; echo "${failures[*]}")"
  exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

deb=${debpath##*/}
version=$(dpkg-deb -f "$debpath" Version 2>/dev/null || true)
arch=$(dpkg --print-architecture)
if [ -n "$version" ] && [ "$deb" = "kelm-utilities_${version}_${arch}.deb" ]; then
  pass "package $deb"
else
  fail "$debpath is not a package kelm-utilities_<version>_${arch}.deb"
  summary
fi

# The library folder of the installed tree: with the prefix /usr, the
# multiarch one.
libdir=lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/kelm-utilities
sizes="16 24 32 48 64 128 256"
# The AppStream id, which names the desktop entry and the AppStream entry.
app_id=org.example.kelm_utilities

# Checks an installed tree under ROOT/PREFIX (PREFIX as the program sees it).
check_tree() {
  local what="$1" root="$2" prefix="$3"
  local bin="$root$prefix/bin/kelm-utilities"
  local desktop="$root$prefix/share/applications/$app_id.desktop"
  local icons="$root$prefix/share/icons/hicolor"

  if [ -x "$bin" ]; then pass "$what: program installed"; else fail "$what: no $bin"; fi
  if [ -n "$maker_libdir" ]; then
    if [ -e "$root$prefix/$libdir" ]; then
      fail "$what: a tracker library of its own in $libdir/, beside the maker's"
    else
      pass "$what: no tracker library of its own: the maker's is installed apart"
    fi
  elif [ -f "$root$prefix/$libdir/libtracker.so" ]; then
    pass "$what: tracker library in $libdir/"
  else
    fail "$what: no $prefix/$libdir/libtracker.so"
  fi

  # The validator's hints and warnings count as failures too.
  local out
  if out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ]; then
    pass "$what: desktop entry valid"
  else
    fail "$what: desktop entry invalid: ${out:-missing}"
  fi
  if grep -qx 'Exec=kelm-utilities' "$desktop" 2>/dev/null && grep -qx 'Icon=kelm-utilities' "$desktop"; then
    pass "$what: desktop entry starts kelm-utilities with its icon"
  else
    fail "$what: desktop entry's Exec or Icon is not kelm-utilities"
  fi

  local size desc bad=""
  for size in $sizes; do
    desc=$(file -b "$icons/${size}x${size}/apps/kelm-utilities.png" 2>&1 || true)
    case "$desc" in
      "PNG image data, $size x $size,"*) ;;
      *) bad+=" ${size}: $desc" ;;
    esac
  done
  desc=$(file -b "$icons/scalable/apps/kelm-utilities.svg" 2>&1 || true)
  case "$desc" in
    *SVG*) ;;
    *) bad+=" svg: $desc" ;;
  esac
  if [ -z "$bad" ]; then pass "$what: icons $sizes and scalable"; else fail "$what: icons:$bad"; fi

  local file missing=""
  for file in share/metainfo/$app_id.metainfo.xml share/doc/kelm-utilities/copyright \
    share/doc/kelm-utilities/changelog.gz share/man/man1/kelm-utilities.1.gz; do
    [ -s "$root$prefix/$file" ] || missing+=" $file"
  done
  if [ -z "$missing" ]; then
    pass "$what: AppStream entry, copyright, changelog and manual page"
  else
    fail "$what: missing:$missing"
  fi
  check_manual_page "$what" "$root$prefix/share/man/man1/kelm-utilities.1.gz"

  # The program must find its tracker library through its own RPATH, relative
  # to itself: nothing of the build tree, no absolute folder. A maker's
  # library is found where the system's loader looks: no RPATH at all.
  local runpath expected_runpath="\$ORIGIN/../$libdir" rpaths
  [ -z "$maker_libdir" ] || expected_runpath=""
  runpath=$(readelf -d "$bin" 2>/dev/null | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p' || true)
  rpaths=$(readelf -d "$bin" 2>/dev/null | grep -c '(RPATH)' || true)
  if [ "$runpath" = "$expected_runpath" ] && [ "$rpaths" = 0 ]; then
    pass "$what: RUNPATH '$runpath'"
  else
    fail "$what: RUNPATH is '$runpath' ($rpaths RPATH), not '$expected_runpath'"
  fi

  local ldd_out
  ldd_out=$(env LD_LIBRARY_PATH="$maker_libdir" ldd "$bin" 2>&1 || true)
  # The lines that matter: the tracker library, and whatever is not found.
  echo "  ldd $what: $(echo "$ldd_out" | grep -c '=>') libraries"
  local line
  while IFS= read -r line; do
    case "$line" in
      *libtracker* | *"not found"*) echo "  ldd $what: $line" ;;
    esac
  done <<<"$ldd_out"
  if grep -q 'not found' <<<"$ldd_out" || ! grep -q 'libQt6Widgets' <<<"$ldd_out"; then
    fail "$what: ldd does not find every library"
  else
    pass "$what: ldd finds every library"
  fi
  local tracker_from="$root$prefix/bin/\.\./$libdir/libtracker\.so"
  [ -z "$maker_libdir" ] || tracker_from="$maker_libdir/libtracker\.so"
  if grep -Eq "libtracker\.so => $tracker_from " <<<"$ldd_out"; then
    pass "$what: libtracker.so from $tracker_from"
  else
    fail "$what: libtracker.so not resolved from $tracker_from"
  fi

  run_program "$what" "$bin"
}

# The manual page, rendered with man -l: scripts/check-manual-page.sh.
check_manual_page() {
  local what="$1" page="$2" verdict rc=0
  verdict=$(bash "$top/scripts/check-manual-page.sh" "$page" 2>&1) || rc=$?
  if [ "$rc" -eq 0 ]; then pass "$what: $verdict"; else fail "$what: $verdict"; fi
}

# Starts the program on the offscreen platform in a scratch folder (its
# settings file lands in the folder it starts in); still running after the
# time out (exit 124) means it started.
# A maker's library is found through LD_LIBRARY_PATH (or, with a third
# argument "system", where the system's loader is told to look).
run_program() {
  local what="$1" bin="$2" rc=0 library_path="$maker_libdir"
  [ "${3:-}" != system ] || library_path=""
  local cwd="$scratch/run-$checks"
  mkdir -p "$cwd"
  (cd "$cwd" && env LD_LIBRARY_PATH="$library_path" HOME="$cwd" QT_QPA_PLATFORM=offscreen \
    timeout -k 2 3 "$bin" >"$cwd.out" 2>&1) || rc=$?
  if [ "$rc" -eq 124 ]; then
    pass "$what: program started and was still running after 3 s"
  else
    fail "$what: program ended with $rc: $(head -c 300 "$cwd.out")"
  fi
}

# ---- the package's fields
info=$(dpkg-deb -I "$debpath")
depends=$(echo "$info" | sed -n 's/^ Depends: //p')
echo "Depends: $depends"
# The package names of Depends, one a line, without versions.
depends_names=$(echo "$depends" | tr ',|' '\n' | sed 's/^ *//; s/ .*//')
missing_qt=""
# Debian 13 renamed the libraries whose interface changed with the 64-bit
# time_t, such as libqt6core6 to libqt6core6t64: either name is that library.
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6 fonts-freefont-ttf; do
  grep -qx -e "$lib" -e "${lib}t64" <<<"$depends_names" || missing_qt+=" $lib"
done
if [ -z "$missing_qt" ]; then
  pass "Depends names Qt 6, the C/C++ runtime and the dialogs' font"
else
  fail "Depends lacks:$missing_qt"
fi
if grep -Eq 'kelm|tracker' <<<"$depends_names"; then
  fail "Depends names the package itself or its tracker library: $depends"
else
  pass "Depends names no library of the package itself"
fi
for field in "Package: kelm-utilities" "Version: $version" "Architecture: $arch" "Section: science" \
  "Maintainer: " "Description: Desktop launcher for a laser tracker"; do
  if grep -q "^ $field" <<<"$info"; then pass "field $field"; else fail "no field '$field'"; fi
done

# ---- lintian: any error or warning fails. Info and pedantic hints are shown
# too, to be read; they do not fail. Overrides, each with its reason, are in
# debian/kelm-utilities.lintian-overrides.
if [ "${KELM_PACKAGE_LINTIAN:-1}" = 0 ]; then
  echo "skipped: lintian on the package alone (KELM_PACKAGE_LINTIAN=0)"
else
  lint_rc=0
  lint_out=$(lintian --fail-on error,warning --display-info --pedantic "$debpath" 2>&1) || lint_rc=$?
  echo "lintian $(lintian --version | sed 's/^Lintian v//'), with info and pedantic hints:"
  echo "${lint_out:-(nothing to report)}" | sed 's/^/  /'
  if [ "$lint_rc" -eq 0 ] && ! grep -q '^[EW]: ' <<<"$lint_out"; then
    pass "lintian: no error, no warning"
  else
    fail "lintian ended with $lint_rc: $(echo "$lint_out" | grep -E '^[EW]: ' | head -5 | tr '\n' ';')"
  fi
fi

# ---- the package unpacked into a scratch root, then moved, so that nothing
# can come from where it was unpacked or built
dpkg -x "$debpath" "$scratch/unpacked"
mkdir -p "$scratch/elsewhere"
mv "$scratch/unpacked" "$scratch/elsewhere/root"
check_tree "unpacked" "$scratch/elsewhere/root" /usr

# ---- the AppStream entry, as the package has it: validated without the
# network (which would fetch the screenshots), pedantic hints shown, and
# anything above a pedantic hint fails. validate-tree also checks it against
# the package's tree: its desktop entry and icon are there.
# The entry names its developer with the <developer> element that AppStream
# 1.0 asks for; 0.16 (Debian 12) predates it and notes it as an unknown tag,
# the one note accepted there, as 1.0 notes the older <developer_name> as
# deprecated and no element satisfies both.
as_version=$(appstreamcli --version | sed 's/.*: //')
as_known_note='^I: [^ ]*: unknown-tag developer$'
case "$as_version" in 0.*) ;; *) as_known_note='^$' ;; esac
for as_command in validate validate-tree; do
  as_target="$scratch/elsewhere/root/usr/share/metainfo/$app_id.metainfo.xml"
  [ "$as_command" = validate ] || as_target="$scratch/elsewhere/root"
  as_rc=0
  as_out=$(appstreamcli "$as_command" --no-net --pedantic "$as_target" 2>&1) || as_rc=$?
  echo "appstreamcli $as_command $as_version:"
  echo "$as_out" | sed 's/^/  /'
  as_hints=$(echo "$as_out" | grep -E '^[EWI]: ' | grep -Ev "$as_known_note" || true)
  if [ "$as_rc" -eq 0 ] && [ -z "$as_hints" ]; then
    pass "AppStream entry: appstreamcli $as_command passes, with no error, warning or note"
  else
    fail "AppStream entry: appstreamcli $as_command ended with $as_rc: $(echo "$as_hints" | head -3 | tr '\n' ';')"
  fi
done

# ---- cmake --install into a prefix of its own, also moved
if [ -n "$build" ]; then
  cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
  mv "$scratch/prefix" "$scratch/prefix-moved"
  check_tree "cmake --install" "$scratch/prefix-moved" ""
fi

# ---- installed with apt-get, started from PATH, removed again

# man kelm-utilities finds the page where dpkg put it. A system whose dpkg
# leaves manual pages out (path-exclude, as in minimal images) installs no
# page: then that is said, and the page in the package, rendered with man -l
# above, is what was checked.
check_installed_manual_page() {
  local page=/usr/share/man/man1/kelm-utilities.1.gz excluded text
  excluded=$(grep -hs '^path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d/* || true)
  if [ -n "$excluded" ] && [ ! -e "$page" ]; then
    echo "skipped: man kelm-utilities: dpkg here installs no manual pages ($(echo "$excluded" | tr '\n' ' '))"
    return
  fi
  if [ "$(man -w kelm-utilities 2>&1)" = "$page" ] &&
    text=$(MANWIDTH=200 man kelm-utilities 2>&1) && grep -q 'KelmUtilitiesSerialize\.dat' <<<"$text"; then
    pass "installed: man kelm-utilities shows $page"
  else
    fail "installed: man kelm-utilities: $(man -w kelm-utilities 2>&1 | head -c 200)"
  fi
}

if [ "${KELM_PACKAGE_INSTALL:-1}" = 0 ]; then
  echo "skipped: installing with apt-get (KELM_PACKAGE_INSTALL=0)"
elif [ "$(id -u)" -ne 0 ]; then
  echo "skipped: installing with apt-get (not root)"
elif dpkg-query -W -f='${Status}' kelm-utilities 2>/dev/null | grep -q 'install ok installed'; then
  echo "skipped: installing with apt-get (kelm-utilities is installed already; left as it is)"
else
  if DEBIAN_FRONTEND=noninteractive apt-get install -y "$debpath"; then
    pass "apt-get install ./$deb"
    if [ "$(command -v kelm-utilities)" = /usr/bin/kelm-utilities ]; then
      pass "installed: kelm-utilities on PATH is /usr/bin/kelm-utilities"
      if [ -n "$maker_libdir" ]; then
        # As the manual page tells: the maker's folder named in
        # /etc/ld.so.conf.d/, then ldconfig; taken away again afterwards.
        loader_conf=/etc/ld.so.conf.d/kelm-utilities-package-test.conf
        echo "$maker_libdir" >"$loader_conf"
        ldconfig
        run_program "installed, the maker's library found through $loader_conf" kelm-utilities system
        rm -f "$loader_conf"
        ldconfig
      else
        run_program "installed" kelm-utilities
      fi
    else
      fail "installed: kelm-utilities on PATH is '$(command -v kelm-utilities || true)'"
    fi
    check_installed_manual_page
    if DEBIAN_FRONTEND=noninteractive apt-get purge -y kelm-utilities &&
      [ ! -e /usr/bin/kelm-utilities ]; then
      pass "apt-get purge kelm-utilities"
    else
      fail "apt-get purge kelm-utilities"
    fi
  else
    fail "apt-get install ./$deb"
  fi
fi

summary
