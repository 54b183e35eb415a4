#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""What a blind operator hears: an operator's path through all five windows,
walked with the keyboard alone (xdotool) while Orca runs, asserting on what
Orca says (its debug log records every "SPEECH OUTPUT"). First a plain Qt
dialog with the same kinds of controls walks the same kinds of steps: on
every step both have, the program must say at least what plain Qt says.
A step lasts from its key until its expected speech, and keeps what Orca
says after that until the next key; the log is read on from where the last
read stopped. Orca's key echo stays on: nothing of a typed password may be
said until the next step's expected speech, and a stepped value is said
exactly once.

Usage: orca_session.py ORCA_LOG PROGRAM PLAIN_QT_DIALOG WORKDIR [TRANSCRIPT]
   or: orca_session.py --german ORCA_LOG PROGRAM WORKDIR
       (the program alone, in a German desktop session: the names heard)
Runs inside the session tests/desktop/orca_in_session.sh prepares (the
accessibility bus, an X display, Orca). TRANSCRIPT, when given, receives
what was heard, key by key, as Markdown. Exits 0 when every step held.
"""
import os
import re
import subprocess
import sys
import time

# How long one step may take to be spoken; how long a plain Qt step that
# some releases say nothing at is waited for.
STEP_TIMEOUT = 20.0
OPTIONAL_TIMEOUT = 4.0
# Before the next key, Orca must have finished the events that came with
# the step (a spin box's text selected on focus, in Orca 48): read on a key
# pressed before that, it says a spin box's old value for its new one. An
# operator's pause is a fixed time, which a loaded machine outlasts, so the
# next key waits until Orca has written nothing to its log for QUIET
# seconds (at most SETTLE_LIMIT). What it says meanwhile is still the step's.
QUIET = 0.5
SETTLE_LIMIT = 10.0
# KELM_ORCA_EXPLORE=1 walks on past what was not said, to see all of it.
EXPLORE = os.environ.get("KELM_ORCA_EXPLORE") == "1"
if EXPLORE:
    STEP_TIMEOUT = 5.0
# What the operator types into the password: none of it may be spoken.
PASSWORD = "qzx9w"


class StepFailed(Exception):
    pass


class Orca:
    """What Orca has said, read from its debug log as it grows: each read
    starts where the last one stopped."""

    # SPEECH OUTPUT: 'what is said' followed by its voice, {...} or [{...}];
    # what is said may run over several lines (a message box's question).
    PATTERN = re.compile(rb"SPEECH OUTPUT: '(.*?)'\s*(?:\{|\[\{)", re.DOTALL)

    def __init__(self, log):
        self.log = log
        self.offset = 0
        self.pending = b""  # the start of an utterance not yet written in full
        self.said = []  # every utterance so far
        self.mark = 0  # where the current step's speech starts
        self.done = 0  # where its expected speech was complete

    def read(self):
        try:
            with open(self.log, "rb") as f:
                f.seek(self.offset)
                data = f.read()
        except FileNotFoundError:
            return
        self.offset += len(data)
        data = self.pending + data
        end = 0
        for found in self.PATTERN.finditer(data):
            self.said.append(" ".join(found.group(1).decode("utf-8", "replace").split()))
            end = found.end()
        rest = data[end:]
        start = rest.rfind(b"SPEECH OUTPUT:")
        self.pending = rest[start:] if start >= 0 else rest[-32:]

    def settle(self):
        """Waits until Orca's log has stopped growing for QUIET seconds:
        Orca has handled all that came before, and logs every event it
        handles."""
        deadline = time.monotonic() + SETTLE_LIMIT
        size, quiet_since = -1, time.monotonic()
        while time.monotonic() < deadline:
            try:
                now = os.path.getsize(self.log)
            except OSError:
                now = 0
            if now != size:
                size, quiet_since = now, time.monotonic()
            elif time.monotonic() - quiet_since >= QUIET:
                return
            time.sleep(0.05)

    def since_mark(self):
        self.read()
        return self.said[self.mark:]

    def skip_to_now(self):
        """What was said so far belongs to no step."""
        self.read()
        self.mark = self.done = len(self.said)

    def start_step(self):
        """A key is about to be pressed: what is said from now on is its."""
        self.read()
        self.mark = len(self.said)
        return self.mark

    def wait(self, what, expected, timeout=STEP_TIMEOUT, optional=False):
        """Waits until each expected text (or compiled pattern) has been
        said since the mark, and no longer: the step is over then (what Orca
        says after it, before the next key, is the step's still). Gives the
        step's utterances so far; an optional step not heard in time gives
        all said so far."""
        deadline = time.monotonic() + timeout
        while True:
            said = self.since_mark()
            end = completed_at(expected, said)
            if end is not None:
                break
            if time.monotonic() > deadline:
                if optional or EXPLORE:
                    if not optional:
                        print("  (missing: %s)" % " and ".join(show(m) for m in expected
                                                               if not heard(m, said)))
                    end = len(said)
                    break
                raise StepFailed("%s: Orca did not say %s; it said %r" %
                                 (what, " and ".join(show(m) for m in expected
                                                     if not heard(m, said)), said))
            time.sleep(0.1)
        self.done = self.mark + end
        return said[:end]


def completed_at(expected, said):
    """How many of the utterances it takes to have said all expected."""
    for count in range(len(said) + 1):
        if all(heard(e, said[:count]) for e in expected):
            return count
    return None


def plain_words(text):
    """What was said, as words: Orca's releases phrase the same speech
    differently (Orca 43 says "OK push button." where Orca 48 says "OK
    button.", and splits or joins utterances otherwise), so punctuation at
    the ends of words and the word "push" are left out."""
    text = re.sub(r"\bpush button\b", "button", text)
    text = re.sub(r"[.:]+(?=\s|$)", "", text)
    return " ".join(text.split())


def heard(expected, said):
    """True when expected (a text, or a compiled pattern) was said, within
    one utterance or across the utterances of a step."""
    whole = plain_words(" ".join(said))
    if isinstance(expected, str):
        return (" " + plain_words(expected) + " ") in (" " + whole + " ")
    return expected.search(whole) is not None


def show(expected):
    return '"%s"' % (expected if isinstance(expected, str) else expected.pattern)


def key_echo(keys):
    """Orca echoes the keys it sees ("tab", "left alt", "n"): not part of
    what a control says."""
    words = set()
    for combo in keys.split():
        for key in combo.lower().split("+"):
            words.update({key, "left " + key, "right " + key})
    words.update({"return", "escape", "down", "up", "tab", "left shift", "shift", "f10",
                  "backspace"})
    return words


def spoken_characters(text, secret):
    """The characters of secret said as characters (or runs of them) in
    text."""
    found = [c for c in set(secret.lower())
             if re.search(r"(?<![a-z0-9])%s(?![a-z0-9])" % re.escape(c), text.lower())]
    found += [secret[i:i + 2] for i in range(len(secret) - 1)
              if secret[i:i + 2].lower() in text.lower().replace(" ", "")]
    return sorted(set(found))


def times_said(value, text):
    return len(re.findall(r"(?<![\w.])%s(?![\w])" % re.escape(value), text))


class Walk:
    def __init__(self, orca, work):
        self.orca = orca
        self.work = work
        self.steps = []  # [window, keys, utterances, the step's name, its key echo]
        # Checks on all that is said from a step's start until the next
        # step's expected speech: (where it starts, check, what it is).
        self.checks = []
        self.findings = []
        self.tail = 0  # where the speech no step has claimed starts

    def record(self, window, keys, said, step=None, echo=frozenset()):
        said = [s for s in said if s.lower() not in echo]
        self.steps.append([window, keys, said, step, echo])
        self.tail = self.orca.done
        print("  %-20s %-14s %s" % (window, keys, " | ".join(said)), flush=True)

    def claim_tail(self):
        """What Orca said after the last step's expected speech, up to now
        (the next key), is the last step's too."""
        self.orca.read()
        if self.steps:
            last = self.steps[-1]
            more = [s for s in self.orca.said[self.tail:] if s.lower() not in last[4]]
            if more:
                last[2].extend(more)
                print("  %-20s %-14s + %s" % ("", "", " | ".join(more)), flush=True)
        self.tail = len(self.orca.said)

    def settle_checks(self):
        """Runs the checks of the earlier steps, on all said from their start
        until this step's expected speech."""
        pending, self.checks = self.checks, []
        for begin, check in pending:
            failure = check(" . ".join(self.orca.said[begin:self.orca.done]))
            if failure:
                self.findings.append(failure)

    def launch(self, window, argv, expected, step=None, language=None):
        """Starts a program in a folder of its own and waits for what Orca
        says of its first window; language: the desktop's language
        (LANGUAGE, and LANG for it), which Orca itself does not take."""
        cwd = os.path.join(self.work, os.path.basename(argv[0]))
        os.makedirs(cwd, exist_ok=True)
        self.claim_tail()
        self.orca.skip_to_now()
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        if language:
            env.update(LANGUAGE=language, LANG=language + "_DE.UTF-8")
        with open(os.path.join(cwd, "stderr.txt"), "wb") as trace:
            process = subprocess.Popen(argv, cwd=cwd, env=env, stderr=trace,
                                       stdout=subprocess.DEVNULL)
        self.record(window, "(starts)", self.orca.wait(window + " starting", expected), step)
        return process

    def press(self, window, keys, expected, step=None, optional=False, once=None, secret=None,
              never=()):
        """Presses keys (xdotool names) and waits for the expected
        utterances; records the step under its window. once: a value that
        must be said exactly once, secret: characters none of which may be
        said, never: texts (or compiled patterns) that may not be said, all
        from here until the next step's expected speech."""
        self.orca.settle()
        self.claim_tail()
        start = self.orca.start_step()
        subprocess.run(["xdotool", "key", "--delay", "80"] + keys.split(), check=True)
        said = self.orca.wait("%s, %s" % (window, keys), expected,
                              OPTIONAL_TIMEOUT if optional else STEP_TIMEOUT, optional)
        self.settle_checks()
        where = "%s, %s" % (window, step or keys)
        if once is not None:
            self.checks.append((start, lambda text: None if times_said(once, text) == 1 else
                                "%s: %r should be said once; it was said %d times in %r"
                                % (where, once, times_said(once, text), text)))
        for text in never:
            self.checks.append((start, lambda said, text=text: None if not heard(text, [said])
                                else "%s: %s should not be said; it was, in %r"
                                % (where, show(text), said)))
        if secret is not None:
            self.checks.append((start, lambda text: None if not spoken_characters(text, secret)
                                else "%s: the password's %s spoken in %r"
                                % (where, " and ".join(spoken_characters(text, secret)), text)))
        # Orca does not echo a password's keys (it hides them): whatever of
        # them is said came from the edit, and stays in the record.
        echo = key_echo(keys if step != "password typed" else "BackSpace")
        self.record(window, keys, said, step, echo)
        return self.steps[-1][2]

    def finish(self):
        """The last step's speech, and the checks still open on all said
        since."""
        time.sleep(1.0)
        self.claim_tail()
        self.orca.done = len(self.orca.said)
        self.settle_checks()
        return self.findings

    def step(self, name):
        for window, keys, said, step, _ in self.steps:
            if step == name:
                return said
        raise StepFailed("no step %s was walked" % name)


def focus_main_window(walk, expected, within=None):
    """Without a window manager nothing gives the keyboard back to the main
    window when a dialog closes, as a desktop's window manager does: the
    test gives it, and Orca announces the window and its focused button.
    within: the most seconds Orca may take to announce the window, while
    it waits for the tracker."""
    walk.claim_tail()
    walk.orca.start_step()
    started = time.monotonic()
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Kelm Utilities$",
                    "windowfocus", "--sync"], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=15)
    if within is not None:
        walk.orca.wait("the main window while it waits", ["Kelm Utilities dialog."])
        took = time.monotonic() - started
        print("  Orca announced the waiting main window in %.1f s" % took, flush=True)
        if took > within:
            raise StepFailed("Orca announced the main window %.1f s after it had the focus, "
                             "while it waited for the tracker: held up" % took)
    said = walk.orca.wait("the main window again", ["Kelm Utilities dialog."] + expected)
    walk.settle_checks()
    walk.record("Kelm Utilities", "(focus back)", said)


