"""A learner at the keyboard of a running Morvela, inside session.sh.

Keys go through the display server (desktop_x11 or desktop_wayland, as the
session says), so they pass the real input method; controls are found and
read over AT-SPI the way a screen reader meets them: buttons by caption,
typing boxes by the line they answer, labels by their text or their stable
description (the control's name), windows by title. Every wait is bounded
and says what it waited for.
"""
import importlib
import os
import shutil
import subprocess
import time
import warnings

warnings.filterwarnings("ignore", category=DeprecationWarning)
import pyatspi  # noqa: E402  (Debian's python3-pyatspi)

from waits import WAIT, LearnerError, run, wait_for  # noqa: E402,F401  (the scenarios' waits too)

KEY_DELAY_MS = 15
IME = os.environ.get("MORVELA_E2E_IME", "")
DISPLAY = os.environ.get("MORVELA_E2E_DISPLAY", "x11")
desktop = importlib.import_module("desktop_" + DISPLAY)


# ------------------------------------------------------------- keyboard
def type_keys(text):
    """Physical key presses for printable ASCII (romaji, home-row keys)."""
    assert all(" " <= c <= "~" for c in text), text
    desktop.type_keys(text, KEY_DELAY_MS)


def key(*names):
    """Keys by keysym name: key("space"), key("Return"), key("Tab")."""
    desktop.press_keys(names, KEY_DELAY_MS)


def convert(romaji, spaces):
    """Romaji into Mozc, `spaces` presses of space (0 = keep the kana), Return
    to commit: the chunk arrives as one commit."""
    type_keys(romaji)
    if spaces:
        key(*["space"] * spaces)
    key("Return")


# ------------------------------------------------------------- input method
def ime_is_on():
    if IME == "ibus":
        return run(["ibus", "engine"], check=False).strip() == "mozc-jp"
    return run(["fcitx5-remote"], check=False).strip() == "2"


def ime_on():
    """Mozc on, in Hiragana, for the whole desktop."""
    if IME == "ibus":
        if ime_is_on():  # re-selecting the engine resets Mozc to Hiragana
            run(["ibus", "engine", "xkb:us::eng"], check=False)
            wait_for(lambda: not ime_is_on(), "ibus to leave Mozc")
        run(["ibus", "engine", "mozc-jp"], check=False)
    else:
        wait_for(lambda: run(["fcitx5-remote"], check=False).strip() in ("1", "2"),
                 "a focused fcitx5 input context")
        run(["fcitx5-remote", "-s", "mozc"])
        run(["fcitx5-remote", "-o"])
    wait_for(ime_is_on, "the input method to switch on")
    time.sleep(0.15)  # the switch reaches the focused input context


def ime_off():
    if IME == "ibus":
        run(["ibus", "engine", "xkb:us::eng"], check=False)
    else:
        run(["fcitx5-remote", "-c"])
    wait_for(lambda: not ime_is_on(), "the input method to switch off")
    time.sleep(0.15)


# ------------------------------------------------------------- the program
def describe(acc):
    try:
        return "%s %r%s" % (acc.getRoleName(), acc.name, " (%s)" % acc.description if acc.description else "")
    except Exception as e:  # noqa: BLE001
        return "<gone: %s>" % e


def walk(acc, depth=0):
    if acc is None or depth > 30:
        return
    yield acc
    for i in range(acc.childCount):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:  # noqa: BLE001 - vanished while walking
            continue
        yield from walk(child, depth + 1)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


