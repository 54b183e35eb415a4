#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The program linked with a tracker library that arrives on its own, as an
# instrument maker's does: the simulated library is built as a project of its
# own (tracker/sim) and installed into a prefix of its own; the program is
# configured against it with -DKELM_TRACKER_LIBRARY, with no file of the
# program changed. Then the operator's whole session (the end-to-end test),
# the operator's desktop session under X11 and Wayland (the password listener
# and Orca hear the same windows as in the normal build, and are not
# repeated), and the Debian package of that
# build (scripts/maker-package.sh), lintian-clean, whose program finds the
# library without any RPATH. Built in build-maker/ and build-pkg-maker/.
# Usage: scripts/maker-library-test.sh
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
bash scripts/deps.sh test
jobs=$(nproc)
work=$top/build-maker
prefix=$work/maker-prefix
rm -rf "$prefix"

# The maker's library, delivered: a shared library and its header.
cmake -S tracker/sim -B "$work/library" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib
cmake --build "$work/library" -j "$jobs"
cmake --install "$work/library"
library=$prefix/lib/libtracker.so
[ -f "$library" ] && [ -f "$prefix/include/tracker/Tracker.h" ] ||
  { echo "the library's project installed no lib/libtracker.so and include/tracker/Tracker.h" >&2; exit 1; }

cmake -S . -B "$work/program" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELM_WERROR=ON \
  -DKELM_BUILD_BENCHMARKS=OFF -DKELM_TRACKER_LIBRARY="$library"
cmake --build "$work/program" -j "$jobs" --target kelm-utilities operator_session \
  kelm-plain-qt-dialog
program=$work/program/app/kelm-utilities
# The program must take the library from the prefix, and none be built with it.
# ldd writes a line at a time: piped to grep -q, which leaves at its match, it
# could die of SIGPIPE and fail the pipeline under pipefail.
libraries=$(ldd "$program" 2>&1 || true)
if [ -e "$work/program/tracker/sim" ] || ! grep -q "libtracker\.so => $library " <<<"$libraries"; then
  echo "the program does not use $library: $(grep libtracker <<<"$libraries")" >&2
  exit 1
fi
echo "maker library: the program links $library"

ctest --test-dir "$work/program" --output-on-failure -R '^operator_session$'
KELM_DESKTOP_SESSIONS=operator bash scripts/desktop-test.sh "$program"

bash scripts/maker-package.sh "$library"
echo "maker library: passed"
