#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""The window keeps answering while it waits: for the finder tool, open for
ten seconds, and for a connect to the switched-off instrument (192.0.2.20),
which fails after fifteen. Meanwhile the window manager's ping
(_NET_WM_PING) and a question over the accessibility bus are answered
within 100 ms, and the waiting window is busy; after, it is not. A close
request sent while the finder runs closes the window only after it.

Usage: answering_session.py PID      (on X11; the program's working
  directory holds a finder tool, jre/bin/javaw, that stays open 10 s)
or:    answering_session.py --trace FILE
Exits 0 when every step held, 1 with the failed step otherwise.
"""
import select
import sys
import time

import pyatspi
from Xlib import X, display, protocol

from operator_session import (DIALOG, TEXT, StepFailed, application, button_in, find, log,
                              press, run_session, states, trace_calls, wait_for, window)

PROMPT = 0.1  # seconds: the most an answer may take
COULD_NOT_CONNECT = ("The tracker could not be connected to.\n\nCheck that the IP address, "
                     "password, and type of tracker are set correctly.")


class Pinger:
    """The window manager's side of _NET_WM_PING, on the program's windows."""

    def __init__(self, pid):
        self.pid = pid
        self.x = display.Display()
        self.root = self.x.screen().root
        # The answer goes to the root window, to those who listen for its
        # structure: any client may.
        self.root.change_attributes(event_mask=X.StructureNotifyMask)
        self.x.sync()
        self.atom = {name: self.x.intern_atom(name)
                     for name in ("WM_PROTOCOLS", "_NET_WM_PING", "_NET_WM_PID", "WM_NAME")}

    def window(self, title):
        for w in self.root.query_tree().children:
            pid = w.get_full_property(self.atom["_NET_WM_PID"], X.AnyPropertyType)
            if pid is not None and pid.value[0] == self.pid and w.get_wm_name() == title:
                return w
        return None

    def close(self, title):
        """The window manager's close request (the title bar's close box)."""
        target = self.window(title)
        if target is None:
            raise StepFailed("no X window %r of the program" % title)
        target.send_event(protocol.event.ClientMessage(
            window=target, client_type=self.atom["WM_PROTOCOLS"],
            data=(32, [self.x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])),
            event_mask=0)
        self.x.flush()

    def ping(self, title):
        """Seconds until the window named title answered a ping."""
        target = self.window(title)
        if target is None:
            raise StepFailed("no X window %r of the program" % title)
        stamp = int(time.monotonic() * 1000) & 0xFFFFFFFF
        event = protocol.event.ClientMessage(
            window=target, client_type=self.atom["WM_PROTOCOLS"],
            data=(32, [self.atom["_NET_WM_PING"], stamp, target.id, 0, 0]))
        started = time.monotonic()
        target.send_event(event, event_mask=0)
        self.x.flush()
        while time.monotonic() - started < 2.0:
            select.select([self.x], [], [], 0.05)
            while self.x.pending_events():
                answer = self.x.next_event()
                if (answer.type == X.ClientMessage and answer.client_type == self.atom["WM_PROTOCOLS"]
                        and answer.data[1][0] == self.atom["_NET_WM_PING"]
                        and answer.data[1][1] == stamp):
                    return time.monotonic() - started
        raise StepFailed("the window %r did not answer a ping within 2 s" % title)


def answers_while_waiting(pinger, title, seconds):
    """Pings the waiting window and asks it over the accessibility bus, a few
    times over seconds, each answer within PROMPT; it must be busy."""
    deadline = time.monotonic() + seconds
    worst_ping = worst_question = 0.0
    rounds = 0
    while time.monotonic() < deadline:
        worst_ping = max(worst_ping, pinger.ping(title))
        started = time.monotonic()
        busy = "busy" in states(window(DIALOG, title))
        worst_question = max(worst_question, time.monotonic() - started)
        if not busy:
            raise StepFailed("%r is not busy while it waits" % title)
        rounds += 1
        time.sleep(0.5)
    log("%r answered %d pings and questions while it waited: the slowest ping %.0f ms, "
        "question %.0f ms" % (title, rounds, worst_ping * 1000, worst_question * 1000))
    if worst_ping > PROMPT or worst_question > PROMPT:
        raise StepFailed("%r answered too late while it waited" % title)


def not_busy(title):
    wait_for("%r no longer busy" % title,
             lambda: "busy" not in states(window(DIALOG, title)), timeout=20.0)
    log("%r is no longer busy" % title)


def session(pid):
    wait_for("the program on the accessibility bus", application, timeout=20.0)
    pinger = Pinger(pid)
    wait_for('the main window "Kelm Utilities"', lambda: window(DIALOG, "Kelm Utilities"))
    log("the main window answers a ping in %.0f ms" % (pinger.ping("Kelm Utilities") * 1000))

    press(button_in(DIALOG, "Kelm Utilities", "Connect..."), "Connect...")
    connect = wait_for('"Connect to Tracker"', lambda: window(DIALOG, "Connect to Tracker"))
    press(button_in(DIALOG, "Connect to Tracker", "Find Trackers..."), "Find Trackers...")
    wait_for("Connect to Tracker busy with the finder",
             lambda: "busy" in states(window(DIALOG, "Connect to Tracker")))
    answers_while_waiting(pinger, "Connect to Tracker", 7.0)
    # Closed while it waits: the request is held until the finder exits.
    pinger.close("Connect to Tracker")
    time.sleep(0.5)
    if window(DIALOG, "Connect to Tracker") is None:
        raise StepFailed("Connect to Tracker closed while it waited for the finder")
    wait_for("Connect to Tracker closed once the finder exited",
             lambda: window(DIALOG, "Connect to Tracker") is None, timeout=10.0)
    log("the close request, held while the finder ran, closed Connect to Tracker after it")

    press(button_in(DIALOG, "Kelm Utilities", "Connect..."), "Connect...")
    connect = wait_for('"Connect to Tracker"', lambda: window(DIALOG, "Connect to Tracker"))
    octet = find(connect, TEXT, "IP address, part 4 of 4")
    octet.queryEditableText().setTextContents("20")
    wait_for('the fourth address part to read "20"',
             lambda: octet.queryText().getText(0, -1) == "20")
    press(button_in(DIALOG, "Connect to Tracker", "OK"), "OK")
    wait_for("the main window busy connecting",
             lambda: "busy" in states(window(DIALOG, "Kelm Utilities")))
    answers_while_waiting(pinger, "Kelm Utilities", 12.0)
    box = wait_for("the failure's message box", lambda: window(pyatspi.ROLE_ALERT, "Kelm Utilities"),
                   timeout=10.0)
    if find(box, pyatspi.ROLE_LABEL, COULD_NOT_CONNECT) is None:
        raise StepFailed("the message box does not read %r" % COULD_NOT_CONNECT)
    log("the connect failed, and the message box says so")
    press(button_in(pyatspi.ROLE_ALERT, "Kelm Utilities", "OK"), "OK in the message box")
    not_busy("Kelm Utilities")
    press(button_in(DIALOG, "Kelm Utilities", "Close"), "Close")
    wait_for("the program to end", lambda: application() is None, timeout=15.0)
    log("the window is gone")


def check_trace(path):
    calls = trace_calls(path)
    if b'connect "192.0.2.20" "user" -> TrackerException' not in calls or calls[-1] != b"~Tracker":
        print("FAILED: the trace is not a failed connect to 192.0.2.20:", calls)
        return 1
    return 0


def main():
    if sys.argv[1] == "--trace":
        return check_trace(sys.argv[2])
    return run_session(session, int(sys.argv[1]))


if __name__ == "__main__":
    sys.exit(main())
