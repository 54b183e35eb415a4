#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# What a blind operator hears: runs inside a private D-Bus session
# (dbus-run-session), starts the accessibility bus, Xvfb, Debian's Orca
# (its speech goes to its debug log, no audio device needed) and the
# program, presses an operator's keys with xdotool and waits, each time, for
# what Orca must say. Usage: orca_session.sh PROGRAM WORKDIR [TRANSCRIPT]
# TRANSCRIPT, when given, receives what was heard, key by key (Markdown).
set -euo pipefail
program=$1
work=$2
transcript=${3:-}
mkdir -p "$work/home" "$work/cwd" "$work/runtime"
chmod 700 "$work/runtime"
# Orca keeps its settings under a home of its own: a fresh one each run.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/runtime"
log="$work/orca.log"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT
fail() {
  echo "FAILED (Orca): $*" >&2
  echo "Orca said:" >&2
  spoken >&2 || true
  exit 1
}

# Waits up to ten seconds (or $patience tenths) for a condition (a command)
# to hold.
await() {
  for _ in $(seq "${patience:-100}"); do "$@" && return 0; sleep 0.1; done
  return 1
}
bus_owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}
# Every utterance so far, one a line.
spoken() {
  grep -a 'SPEECH OUTPUT:' "$log" 2>/dev/null |
    sed -E -e "s/^.*SPEECH OUTPUT: '//" -e "s/'[[:space:]]*([{[].*)?\$//" -e 's/[[:space:]]*$//'
}
heard_after() { spoken | tail -n +"$(($1 + 1))" | grep -qxF -- "$2"; }

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/a11y.log" 2>&1 &
pids+=($!)
await bus_owned || fail "the accessibility bus did not start"

display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] ||
  grep -q "@/tmp/.X11-unix/X$display\$" /proc/net/unix; do
  display=$((display + 1))
done
Xvfb ":$display" -noreset -nolisten tcp -screen 0 1024x768x24 >"$work/display.log" 2>&1 &
pids+=($!)
await test -S "/tmp/.X11-unix/X$display" || fail "Xvfb did not start"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY

orca --replace --debug-file="$log" >"$work/orca.out" 2>&1 &
pids+=($!)
# No speech server is started (it may refuse to start without an audio
# device): what Orca would say still goes to its log. Allow it a minute.
orca_ready() { grep -aq 'Startup complete' "$log" 2>/dev/null; }
patience=600 await orca_ready || fail "Orca did not start: $(tail -5 "$work/orca.out")"

(cd "$work/cwd" && exec "$program") 2>"$work/trace.txt" &
pids+=($!)
await heard_after 0 "Kelm Utilities dialog." || fail "the main window was not announced"

[ -z "$transcript" ] || : >"$transcript"
record() { [ -z "$transcript" ] || printf '%s\n' "$@" >>"$transcript"; }

# Presses keys (xdotool names), then waits for each utterance given, in any
# order, among what Orca says after the press.
press() {
  local keys=$1
  shift
  local before
  before=$(spoken | wc -l)
  # shellcheck disable=SC2086
  xdotool key --delay 50 $keys
  for expected in "$@"; do
    await heard_after "$before" "$expected" || fail "after $keys, Orca did not say \"$expected\""
  done
  # What else is said in the moment after: for the transcript.
  sleep 0.5
  record "- **$keys**" "$(spoken | tail -n +"$((before + 1))" | grep -vxF -e "$(echo "$keys" | sed 's/+/ /')" | sed 's/^/  - /')"
}

record "### Connect to Tracker"
press alt+n "Connect to Tracker dialog." "User Name combo box." "user."
press Down "admin"
press Down "factory"
press "Up Up" "user"
press Tab "Password password text."
press Tab "Kelm." "selected radio button"
press Tab "IP address, part 1 of 4 text." "192 selected."
press Tab "IP address, part 2 of 4 text." "0 selected."
press Tab "IP address, part 3 of 4 text." "2 selected."
press Tab "IP address, part 4 of 4 text." "10 selected."
press Escape "Kelm Utilities dialog."

record "" "### Select Units"
xdotool search --name '^Kelm Utilities$' windowfocus --sync >/dev/null 2>&1 || true
press alt+u "Length combo box." "meters."
press Down "feet"
press Tab "Length precision text." "6 selected."
press Up "7"
press Down "6"
press "Tab" "Angle combo box." "degrees."
press Escape "Kelm Utilities dialog."
echo "desktop session (Orca): passed"
