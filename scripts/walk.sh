#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# One random operator walk through the main window (tests/walk/), of any
# length and seed, in a scratch directory of its own. A failure prints the
# seed, what broke and every step taken; exits non-zero then.
# Usage: scripts/walk.sh SEED STEPS
#   KELM_WALK_LOG=1 prints the steps of a walk that passed too.
#   KELM_WALK_BUILD=DIR walks the build in DIR (e.g. build-asan, as configured
#   by scripts/test.sh) instead of configuring and building build/.
set -euo pipefail
if [ $# -ne 2 ] || ! [[ $1 =~ ^[0-9]+$ ]] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SEED STEPS (whole numbers)" >&2
  exit 2
fi
seed=$1
steps=$2
top="$(cd "$(dirname "$0")/.." && pwd)"

if [ -n "${KELM_WALK_BUILD:-}" ]; then
  build="$(cd "$KELM_WALK_BUILD" && pwd)"
else
  bash "$top/scripts/deps.sh" test
  build="$top/build"
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELM_WERROR=ON >/dev/null
fi
cmake --build "$build" -j2 --target operator_walk

# The sanitizers' settings of scripts/test.sh, for a sanitizer build.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$top/tests/sanitizers/lsan.supp print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1 print_stacktrace=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1}"

# The program keeps its settings file in its start-up directory.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 KELM_WALK_SEED="$seed" KELM_WALK_STEPS="$steps" \
  "$build/tests/walk/operator_walk" --gtest_filter='Seeds/*' --gtest_brief=1
