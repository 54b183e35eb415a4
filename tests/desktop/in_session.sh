#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Runs inside a private D-Bus session (dbus-run-session): starts the
# accessibility bus and one display server, starts the program on it, lets
# operator_session.py (or SESSION) work it through AT-SPI, and checks how it
# ended.
# Usage: in_session.sh PROGRAM xcb|wayland WORKDIR [SESSION]
#   SESSION answering_session.py: the window answering while it waits, with
#   a finder tool in the working directory that stays open for 10 s.
set -euo pipefail
program=$1
platform=$2
work=$3
script=${4:-operator_session.py}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/cwd"
if [ "$script" = answering_session.py ]; then
  mkdir -p "$work/cwd/jre/bin"
  printf '#!/bin/sh\nsleep 10\n' >"$work/cwd/jre/bin/javaw"
  chmod +x "$work/cwd/jre/bin/javaw"
fi
trace="$work/trace.txt"
session_name=$platform
# shellcheck source=tests/desktop/session.sh
. "$here/session.sh"

start_accessibility_bus

case $platform in
  xcb)
    start_x_display
    ;;
  wayland)
    start_wayland_display
    ;;
  *) fail "unknown display system" ;;
esac

export QT_QPA_PLATFORM=$platform QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
(cd "$work/cwd" && exec "$program") 2>"$trace" &
app=$!
pids+=("$app")

status=0
timeout 60 /usr/bin/python3 "$here/$script" "$app" "$platform" || status=$?

if grep -q 'could not connect to display\|Failed to create wl_display' "$trace"; then
  fail "the display server refused the program's connection; its own words: $(grep -m1 'connect to display\|wl_display' "$trace")"
fi
[ "$status" = 0 ] || fail "the operator's session stopped; the program's standard error:
$(cat "$trace")"

# The operator ended it: the program must be on its way out by itself.
await 5 bash -c "! kill -0 $app 2>/dev/null" || fail "the program did not end after its last window closed"
wait "$app" || fail "the program ended with status $?"
/usr/bin/python3 "$here/$script" --trace "$trace" || fail "the trace is not the session's"
if [ "$script" = operator_session.py ]; then
  [ -s "$work/cwd/KelmUtilitiesSerialize.dat" ] || fail "the connection choices were not saved"
fi
echo "desktop session ($platform, $script): passed"
