#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds everything and runs the whole test suite: the normal build, then an
# operator's session through the accessibility bus under X11 and Wayland,
# then the thread-sanitizer build for the tests that cross threads, then the whole
# suite again under the address, leak and undefined-behaviour sanitizers,
# then a minute of fuzzing the settings file reader, then the Debian package
# built and tested from its source package,
# then the program linked with a tracker library built and installed apart.
# Exits non-zero when anything fails. The same on Debian 12 and Debian 13.
set -euo pipefail
cd "$(dirname "$0")/.."

# What each stage took, so that the whole run's time can be kept in bounds.
started=$SECONDS
stage_started=$SECONDS
took() {
  echo "test: $1 took $((SECONDS - stage_started)) s"
  stage_started=$SECONDS
}

bash scripts/deps.sh test locales

# Names are compared the same way in every locale; the tests show it under a
# Turkish one, where the C library keeps "I" and "i" apart. Generated once.
if ! locale -a 2>/dev/null | grep -qix 'tr_TR\.utf-\?8'; then
  localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
fi

# Cheap checks first: formatting, and includes that cross a layer.
bash scripts/check-format.sh
bash scripts/check-layers.sh
took "installing and the cheap checks"

jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELM_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
took "the build and its tests"

# The program on real desktops, X11 and Wayland, driven through the
# accessibility bus as a screen reader would.
bash scripts/desktop-test.sh build/app/kelm-utilities
took "the desktop sessions"

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELM_WERROR=ON \
  -DKELM_SANITIZE=thread -DKELM_BUILD_BENCHMARKS=OFF
cmake --build build-tsan -j "$jobs" --target kelm_thread_tests
# Qt is not built with the thread sanitizer and its own mutexes are invisible
# to it, so accesses that Qt's code makes (its posted-event list, filled from
# the tracker's threads and the window thread alike) look unsynchronised.
# Those are ignored; every access our own code makes is still checked.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1" \
  ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L threads
took "the thread-sanitizer build and its tests"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELM_WERROR=ON \
  -DKELM_SANITIZE=address,undefined -DKELM_BUILD_BENCHMARKS=OFF
cmake --build build-asan -j "$jobs"
# The whole suite, dialogs and main window included; leaks are reported
# except those the suppressions file names (system libraries only).
ASAN_OPTIONS="detect_leaks=1" \
  LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp print_suppressions=0" \
  UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
took "the address-sanitizer build and its tests"

# The settings file reader under libFuzzer for a minute.
bash scripts/fuzz.sh 60
took "fuzzing"

# The Debian package, from its source package in a fresh root of this
# release: lintian on the source and binary packages, autopkgtest on the
# installed package, and (on Debian 12) reprotest.
bash scripts/package.sh
took "the Debian package"

# A tracker library that arrives on its own, as an instrument maker's does:
# the operator's session, the desktop session and the package on it.
bash scripts/maker-library-test.sh
took "the maker's library"
echo "test: all passed in $((SECONDS - started)) s"
