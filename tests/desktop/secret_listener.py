#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Another program in the desktop session listening on the accessibility bus
while an operator types a password: it must learn none of its characters.

Usage: secret_listener.py PID WINDOW PLATFORM [--must-leak]
  PID       the running program (kelm-utilities or the plain Qt dialog)
  WINDOW    "program": opens Connect to Tracker, chooses the user "factory"
            (whose password is asked; under Wayland, the settings of an X11
            run chose it) and types into Password, then on X11 connects and
            ends the program, which saves that choice; "plain": the plain Qt
            dialog's password edit
  PLATFORM  "xcb": keys typed with xdotool, as an operator types them;
            "wayland": the text put in through the bus (no program may send
            keys to another there), one character at a time
  --must-leak  the dialog is known to leak (plain Qt): the run fails unless
            the listener hears a character, which shows that it can

Listens for every text change, caret move, selection change and property
change from any object while the password is typed and one character is
erased; then reads the password edit's text, name, value and selection as
any tool may. Exits 0 when nothing of the password was heard (or, with
--must-leak, when something was), 1 otherwise.
"""
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# libatspi's older names (get_action_name) are the ones Debian 12 has too.
warnings.simplefilter("ignore", DeprecationWarning)

PASSWORD = "qzx9w"
EVENTS = ["object:text-changed", "object:text-caret-moved", "object:text-selection-changed",
          "object:property-change", "object:value-changed"]


class Failed(Exception):
    pass


def pump(seconds):
    """Lets the listener's events arrive."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.02)


def wait_for(what, probe, timeout=15.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            found = probe()
        except GLib.Error:
            found = None
        if found:
            return found
        pump(0.1)
    raise Failed("timed out waiting for " + what)


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def find(node, role, name=None, depth=0):
    if node is None or depth > 12:
        return None
    if node.get_role() == role and (name is None or node.get_name() == name):
        return node
    for i in range(node.get_child_count()):
        found = find(node.get_child_at_index(i), role, name, depth + 1)
        if found is not None:
            return found
    return None


def sensitive(node):
    return node is not None and node.get_state_set().contains(Atspi.StateType.SENSITIVE)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "120"] + list(names), check=True)


def press(node):
    for i in range(Atspi.Action.get_n_actions(node)):
        if Atspi.Action.get_action_name(node, i) == "Press":
            Atspi.Action.do_action(node, i)
            return
    raise Failed("%s offers no Press action" % node.get_name())


def password_edit(pid, window, platform):
    """The password edit, enabled and focused, ready to be typed into."""
    app = wait_for("the program on the accessibility bus", lambda: application(pid), 20.0)
    if window == "plain":
        edit = wait_for("the password edit", lambda: find(app, Atspi.Role.PASSWORD_TEXT))
    else:
        connect = wait_for('"Connect..."', lambda: find(app, Atspi.Role.PUSH_BUTTON, "Connect..."))
        wait_for('"Connect..." enabled', lambda: sensitive(connect))
        press(connect)
        wait_for('"Connect to Tracker"',
                 lambda: find(application(pid), Atspi.Role.DIALOG, "Connect to Tracker"))
        if platform == "xcb":
            # The user list has the focus: "factory" is two down, and asks
            # for the password in the next control.
            time.sleep(0.5)
            keys("Down", "Down", "Tab")
        # Under Wayland the settings the X11 run saved chose "factory"
        # already.
        edit = wait_for("the password edit",
                        lambda: find(application(pid), Atspi.Role.PASSWORD_TEXT))
        wait_for("the password edit enabled", lambda: sensitive(edit))
    if platform == "xcb":
        # Keys go where the focus is. (A test cannot give a window the focus
        # under Wayland; the text goes in through the bus there.)
        Atspi.Component.grab_focus(edit)
        wait_for("the password edit focused",
                 lambda: edit.get_state_set().contains(Atspi.StateType.FOCUSED))
    return edit


def type_password(edit, platform):
    if platform == "xcb":
        keys(*PASSWORD)
        keys("BackSpace")
        return
    for at, character in enumerate(PASSWORD):
        Atspi.EditableText.insert_text(edit, at, character, 1)
        pump(0.15)
    Atspi.EditableText.delete_text(edit, len(PASSWORD) - 1, len(PASSWORD))


