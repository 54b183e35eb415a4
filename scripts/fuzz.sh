#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the settings file fuzzer with Clang in build-fuzz/ and runs it for a
# bounded time on a scratch copy of the seed corpus.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
# Exits non-zero on any crash, leak, undefined behaviour, excess allocation or
# timeout; the input that caused it is left in build-fuzz/fuzz-run/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
case "$seconds" in
  '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac

# libFuzzer and the sanitizer runtimes come with Clang's runtime package;
# the unversioned one is the release's own, matching its default clang.
bash scripts/deps.sh run clang libclang-rt-dev

build=build-fuzz
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
CC=clang CXX=clang++ cmake -S . -B "$build" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DKELM_FUZZ=ON -DKELM_BUILD_TESTS=OFF -DKELM_BUILD_BENCHMARKS=OFF
targets=$(cmake --build "$build" --target help)
if ! grep -q settings_fuzzer <<<"$targets"; then
  echo "fuzz/ is not part of the build: the top-level CMakeLists.txt needs add_subdirectory(fuzz)" >&2
  exit 1
fi
cmake --build "$build" --target settings_fuzzer -j "$jobs"

run=$build/fuzz-run
rm -rf "$run"
mkdir -p "$run/corpus" "$run/artifacts" "$run/tmp"
cp fuzz/corpus/settings/* "$run/corpus/"

set +e
TMPDIR="$PWD/$run/tmp" \
ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" \
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
  "$build/fuzz/settings_fuzzer" \
  -max_total_time="$seconds" -max_len=4096 -malloc_limit_mb=1 -rss_limit_mb=1024 \
  -timeout=10 -print_final_stats=1 -artifact_prefix="$run/artifacts/" \
  "$run/corpus" 2>&1 | tee "$run/fuzz.log"
status=${PIPESTATUS[0]}
set -e

done_line=$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$run/fuzz.log" | tail -n 1 || true)
coverage=$(grep -E '^#[0-9]+[[:space:]]+DONE ' "$run/fuzz.log" | tail -n 1 |
  sed -E 's/.*(cov: [0-9]+ ft: [0-9]+ corp: [^ ]+).*/\1/' || true)
artifacts=$(ls -A "$run/artifacts")
if [ "$status" -ne 0 ] || [ -z "$done_line" ] || [ -n "$artifacts" ]; then
  echo "settings_fuzzer FAILED (exit $status); log: $run/fuzz.log; inputs in $run/artifacts/: ${artifacts:-none}" >&2
  exit 1
fi
echo "settings_fuzzer passed: $done_line; $coverage"
