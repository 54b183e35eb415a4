#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The program on a real desktop: an operator's session driven through the
# accessibility bus alone (tests/desktop/operator_session.py), once under
# X11 (Xvfb) and once under Wayland (Weston's headless backend), each in a
# private D-Bus session; on each, another program listening on the
# accessibility bus while a password is typed must hear none of it
# (tests/desktop/secret_listener.py). Then, on X11, what a blind operator hears: the
# operator's path through all five windows with the keyboard alone (xdotool)
# while Debian's Orca runs, what it says checked at every step and compared
# with what it says of a plain Qt dialog (tests/desktop/orca_session.py).
# Usage: scripts/desktop-test.sh [PROGRAM [PLAIN_QT_DIALOG [TRANSCRIPT]]]
#   PLAIN_QT_DIALOG defaults to the one built beside PROGRAM;
#   TRANSCRIPT, when given, receives what Orca said (Markdown).
#   KELM_DESKTOP_SESSIONS=operator runs the operator's sessions alone, for a
#   second build of the same windows (another tracker library): the password
#   listener and Orca hear the windows, which that build does not change.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/app/kelm-utilities}")
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
plain=$(realpath -m "${2:-$(dirname "$program")/../tests/desktop/baseline/kelm-plain-qt-dialog}")
[ -x "$plain" ] || { echo "no plain Qt dialog at $plain: build kelm-plain-qt-dialog first" >&2; exit 1; }
transcript=${3:+$(realpath -m "$3")}
bash scripts/deps.sh test xvfb weston qt6-wayland at-spi2-core python3-pyatspi python3-xlib dbus orca xdotool procps

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sessions=${KELM_DESKTOP_SESSIONS:-all}
for platform in xcb wayland; do
  dbus-run-session -- bash tests/desktop/in_session.sh "$program" "$platform" "$work/$platform"
  [ "$sessions" = operator ] && continue
  dbus-run-session -- bash tests/desktop/secret_in_session.sh "$program" "$plain" "$platform" \
    "$work/password-$platform" "$work/password-xcb/program/KelmUtilitiesSerialize.dat"
done
[ "$sessions" = operator ] && exit 0
# The window answering the window manager's ping and the accessibility bus
# while it waits for the finder tool and for a switched-off tracker.
dbus-run-session -- bash tests/desktop/in_session.sh "$program" xcb "$work/answering" \
  answering_session.py
dbus-run-session -- bash tests/desktop/orca_in_session.sh "$program" "$plain" "$work/orca" \
  ${transcript:+"$transcript"}
# Once more in German, in an Orca of its own.
dbus-run-session -- bash tests/desktop/orca_in_session.sh "$program" --german "$work/orca-de"
