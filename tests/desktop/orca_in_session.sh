#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Runs inside a private D-Bus session (dbus-run-session): starts the
# accessibility bus, an X display and Debian's Orca, then lets
# orca_session.py walk the plain Qt dialog and the program with the keyboard
# and check what Orca says.
# Usage: orca_in_session.sh PROGRAM PLAIN_QT_DIALOG WORKDIR [TRANSCRIPT]
#    or: orca_in_session.sh PROGRAM --german WORKDIR
#        (the program alone in a German desktop session, in an Orca of its own)
set -euo pipefail
program=$(realpath "$1")
plain=$2
[ "$plain" = --german ] || plain=$(realpath "$plain")
work=$(realpath "$3")
transcript=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
# Orca keeps its settings in the home it finds: a fresh one each run, so
# that nothing of a person's own settings changes what is heard.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/runtime"
# No speech server: Orca would start speech-dispatcher, which gives up
# without an audio device and, started twice, keeps Orca waiting. Orca then
# says everything to its debug log alone, which is what is checked.
export SPEECHD_CMD=/bin/false
log="$work/orca.log"
session_name=Orca
# shellcheck source=tests/desktop/session.sh
. "$here/session.sh"

# Orca runs once per user, whatever the session: a screen reader already
# running (a person's own, or another test's) keeps this one from starting.
if pgrep -u "$(id -u)" -x orca >/dev/null; then
  fail "Orca already runs for this user (pid $(pgrep -u "$(id -u)" -x orca | tr '\n' ' ')); \
Orca starts only once per user, so this check needs it stopped, or another user"
fi

start_accessibility_bus
start_x_display

# Orca's debug log, written line by line (orca_shim/sitecustomize.py).
KELM_ORCA_LOG=$(realpath "$log") PYTHONPATH="$here/orca_shim" \
  orca --debug-file="$log" >"$work/orca.out" 2>&1 &
pids+=($!)
# Orca says so when it is ready to listen.
orca_ready() { grep -aq "SPEECH OUTPUT: 'Screen reader on" "$log" 2>/dev/null; }
await 120 orca_ready || fail "Orca did not start: $(tail -5 "$work/orca.out")"

if [ "$plain" = --german ]; then
  /usr/bin/python3 "$here/orca_session.py" --german "$log" "$program" "$work" ||
    fail "what Orca said in German is not what an operator must hear (Orca's log: $log)"
else
  /usr/bin/python3 "$here/orca_session.py" "$log" "$program" "$plain" "$work" ${transcript:+"$transcript"} ||
    fail "what Orca said is not what an operator must hear (Orca's log: $log)"
fi
echo "desktop session (Orca): passed"