P = re.compile

# What Orca 43 says when text it took for selected goes: never the news of
# a new choice in a drop-down list.
SELECTION_DELETED = P(r"(?i)\bselection deleted\b")


def choose(walk, window, key, choice, before, step=None):
    """A new choice in a drop-down list: said once, and neither the choice
    it replaced nor its deletion."""
    walk.press(window, key, [choice], step, once=choice, never=(before, SELECTION_DELETED))


def one_spin_button_each(window, names):
    """Each number is one spin button in the tree of the window of that
    name, as a screen reader's review or a tool that finds controls by name
    meets it: its up-down arrows are part of it, as in plain Qt's spin box,
    not a second object of the same name."""
    import pyatspi
    found = []

    def collect(node):
        if node is not None:
            if node.getRole() == pyatspi.ROLE_SPIN_BUTTON:
                found.append(node.name)
            for k in range(node.childCount):
                collect(node.getChildAtIndex(k))

    for app in pyatspi.Registry.getDesktop(0):
        for top in app or []:
            if top is not None and top.name == window:
                collect(top)
    if sorted(found) != sorted(names):
        raise StepFailed("%s: the spin buttons should be %s, once each; the window has %s"
                         % (window, names, found))


def open_menu_is_listed():
    """The open menu must be among the program's windows in the
    accessibility tree: a screen reader takes a window its application does
    not list for one already gone."""
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None or app.name != "kelm-utilities":
            continue
        for j in range(app.childCount):
            window = app.getChildAtIndex(j)
            if window is not None and window.getRole() in (pyatspi.ROLE_POPUP_MENU,
                                                           pyatspi.ROLE_MENU):
                if window.getIndexInParent() != j:
                    raise StepFailed("the open menu does not know its place among the windows")
                return
    raise StepFailed("the open window menu is not among the program's windows")


