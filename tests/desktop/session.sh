# SPDX-License-Identifier: Apache-2.0
# Sourced by the scripts that run inside a private D-Bus session
# (in_session.sh, orca_in_session.sh): what each needs to start, and to
# stop again whatever it started. Set session_name (for messages) and work
# (a folder for logs) first.

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT
fail() {
  echo "FAILED ($session_name): $*" >&2
  exit 1
}

# Waits up to $1 seconds for a condition (the command after it) to hold.
await() {
  local tenths=$(($1 * 10))
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}

bus_owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}

# The accessibility bus, in this D-Bus session.
start_accessibility_bus() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/a11y.log" 2>&1 &
  pids+=($!)
  await 5 bus_owned || fail "the accessibility bus (at-spi-bus-launcher) did not start"
}

# An X display of its own (Xvfb), exported as DISPLAY. -noreset keeps the
# server from resetting when its last client leaves, which refuses whoever
# connects meanwhile. X servers listen on abstract sockets too, which a
# chroot shares with its host, so a display is free only when neither kind
# is taken.
start_x_display() {
  local display=${KELM_FIRST_DISPLAY:-40}
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] ||
    grep -q "@/tmp/.X11-unix/X$display\$" /proc/net/unix; do
    display=$((display + 1))
  done
  Xvfb ":$display" -noreset -nolisten tcp -screen 0 1024x768x24 >"$work/display.log" 2>&1 &
  pids+=($!)
  await 5 test -S "/tmp/.X11-unix/X$display" || fail "Xvfb did not start: $(cat "$work/display.log")"
  export DISPLAY=":$display"
  unset WAYLAND_DISPLAY
}

# A Wayland compositor of its own (Weston, headless), exported as
# WAYLAND_DISPLAY.
start_wayland_display() {
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  weston --backend=headless-backend.so --socket=wayland-kelm --idle-time=0 \
    >"$work/display.log" 2>&1 &
  pids+=($!)
  await 5 test -S "$XDG_RUNTIME_DIR/wayland-kelm" || fail "Weston did not start: $(cat "$work/display.log")"
  export WAYLAND_DISPLAY=wayland-kelm
  unset DISPLAY
}
