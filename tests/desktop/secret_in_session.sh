#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Runs inside a private D-Bus session (dbus-run-session): starts the
# accessibility bus and one display server, then lets secret_listener.py
# listen on the bus while a password is typed, first into the plain Qt
# dialog (which must be heard leaking: the listener can catch a leak), then
# into the program (which must leak nothing). The X11 run ends by
# connecting, so that the program saves the user chosen, whose settings the
# Wayland run starts it with: no test may send keys under Wayland.
# Usage: secret_in_session.sh PROGRAM PLAIN_QT_DIALOG xcb|wayland WORKDIR [SETTINGS]
#   SETTINGS: the settings file the X11 run's program saved (the user
#   "factory" chosen), which the Wayland run starts the program with.
set -euo pipefail
program=$(realpath "$1")
plain=$(realpath "$2")
platform=$3
work=$4
settings=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/program" "$work/plain"
session_name="password, $platform"
# shellcheck source=tests/desktop/session.sh
. "$here/session.sh"

start_accessibility_bus
case $platform in
  xcb) start_x_display ;;
  wayland) start_wayland_display ;;
  *) fail "unknown display system" ;;
esac
export QT_QPA_PLATFORM=$platform QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# listen WINDOW BINARY [--must-leak]
listen() {
  local window=$1 binary=$2
  shift 2
  (cd "$work/$window" && exec "$binary") 2>"$work/$window/stderr.txt" &
  local app=$!
  pids+=("$app")
  local status=0
  timeout 60 /usr/bin/python3 "$here/secret_listener.py" "$app" "$window" "$platform" "$@" ||
    status=$?
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  return "$status"
}

listen plain "$plain" --must-leak || fail "the listener did not hear the plain Qt dialog's password leak"
if [ "$platform" = xcb ]; then
  listen program "$program" || fail "the program's password run failed (above)"
elif [ -s "$settings" ]; then
  cp "$settings" "$work/program/"
  listen program "$program" || fail "the program's password run failed (above)"
else
  # The program asks for a password once a user who has one is chosen,
  # with keys no test may send under Wayland, or by the settings of an X11
  # run.
  fail "no settings of an X11 run to start the program with"
fi
echo "password on the bus ($platform): passed"