def walk_plain(orca, dialog, work):
    """The plain Qt dialog: the same kinds of steps as the program's. Where
    plain Qt says nothing on some releases the step is optional: waited for
    a moment, and recorded as silent when nothing came (see PLAIN_SILENT)."""
    walk = Walk(orca, work)
    w = "Plain Qt"
    process = walk.launch(w, [dialog], ["Plain Qt dialog.", P("User Name")], "user list")
    walk.press(w, "Down", [P(r"\badmin\b")], "user list, 1st change", optional=True)
    walk.press(w, "Down", [P(r"\bfactory\b")], "user list, 2nd change", optional=True)
    walk.press(w, "Tab", [P("Password")], "password", optional=True)
    # Plain Qt says what is typed into a password: recorded, for the
    # transcript, not held against it.
    walk.press(w, " ".join(PASSWORD) + " BackSpace", [], "password typed")
    walk.press(w, "Tab", [P("radio button")], "tracker type")
    walk.press(w, "Tab", [P("part 1 of 4")], "address part 1")
    walk.press(w, "Tab", [P("part 2 of 4")], "address part 2")
    walk.press(w, "Tab", [P("part 3 of 4")], "address part 3")
    walk.press(w, "Tab", [P("part 4 of 4")], "address part 4")
    walk.press(w, "Tab", [P("Find Trackers")], "find trackers")
    walk.press(w, "Tab", [P("Length")], "length list")
    walk.press(w, "Down", [P(r"\bmicrons\b")], "length list, change", optional=True)
    walk.press(w, "Tab", [P("Length precision")], "length precision")
    one_spin_button_each("Plain Qt", ["Length precision"])
    # Orca 48 at times reads plain Qt 6.8's spin box, its value already 7,
    # as the text it had before the step, and says "6": plain Qt's own race,
    # waited for like a silent step. The fact then does not count; the
    # program must say "7" at its step in any case.
    walk.press(w, "Up", [P(r"\b7\b")], "length precision, step", optional=True)
    walk.press(w, "Tab", [P("Applications")], "application rows")
    walk.press(w, "Down", [P("NetworkSetup")], "application rows, next")
    process.kill()
    process.wait()
    walk.finish()
    return walk


