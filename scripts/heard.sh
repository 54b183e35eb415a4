#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Writes docs/heard.md: what Orca says on an operator's path through the
# program, key by key, beside what it says of a plain Qt dialog, as the
# pictures in docs/ show what a sighted operator sees. The same path the
# desktop session test walks and asserts on (tests/desktop/orca_session.py).
# Usage: scripts/heard.sh [FILE]   (default docs/heard.md; as root on Debian)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
out=$(realpath -m "${1:-$top/docs/heard.md}")
bash "$top/scripts/deps.sh" test xvfb at-spi2-core python3-pyatspi dbus orca xdotool procps
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELM_WERROR=ON
cmake --build "$top/build" -j "$(nproc)" --target kelm-utilities kelm-plain-qt-dialog
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dbus-run-session -- bash "$top/tests/desktop/orca_in_session.sh" \
  "$top/build/app/kelm-utilities" "$top/build/tests/desktop/baseline/kelm-plain-qt-dialog" \
  "$work/orca" "$out"
echo "heard: $out"
