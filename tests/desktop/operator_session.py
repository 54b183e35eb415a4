#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""An operator's short session, driven through the desktop's accessibility
service (AT-SPI) alone, as a screen reader user or a GUI test tool meets the
program: no key is pressed and no pointer moves.

Usage: operator_session.py PID PLATFORM
  PID       the running kelm-utilities process
  PLATFORM  "xcb" or "wayland": the display system the program must be on
or:    operator_session.py --trace FILE
  checks the tracker's trace the program wrote to its standard error

Connect, OK on the defaults, the caption "Disconnect (10)", Readiness Test,
Close, the Warning box with its text and buttons, OK, and the window gone.
Exits 0 when every step held, 1 with the failed step otherwise.
"""
import sys
import time

import pyatspi

APP_NAME = "kelm-utilities"
STILL_RUNNING = ("Application(s) are still running.\n"
                 "Do you really want to close all applications and disconnect?")
PLATFORM_LIBRARIES = {"xcb": "libQt6XcbQpa", "wayland": "libQt6WaylandClient"}


class StepFailed(Exception):
    pass


def log(text):
    print("  " + text, flush=True)


def wait_for(what, probe, timeout=10.0):
    """Polls probe() until it returns something true; the program answers
    on its own thread, so every look waits a little for it."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            found = probe()
        except Exception:  # an object that went away while it was read
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            raise StepFailed("timed out waiting for " + what)
        time.sleep(0.1)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == APP_NAME:
            return app
    return None


# Roles are compared by identity (Atspi.Role), never by their display names,
# which change between releases of at-spi2-core (BUTTON became
# "button").
DIALOG = pyatspi.ROLE_DIALOG
ALERT = pyatspi.ROLE_ALERT
BUTTON = pyatspi.ROLE_PUSH_BUTTON
TEXT = pyatspi.ROLE_TEXT
LABEL = pyatspi.ROLE_LABEL


def find(node, role, name=None):
    """The first object below node with the role (and name), depth first."""
    if node is None:
        return None
    if node.getRole() == role and (name is None or node.name == name):
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), role, name)
        if found is not None:
            return found
    return None


def window(role, name):
    app = application()
    if app is None:
        return None
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and child.getRole() == role and child.name == name:
            return child
    return None


def states(node):
    return {pyatspi.stateToString(s) for s in node.getState().getStates()}


def press(node, what):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            action.doAction(i)
            log("pressed " + what)
            return
    raise StepFailed(what + " offers no Press action")


def button_in(parent_role, parent_name, name):
    def probe():
        parent = window(parent_role, parent_name)
        button = find(parent, BUTTON, name)
        return button if button is not None and "sensitive" in states(button) else None
    return wait_for('"%s" in "%s"' % (name, parent_name), probe)


def check_platform(pid, platform):
    library = PLATFORM_LIBRARIES[platform]
    with open("/proc/%d/maps" % pid) as maps:
        if library not in maps.read():
            raise StepFailed("the program is not on %s: %s is not loaded" % (platform, library))
    log("the program draws through " + library)


def session(pid, platform):
    wait_for("the program on the accessibility bus", application, timeout=20.0)
    check_platform(pid, platform)
    main = wait_for('the main window "Kelm Utilities"',
                    lambda: window(DIALOG, "Kelm Utilities"))
    readiness = find(main, BUTTON, "Readiness Test")
    if readiness is None or "sensitive" in states(readiness):
        raise StepFailed("Readiness Test should be there and disabled before connecting")
    if readiness.description != ("Checks tracker status and performs initialization "
                                 "routine when ready"):
        raise StepFailed("Readiness Test's description is %r" % readiness.description)

    press(button_in(DIALOG, "Kelm Utilities", "Connect..."), "Connect...")
    connect = wait_for('"Connect to Tracker"', lambda: window(DIALOG, "Connect to Tracker"))
    octet = find(connect, TEXT, "IP address, part 4 of 4")
    if octet is None or octet.queryText().getText(0, -1) != "10":
        raise StepFailed('the fourth address part should read "10"')
    press(button_in(DIALOG, "Connect to Tracker", "OK"), "OK")

    disconnect = button_in(DIALOG, "Kelm Utilities", "Disconnect (10)")
    log('the Connect button reads "Disconnect (10)"')
    readiness = button_in(DIALOG, "Kelm Utilities", "Readiness Test")
    press(readiness, "Readiness Test")
    wait_for("Readiness Test disabled while it runs",
             lambda: "sensitive" not in states(find(window(DIALOG, "Kelm Utilities"),
                                                    BUTTON, "Readiness Test")))
    if disconnect is None:
        raise StepFailed("no Disconnect button")

    press(button_in(DIALOG, "Kelm Utilities", "Close"), "Close")
    alert = wait_for('the "Warning" box', lambda: window(ALERT, "Warning"))
    text = find(alert, LABEL, STILL_RUNNING)
    if text is None:
        raise StepFailed("the Warning box does not read %r" % STILL_RUNNING)
    log("the Warning box reads its question")
    if find(alert, BUTTON, "Cancel") is None:
        raise StepFailed("the Warning box has no Cancel button")
    press(button_in(ALERT, "Warning", "OK"), "OK in the Warning box")

    wait_for("the program to end", lambda: application() is None, timeout=15.0)
    log("the window is gone")


# What reached the simulated tracker, in this order (its events and anything
# else may come between). The units argument is the built-in one, since the
# program started where no settings file was; its degree sign is the
# Windows-1252 byte 0xB0.
EXPECTED_TRACE = [
    b'Tracker "TrackerLintel"',
    b'setBlocking true',
    b'connect "192.0.2.10" "user"',
    b'addApplicationListener',
    b'addBusyListener',
    b'availableApplications',
    b'startAsync',
    b'startApplicationFrame "ReadinessTest" '
    b'"-uLength=m,1,6 -uAngular=rad,1,6 -uPressure=mmHg,1,2 -uTemperature=\xb0C,1,3"',
    b'startedApplications',
    b'removeApplicationListener',
    b'removeBusyListener',
    b'stopApplicationFrame "ReadinessTest"',
    b'stopAsync',
    b'disconnect',
    b'~Tracker',
]


def trace_calls(path):
    """The tracker's calls in the trace the program wrote, in order."""
    with open(path, "rb") as f:
        return [line[len(b"[tracker] "):] for line in f.read().split(b"\n")
                if line.startswith(b"[tracker] ")]


def check_trace(path):
    calls = trace_calls(path)
    at = 0
    for call in calls:
        if at < len(EXPECTED_TRACE) and call == EXPECTED_TRACE[at]:
            at += 1
    if at < len(EXPECTED_TRACE):
        print("FAILED: the trace lacks %r after what came before; it holds:" % EXPECTED_TRACE[at])
        for call in calls:
            print("  " + call.decode("cp1252"))
        return 1
    if calls[-1] != b"~Tracker":
        print("FAILED: the tracker was called after it was deleted: %r" % calls[-1])
        return 1
    return 0


def run_session(walk, *args):
    """Walks a session: 0 when every step held, 1 with the failed step."""
    try:
        walk(*args)
    except StepFailed as failure:
        print("FAILED: " + str(failure), flush=True)
        return 1
    return 0


def main():
    if sys.argv[1] == "--trace":
        return check_trace(sys.argv[2])
    return run_session(session, int(sys.argv[1]), sys.argv[2])


if __name__ == "__main__":
    sys.exit(main())