class Program:
    """The built program copied into a fresh program folder and started."""

    def __init__(self, folder, shots):
        self.folder = folder
        self.shots = shots
        self.log = open(os.path.join(folder, "..", os.path.basename(folder) + ".out"), "w")
        self.proc = subprocess.Popen([os.path.join(folder, "morvela")], cwd=folder, stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=subprocess.STDOUT)
        self.acc = wait_for(self._find_app, "the program on the accessibility bus", timeout=20)
        self.window = None

    def _alive(self):
        if self.proc.poll() is not None:
            raise LearnerError("the program ended (exit %s)" % self.proc.returncode)

    def _find_app(self):
        self._alive()
        everyone = pyatspi.Registry.getDesktop(0)
        for i in range(everyone.childCount):
            a = everyone.getChildAtIndex(i)
            if a is not None and a.get_process_id() == self.proc.pid:
                a.set_cache_mask(pyatspi.Atspi.Cache.NONE)  # always ask the program
                return a
        return None

    # -- windows
    def windows(self):
        self._alive()
        self.acc.clearCache()
        return [self.acc.getChildAtIndex(i) for i in range(self.acc.childCount)]

    def expect_window(self, title, having=None, timeout=WAIT):
        """Wait for the showing window titled `title` (and holding a control
        named `having`, to tell pages of one title apart); it gets the keyboard."""
        def holds(w):
            return having is None or any(showing(a) and having in (a.name, a.description) for a in walk(w))

        def look():
            return next((w for w in self.windows() if w.name == title and showing(w) and holds(w)), None)
        try:
            self.window = wait_for(look, "a window titled %r%s" % (title, " with %r" % having if having else ""),
                                   timeout)
        except LearnerError as e:
            raise LearnerError("%s; showing: %s" % (e, [w.name for w in self.windows() if showing(w)])) from None
        self.title = title
        self.handle = desktop.focus_window(self.proc.pid, title)
        return self.window

    # -- controls of the current window
    def find(self, name, role=None, timeout=WAIT):
        """A showing control of the current window by accessible name, else
        description (the control's name), of the given role."""
        def look():
            nodes = [a for a in walk(self.window) if showing(a)]
            for attr in ("name", "description"):
                for a in nodes:
                    if getattr(a, attr) == name and (role is None or a.getRoleName() == role):
                        return a
            return None
        try:
            return wait_for(look, "%s %r in %r" % (role or "control", name, self.title), timeout)
        except LearnerError as e:
            have = "\n  ".join(describe(a) for a in walk(self.window))
            raise LearnerError("%s; the window has:\n  %s" % (e, have)) from None

    def text(self, name, role=None):
        a = self.find(name, role)
        if "Text" in a.get_interfaces():
            return a.queryText().getText(0, -1)
        return a.name

    def wait_text(self, name, expected, role=None, timeout=WAIT):
        seen = []
        def check():
            seen[:] = [self.text(name, role)]
            return seen[0] == expected
        try:
            wait_for(check, "%r to read %r" % (name, expected), timeout)
        except LearnerError as e:
            raise LearnerError("%s; it reads %r" % (e, seen[0] if seen else None)) from None

    def press(self, caption):
        """A button pressed by its caption, as a screen reader's user would."""
        a = self.find(caption, "push button")
        wait_for(lambda: a.getState().contains(pyatspi.STATE_ENABLED), "button %r to be enabled" % caption)
        act = a.queryAction()
        names = [act.getName(i) for i in range(act.nActions)]
        if not act.doAction(names.index("Press") if "Press" in names else 0):
            raise LearnerError("pressing %r failed" % caption)

    def click_into(self, name):
        """A mouse click into a typing box found by the line it answers; waits
        until it has the keyboard focus."""
        a = self.find(name, "text")
        click(a)
        self.wait_focused(a, name)
        return a

    def wait_focused(self, a, what):
        wait_for(lambda: a.getState().contains(pyatspi.STATE_FOCUSED), "%r to have the keyboard focus" % what)

    def focused(self):
        return next((a for a in walk(self.window) if a.getState().contains(pyatspi.STATE_FOCUSED)), None)

    def wait_focus_on(self, name, timeout=WAIT):
        def check():
            a = self.focused()
            return a is not None and name in (a.name, a.description)
        wait_for(check, "the keyboard focus on %r (it is on %s)" % (name, describe(self.focused())), timeout)

    def shot(self, name):
        os.makedirs(self.shots, exist_ok=True)
        path = os.path.join(self.shots, name + ".png")
        desktop.screenshot(self.handle, path)

    def wait_exit(self, timeout=WAIT):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise LearnerError("the program did not end within %.0f s" % timeout) from None

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(5)
        self.log.close()


def fresh_folder(program_dir, scratch, name, files=None):
    """A program folder as a learner has it: the program and its data, plus
    `files` (name -> bytes) such as a progress file from earlier work."""
    folder = os.path.join(scratch, name)
    shutil.rmtree(folder, ignore_errors=True)
    shutil.copytree(program_dir, folder, ignore=shutil.ignore_patterns("morvela.ini", "game.ini", "kentei.wk*"))
    for fname, data in (files or {}).items():
        with open(os.path.join(folder, fname), "wb") as f:
            f.write(data)
    return folder


# ------------------------------------------------------------- more of the learner
def click(control):
    """A mouse click on the middle of a control (a radio button, a check
    box, a combo box), as a sighted learner chooses."""
    e = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    desktop.click_at(*desktop.to_desktop(e.x + e.width // 2, e.y + e.height // 2))


def checked(control):
    return control.getState().contains(pyatspi.STATE_CHECKED)


def enabled(control):
    return control.getState().contains(pyatspi.STATE_ENABLED)


def type_text(text, delay_ms=KEY_DELAY_MS):
    """Exact text, any characters, one key each (characters the keyboard
    lacks get keys of their own first); it reaches the box as typed, with
    the input method on or off. For lines where conversion is not the point."""
    # In pieces of a few new characters each: the keyboard has only so many
    # spare keys (fewer under fcitx5).
    pieces, piece, wanted = [], "", set()
    for c in text:
        if ord(c) > 0x7e and c not in wanted and len(wanted) == 8:
            pieces.append(piece)
            piece, wanted = "", set()
        if ord(c) > 0x7e:
            wanted.add(c)
        piece += c
    pieces.append(piece)
    for piece in pieces:
        desktop.make_typeable(piece)
        desktop.type_keys(piece, delay_ms)


def tab_to(app, name, limit=40):
    """Tab through the current window until the control `name` has the
    keyboard focus, as a learner without a mouse does."""
    def where():
        a = app.focused()
        if a is None:
            return None, None
        e = a.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return a, (e.x, e.y, e.width, e.height)
    for _ in range(limit):
        a, place = where()
        if a is not None and name in (a.name, a.description):
            return a
        key("Tab")
        wait_for(lambda: where()[1] != place, "Tab to move the focus on from %s" % describe(a))
    raise LearnerError("%d presses of Tab did not reach %r in %r (focus on %s)"
                       % (limit, name, app.title, describe(app.focused())))
