#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the program and starts it in the directory this script was called
# from, which is where its settings file lives.
set -euo pipefail
here=$(pwd)
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/deps.sh" run
cmake -S "$top" -B "$top/build-run" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKELM_BUILD_TESTS=OFF -DKELM_BUILD_BENCHMARKS=OFF
cmake --build "$top/build-run" -j "$(nproc)" --target kelm-utilities
cd "$here"
exec "$top/build-run/app/kelm-utilities"
