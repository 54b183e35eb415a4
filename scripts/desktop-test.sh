#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The program on a real desktop: an operator's session driven through the
# accessibility bus alone (tests/desktop/operator_session.py), once under
# X11 (Xvfb) and once under Wayland (Weston's headless backend), each in a
# private D-Bus session. Usage: scripts/desktop-test.sh [PROGRAM]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/app/kelm-utilities}")
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
bash scripts/deps.sh test xvfb weston qt6-wayland at-spi2-core python3-pyatspi dbus

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for platform in xcb wayland; do
  dbus-run-session -- bash tests/desktop/in_session.sh "$program" "$platform" "$work/$platform"
done
