#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the benchmarks (Release, in build-bench), runs them and writes
# BENCHMARKS.md at the top of the repository from this one run.
# Usage: scripts/bench.sh          (as root on a fresh Debian 12 machine too)
# The machine may be shared: at most two compile jobs, and every figure that
# has a target is a ratio to a baseline measured in the same run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/deps.sh test

build="$root/build-bench"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELM_BUILD_TESTS=OFF \
  -DKELM_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target bench_program_startup bench_baseline_dialog_startup \
  bench_window_events bench_startup bench_window_startup bench_tracker_events bench_endurance \
  bench_tracker_call

python3 bench/run_benchmarks.py --build "$build" --work "$build/benchrun" --out "$root/BENCHMARKS.md"