def connect_and_close(pid):
    """OK, connected, then Close and OK in the Warning box: the program
    ends, and saves the user chosen (never the password) for the next run."""
    app = application(pid)
    press(wait_for('"OK"', lambda: find(find(app, Atspi.Role.DIALOG, "Connect to Tracker"),
                                        Atspi.Role.PUSH_BUTTON, "OK")))
    wait_for('"Disconnect (10)"',
             lambda: find(application(pid), Atspi.Role.PUSH_BUTTON, "Disconnect (10)"))
    press(find(application(pid), Atspi.Role.PUSH_BUTTON, "Close"))
    # With no application running there is no Warning box to answer.
    ended_or_asked = wait_for("the program to end or ask", lambda: application(pid) is None or
                              find(application(pid), Atspi.Role.ALERT))
    if ended_or_asked is not True:
        press(wait_for('"OK" in the Warning box',
                       lambda: find(ended_or_asked, Atspi.Role.PUSH_BUTTON, "OK")))
        wait_for("the program to end", lambda: application(pid) is None)


def data_of(event):
    data = event.any_data
    if isinstance(data, Atspi.Accessible):
        try:
            return "%s (the object)" % data.get_name()
        except GLib.Error:
            return ""
    return "" if data is None else str(data)


def leaks(edit, heard):
    """What of the password reached the listener, or any tool that asks."""
    found = []
    for kind, source, data in heard:
        # A text change from anywhere must bring none of its characters;
        # anything else none of the password itself.
        if kind.startswith("object:text-changed") and any(c in data for c in PASSWORD):
            found.append("%s from %s: %r" % (kind, source, data))
        elif PASSWORD[:2] in data or PASSWORD[-2:] in data:
            found.append("%s from %s: %r" % (kind, source, data))
    shown = Atspi.Text.get_text(edit, 0, -1)
    if any(c in shown for c in PASSWORD):
        found.append("the edit's text reads %r" % shown)
    for i in range(Atspi.Text.get_n_selections(edit)):
        selection = Atspi.Text.get_selection(edit, i)
        picked = Atspi.Text.get_text(edit, selection.start_offset, selection.end_offset)
        if picked:
            found.append("the edit's selection reads %r" % picked)
    if PASSWORD[:-1] in (edit.get_name() or "") or PASSWORD[:-1] in (edit.get_description() or ""):
        found.append("the edit's name or description holds the password")
    if "Value" in edit.get_interfaces() and \
            PASSWORD[:-1] in str(Atspi.Value.get_current_value(edit)):
        found.append("the edit's value holds the password")
    return found


def main():
    pid, window, platform = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    must_leak = "--must-leak" in sys.argv[4:]
    heard = []

    def on_event(event):
        try:
            source = "%s %r" % (event.source.get_role_name(), event.source.get_name())
        except GLib.Error:
            source = "?"
        heard.append((event.type, source, data_of(event)))

    listener = Atspi.EventListener.new(on_event)
    for kind in EVENTS:
        listener.register(kind)
    try:
        edit = password_edit(pid, window, platform)
        # The program learns of the new listener over the bus: a moment.
        pump(1.0)
        heard.clear()
        type_password(edit, platform)
        pump(2.0)
        found = leaks(edit, heard)
        if platform == "xcb":
            # The keys went where the password goes: the edit takes the
            # next one, Tab, and gives the focus on.
            keys("Tab")
            wait_for("the focus to leave the password edit after Tab",
                     lambda: not edit.get_state_set().contains(Atspi.StateType.FOCUSED))
            if window == "program":
                connect_and_close(pid)
    except Failed as failure:
        print("FAILED: " + str(failure), flush=True)
        return 1
    texts = [h for h in heard if h[0].startswith("object:text-changed")]
    print("  %s on %s: %d events heard while typing, %d of them text changes" %
          (window, platform, len(heard), len(texts)), flush=True)
    for line in found:
        print("    heard: " + line, flush=True)
    if must_leak:
        if not found:
            print("FAILED: the listener heard nothing of a password known to leak: "
                  "it could not catch a leak", flush=True)
            return 1
        return 0
    if found:
        print("FAILED: the password reached the accessibility bus", flush=True)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