STILL_RUNNING = ("Application(s) are still running. Do you really want to close all "
                 "applications and disconnect?")


def walk_program(orca, program, work):
    """The operator's path through all five windows of the program."""
    walk = Walk(orca, work)
    process = walk.launch("Kelm Utilities", [program],
                          ["Kelm Utilities dialog.", "Connect... push button."])

    w = "Connect to Tracker"
    walk.press(w, "alt+n", ["Connect to Tracker dialog.", "User Name combo box.", "user."],
               "user list")
    choose(walk, w, "Down", "admin", "user", "user list, 1st change")
    choose(walk, w, "Down", "factory", "admin", "user list, 2nd change")
    # "factory" needs a password: the edit is enabled for it, and is next.
    walk.press(w, "Tab", ["Password password text."], "password")
    # Typed and one erased, with Orca's key echo on as it ships: nothing of
    # it may be said, until the next step's speech.
    walk.press(w, " ".join(PASSWORD) + " BackSpace", [], "password typed", secret=PASSWORD)
    walk.press(w, "Tab", ["Tracker Type.", "Kelm.", "selected radio button"], "tracker type")
    walk.press(w, "Tab", ["IP address, part 1 of 4 text.", "192 selected."], "address part 1")
    walk.press(w, "Tab", ["IP address, part 2 of 4 text.", "0 selected."], "address part 2")
    walk.press(w, "Tab", ["IP address, part 3 of 4 text.", "2 selected."], "address part 3")
    walk.press(w, "Tab", ["IP address, part 4 of 4 text.", "10 selected."], "address part 4")
    # The slow tracker: four seconds to connect, a second for each start
    # and stop.
    walk.press(w, "1 9", [], "address part 4, typed")
    walk.press(w, "Tab", ["Find Trackers... push button.",
                          "Finds the IP address of the Trackers on the network."],
               "find trackers")
    walk.press(w, "Tab", ["OK push button."])
    walk.press(w, "Return", [])

    w = "Kelm Utilities"
    # Given the focus while it connects, the window is announced at once.
    # Tab, pressed while it still connects, is taken once it has connected:
    # to Readiness Test, which only a connected window enables.
    focus_main_window(walk, ["Connect... push button."], within=2.0)
    walk.press(w, "Tab", ["Readiness Test push button.",
                          "Checks tracker status and performs initialization routine when ready."])

    w = "Select Units"
    walk.press(w, "alt+u", ["Select Units dialog", "Length combo box.", "meters."],
               "length list")
    one_spin_button_each("Select Units", ["Length precision", "Angle precision",
                                          "Pressure precision", "Temperature precision"])
    choose(walk, w, "Down", "microns", "meters", "length list, change")
    walk.press(w, "Tab", ["Length precision", P("spin button"), P(r"\b6\b")], "length precision")
    walk.press(w, "Up", ["7"], "length precision, step", once="7")
    walk.press(w, "Tab", ["Angle combo box.", "degrees."])
    choose(walk, w, "Down", "grads", "degrees")
    walk.press(w, "Tab", ["Angle precision", P("spin button"), P(r"\b6\b")])
    walk.press(w, "Down", ["5"], once="5")
    walk.press(w, "Tab", ["Pressure combo box.", "millimetersHg."])
    choose(walk, w, "Up", "millibars", "millimetersHg")
    walk.press(w, "Tab", ["Pressure precision", P("spin button"), P(r"\b1\b")])
    walk.press(w, "Up", ["2"], once="2")
    walk.press(w, "Up", ["3"], once="3")
    walk.press(w, "Tab", ["Temperature combo box.", "celsius."])
    choose(walk, w, "Down", "fahrenheit", "celsius")
    walk.press(w, "Tab", ["Temperature precision", P("spin button"), P(r"\b3\b")])
    walk.press(w, "Down", ["2"], once="2")
    walk.press(w, "Escape", [])
    focus_main_window(walk, ["Select Units... push button."])

    w = "Other Applications"
    walk.press(w, "alt+p", ["Other Applications dialog", "Applications", P(r"(?i)list with 2 items")],
               "application rows")
    walk.press(w, "Down", [P("NetworkSetup")], "application rows, next")
    walk.press(w, "Up", [P("LevelCheck")])
    walk.press(w, "Escape", [])
    focus_main_window(walk, ["Other Applications push button."])

    w = "About"
    # The window menu opens on its first item, read at once, and is one of
    # the program's windows for as long as it is open.
    walk.press(w, "shift+F10", ["Close Alt+F4."])
    open_menu_is_listed()
    walk.press(w, "Down", ["About Kelm Utilities..."])
    walk.press(w, "Return", ["About Kelm Utilities dialog", P(r"Kelm Utilities Version \d+\.\d+\.\d+"),
                             "OK push button."])
    walk.press(w, "Return", [])
    focus_main_window(walk, ["Other Applications push button."])

    w = "Warning"
    # The started application's button gives the focus to the next one; the
    # tracker's busy event, if the window takes it before the application's
    # next events, gives it on to Select Units. Either is where it stays.
    walk.press(w, "alt+r", [P(r"\b(Status Report|Select Units) button\b")])
    walk.press(w, "alt+e", ["alert Warning.", STILL_RUNNING, "OK push button."])
    walk.press(w, "Return", [])
    process.wait(timeout=15)
    walk.finish()
    return walk


# What plain Qt says at a step, and what the program must say there in its
# place: (the step, a pattern of plain Qt's speech, the program's text).
# A fact counts only where plain Qt says it; the program says it always.
FACTS = [
    ("user list", r"User Name", "User Name"),
    ("user list", r"combo box", "combo box"),
    ("user list", r"\buser\b", "user"),
    ("user list, 1st change", r"\badmin\b", "admin"),
    ("user list, 2nd change", r"\bfactory\b", "factory"),
    ("password", r"Password", "Password"),
    ("password", r"password text", "password text"),
    ("tracker type", r"Tracker Type", "Tracker Type"),
    ("tracker type", r"radio button", "radio button"),
    ("tracker type", r"\bselected\b", "selected"),
    ("address part 1", r"part 1 of 4", "part 1 of 4"),
    # Plain Qt 6.4 says "19" of "192": the whole is what the program must say.
    ("address part 1", r"\b19\d?\b", "192"),
    ("address part 2", r"part 2 of 4", "part 2 of 4"),
    ("address part 2", r"\b0\b", "0"),
    ("address part 3", r"part 3 of 4", "part 3 of 4"),
    ("address part 3", r"\b2\b", "2"),
    ("address part 4", r"part 4 of 4", "part 4 of 4"),
    ("address part 4", r"\b10?\b", "10"),
    ("find trackers", r"Find Trackers", "Find Trackers"),
    ("find trackers", r"\bbutton\b", "button"),
    ("find trackers", r"Finds the IP address", "Finds the IP address of the Trackers"),
    ("length list", r"Length", "Length"),
    ("length list", r"combo box", "combo box"),
    ("length list", r"\bmeters\b", "meters"),
    ("length list, change", r"\bmicrons\b", "microns"),
    ("length precision", r"Length precision", "Length precision"),
    ("length precision", r"\b6\b", "6"),
    ("length precision", r"spin button", "spin button"),
    ("length precision, step", r"\b7\b", "7"),
    ("application rows", r"Applications", "Applications"),
    ("application rows", r"LevelCheck", "LevelCheck"),
    ("application rows", r"\blist\b", "list"),
    ("application rows, next", r"NetworkSetup", "NetworkSetup"),
]


# Steps at which plain Qt says nothing on some releases, so that the facts
# of the step cannot be compared there: Qt 6.4 tells Orca 43 of a drop-down
# list's new choice only as a name change, which it does not read, and
# moves the focus into its password edit without a word. Anywhere else a
# silent plain Qt step is a broken baseline, and fails.
PLAIN_SILENT = {"user list, 1st change", "user list, 2nd change", "password",
                "length list, change"}


def walk_german(orca, program, work):
    """The program in a German desktop session: Orca hears its windows and
    controls by their German names. Its own Orca session: Orca 48 kept the
    names of a program instance heard before for the next one."""
    walk = Walk(orca, work)
    process = walk.launch("Kelm-Dienstprogramme", [program],
                          ["Kelm-Dienstprogramme dialog.", "Verbinden... push button."],
                          language="de")
    w = "Mit Tracker verbinden"
    walk.press(w, "alt+n", ["Mit Tracker verbinden dialog.", "Benutzername combo box."])
    walk.press(w, "Tab", ["Trackertyp.", "Kelm."])
    walk.press(w, "Escape", [])
    w = "Kelm-Dienstprogramme"
    walk.claim_tail()
    walk.orca.start_step()
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Kelm-Dienstprogramme$",
                    "windowfocus", "--sync"], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=15)
    walk.record(w, "(focus back)", walk.orca.wait("the main window again",
                                                  ["Kelm-Dienstprogramme dialog."]))
    walk.press(w, "alt+i", [])
    process.wait(timeout=15)
    walk.finish()
    return walk


def compare(plain, program):
    failures = []
    for step, pattern, text in FACTS:
        plain_said = " ".join(plain.step(step))
        if not plain_said.strip():
            if step not in PLAIN_SILENT:
                failures.append("%s: plain Qt said nothing, so the program cannot be "
                                "compared with it" % step)
            continue
        if not re.search(pattern, plain_said, re.IGNORECASE):
            continue
        program_said = " ".join(program.step(step))
        if text.lower() not in program_said.lower():
            failures.append('%s: plain Qt says "%s", the program does not say "%s" (it says %r)'
                            % (step, plain_said, text, program_said))
    return failures


def write_transcript(path, plain, program):
    with open("/etc/debian_version") as f:
        release = f.read().strip()
    version = subprocess.run(["orca", "--version"], capture_output=True, text=True).stdout
    found = re.search(r"\d+(?:\.\d+)+", version)
    lines = [
        "# What a blind operator hears",
        "",
        "Orca %s on Debian %s, reading the program on X11, as `scripts/heard.sh` recorded it" %
        (found.group(0) if found else version.strip(), release),
        "(it walks the path of `tests/desktop/orca_session.py`, the test that asserts on it, and",
        "writes what Orca said on the machine it runs on: Orca's releases phrase the same speech",
        "differently, such as \"OK push button.\" in Orca 43 for \"OK button.\" in Orca 48).",
        "Each row is a key the operator pressed and what Orca said next; Orca's echo of the",
        "keys themselves is left out.",
        "",
    ]
    window = None
    for w, keys, said, _, _ in program.steps:
        if w != window:
            lines += ["", "## " + w, "", "| key | Orca says |", "|---|---|"]
            window = w
        lines.append("| %s | %s |" % (keys.replace("|", "\\|"),
                                       " · ".join(s.replace("|", "\\|") for s in said) or "—"))
    lines += ["", "## A plain Qt dialog, for comparison", "",
              "The same kinds of controls, made with Qt's own widgets "
              "(`tests/desktop/baseline/PlainQtDialog.cpp`):", "",
              "| key | Orca says |", "|---|---|"]
    for w, keys, said, _, _ in plain.steps:
        lines.append("| %s | %s |" % (keys, " · ".join(said) or "—"))
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    if sys.argv[1] == "--german":
        log, program, work = sys.argv[2:5]
        try:
            print("Orca, the program in German:", flush=True)
            german = walk_german(Orca(log), program, work)
        except (StepFailed, subprocess.TimeoutExpired) as failure:
            print("FAILED: " + str(failure), flush=True)
            return 1
        for failure in german.findings:
            print("FAILED: " + failure, flush=True)
        return 1 if german.findings else 0
    log, program, dialog, work = sys.argv[1:5]
    transcript = sys.argv[5] if len(sys.argv) > 5 else None
    orca = Orca(log)
    try:
        print("Orca, plain Qt:", flush=True)
        plain = walk_plain(orca, dialog, work)
        print("Orca, the program:", flush=True)
        program = walk_program(orca, program, work)
    except (StepFailed, subprocess.TimeoutExpired) as failure:
        print("FAILED: " + str(failure), flush=True)
        return 1
    failures = program.findings + compare(plain, program)
    for failure in failures:
        print("FAILED: " + failure, flush=True)
    if transcript:
        write_transcript(transcript, plain, program)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
