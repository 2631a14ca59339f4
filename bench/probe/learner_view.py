"""What a learner meets when the program starts: its windows and message
boxes read over AT-SPI (as a screen reader reads them), its X windows, and
a few moves of the learner (a button pressed, an entry chosen from a list,
a key typed). Runs inside a session of its own (see probe.py --child), as
the user the program runs as, since the accessibility bus serves only the
user who started it.
"""
import os
import signal
import socket
import subprocess
import threading
import time
import warnings

warnings.filterwarnings("ignore", category=DeprecationWarning)
import pyatspi  # noqa: E402  (Debian's python3-pyatspi)

MENU_TITLE = "Morvela Ver.4.0"
MENU_MARK = "Lesson0の状態"  # a control only the menu has
EXAM_TITLE = "ワープロ検定（入力科目）模擬試験"

# A call into a frozen program must not freeze the probe.
try:
    pyatspi.Atspi.set_timeout(2500, 15000)
except Exception:  # noqa: BLE001 - older libatspi: its own default
    pass


def sh(argv, timeout=10):
    try:
        return subprocess.run(argv, capture_output=True, text=True, timeout=timeout).stdout
    except subprocess.TimeoutExpired:
        return ""


def x_windows(pid):
    """Names of the program's visible X windows (no accessibility needed)."""
    out = sh(["xdotool", "search", "--onlyvisible", "--pid", str(pid)])
    names = []
    for wid in out.split():
        names.append((wid, sh(["xdotool", "getwindowname", wid]).rstrip("\n")))
    return names


def walk(acc, depth=0):
    if acc is None or depth > 30:
        return
    yield acc
    try:
        n = acc.childCount
    except Exception:  # noqa: BLE001
        return
    for i in range(n):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:  # noqa: BLE001 - vanished while walking
            continue
        yield from walk(child, depth + 1)


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # noqa: BLE001
        return False


def text_of(acc):
    try:
        if "Text" in acc.get_interfaces():
            return acc.queryText().getText(0, -1)
    except Exception:  # noqa: BLE001
        pass
    return acc.name


def read_window(w):
    """A window as read aloud: its title, the texts of its labels, its
    buttons and the contents of its text boxes (by name or description)."""
    view = {"title": w.name, "role": w.getRoleName(), "labels": [], "buttons": [], "boxes": {}, "kind": "window",
            "_press": {}}  # caption -> the first button of that caption (not kept in the results)
    for a in walk(w):
        if a == w or not showing(a):
            continue
        role = a.getRoleName()
        if role == "label":
            if a.name:
                view["labels"].append(a.name)
            if a.description:
                view["boxes"][a.description] = a.name
        elif role == "push button":
            view["buttons"].append(a.name)
            view["_press"].setdefault(a.name, a)
        elif role in ("text", "entry", "combo box"):
            view["boxes"][a.name or a.description] = text_of(a) if role != "combo box" else a.name
    if MENU_MARK in view["boxes"]:
        view["kind"] = "menu"
    elif view["role"] == "alert" or ("OK" in view["buttons"] and not view["boxes"]):
        view["kind"] = "message"
    return view


class Learner:
    def __init__(self, env, folder, out, log):
        self.env, self.folder, self.out, self.log = env, folder, out, log
        self.proc = None
        self.acc = None
        self.messages = []     # every message box met: {"title", "text"}
        self.seen_titles = []  # every window title met, in order
        self.shots = 0
        self.last_menu = None
        self.shooters = []
        self.notes = {}
        self.t_start = None
        self.t_first_window = None
        self.t0 = time.monotonic()
        self.notes["phases"] = []

    def mark(self, what):
        self.notes["phases"].append("%s %.2f" % (what, time.monotonic() - self.t0))

    # ----------------------------------------------------------- the program
    def start(self, argv=None, cwd=None, preexec=None):
        self.t_start = time.monotonic()
        self.proc = subprocess.Popen(argv or [os.path.join(self.folder, "morvela")], cwd=cwd or self.folder,
                                     env=self.env, stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
                                     preexec_fn=preexec)
        return self.proc

    def alive(self):
        return self.proc.poll() is None

    def wait_first_window(self, timeout):
        """Seconds from start to the program's first visible X window."""
        deadline = self.t_start + timeout
        while time.monotonic() < deadline:
            if x_windows(self.proc.pid):
                self.t_first_window = time.monotonic() - self.t_start
                self.mark("window")
                return self.t_first_window
            if not self.alive():
                return None
            time.sleep(0.03)
        return None

    def app(self, timeout=8):
        if self.acc is not None:
            return self.acc
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and self.alive():
            try:
                desktop = pyatspi.Registry.getDesktop(0)
                for i in range(desktop.childCount):
                    a = desktop.getChildAtIndex(i)
                    if a is not None and a.get_process_id() == self.proc.pid:
                        self.acc = a
                        self.mark("a11y")
                        return a
            except Exception:  # noqa: BLE001
                pass
            time.sleep(0.1)
        return None

    def showing_count(self):
        """How many of the program's windows show (cheap: no window is read)."""
        app = self.app()
        if app is None:
            return 0
        try:
            app.clearCache()
            return sum(1 for i in range(app.childCount) if showing(app.getChildAtIndex(i)))
        except Exception:  # noqa: BLE001
            return 0

    def windows(self):
        """The program's showing windows, read (empty when it cannot be read)."""
        app = self.app()
        if app is None:
            return []
        views = []
        try:
            app.clearCache()
            for i in range(app.childCount):
                w = app.getChildAtIndex(i)
                if w is not None and showing(w):
                    views.append((w, read_window(w)))
        except Exception:  # noqa: BLE001 - a window closing as it is read
            return []
        if os.environ.get("PROBE_TRACE"):
            self.mark("windows " + ",".join("%s:%s:%s" % (v["title"], v["kind"], v["role"]) for _, v in views))
        for _, v in views:
            if not self.seen_titles or self.seen_titles[-1] != v["title"]:
                self.seen_titles.append(v["title"])
        return views

    def shot(self, name):
        if self.shots >= 4:
            return
        self.shots += 1
        # In the background: a picture of the screen takes a second or two.
        self.shooters.append(subprocess.Popen(["import", "-window", "root", "png:" + os.path.join(self.out, "%s.png" % name)],
                                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))

    def press(self, window, caption, group=None):
        """A button pressed by its caption (inside the named group)."""
        for a in walk(window):
            if a.getRoleName() == "push button" and a.name == caption and showing(a):
                if group is not None and not self._inside(a, group, window):
                    continue
                return self.do(a)
        return False

    @staticmethod
    def do(a):
        act = a.queryAction()
        names = [act.getName(i) for i in range(act.nActions)]
        return act.doAction(names.index("Press") if "Press" in names else 0)

    @staticmethod
    def _inside(a, group, window):
        node = a.parent
        while node is not None and node != window:
            if node.name == group:
                return True
            node = node.parent
        return False

    def find(self, window, name, role=None):
        for a in walk(window):
            if (a.name == name or a.description == name) and showing(a) and (role is None or a.getRoleName() == role):
                return a
        return None

    # ----------------------------------------------------------- the learner's moves
    def answer_messages(self, views):
        """Reads every message box showing and presses its OK; True if any."""
        answered = False
        for w, v in views:
            if v["kind"] != "message":
                continue
            text = "\n".join(v["labels"])
            if not self.messages or self.messages[-1]["text"] != text:
                self.messages.append({"title": v["title"], "text": text})
                self.shot("message%d" % len(self.messages))
            try:
                answered = self.press(w, "OK") or answered
            except Exception:  # noqa: BLE001
                pass
        return answered

    def reach_menu(self, timeout=10):
        """Answers message boxes until the menu shows alone; the menu's view,
        or None (the program ended, or nothing to read in time)."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and self.alive():
            views = self.windows()
            if self.answer_messages(views):
                time.sleep(0.3)
                continue
            menus = [(w, v) for w, v in views if v["kind"] == "menu"]
            if menus and len(views) == 1:
                time.sleep(0.2)  # a message box may follow the menu at once
                if self.showing_count() == 1:
                    self.mark("menu")
                    self.shot("menu")
                    self.last_menu = menus[0]
                    return menus[0]
            time.sleep(0.15)
        return None

    def wait_window(self, predicate, timeout):
        """The first showing window whose view satisfies `predicate`,
        answering no message box; (window, view) or None."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and self.alive():
            for w, v in self.windows():
                if predicate(v):
                    return w, v
            time.sleep(0.1)
        return None

    def focus_x(self, title):
        for wid, name in x_windows(self.proc.pid):
            if name == title:
                sh(["xdotool", "windowfocus", "--sync", wid])
                return wid
        return None

    def click(self, acc):
        e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        sh(["xdotool", "mousemove", str(e.x + e.width // 2), str(e.y + e.height // 2), "click", "1"])

    def choose_exam(self, menu, index):
        """The index-th entry of the menu's exam list, chosen with the mouse."""
        combo = next((a for a in walk(menu) if a.getRoleName() == "combo box" and showing(a)), None)
        if combo is None:
            return None
        self.focus_x(MENU_TITLE)
        self.click(combo)
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            items = [a for a in walk(combo) if a.getRoleName() in ("list item", "menu item") and showing(a)]
            if len(items) > index:
                self.notes["exam_list"] = [a.name for a in items]
                self.click(items[index])
                time.sleep(0.3)
                return combo.name
            time.sleep(0.1)
        return None

    def quit(self):
        """"終了" on the menu, as a learner leaves; a message box on the way
        is read and answered. True when the program ended by itself (after a
        failed save it stays open, as it should: then False)."""
        deadline = time.monotonic() + 8
        pressed = False
        while time.monotonic() < deadline and self.alive():
            if not pressed:
                menu = self.last_menu if self.last_menu is not None and self.showing_count() == 1 else None
                if menu is None:
                    views = self.windows()
                    if self.answer_messages(views):
                        time.sleep(0.3)
                        continue
                    menus = [(w, v) for w, v in views if v["kind"] == "menu"]
                    menu = menus[0] if menus and len(views) == 1 else None
                if menu is not None:
                    try:
                        pressed = bool(self.do(menu[1]["_press"]["終了"]))
                    except Exception:  # noqa: BLE001 - read the menu again
                        self.last_menu = None
                if not pressed:
                    time.sleep(0.2)
                continue
            try:
                self.proc.wait(0.3)
                return True
            except subprocess.TimeoutExpired:
                pass
            if self.showing_count() > 1 and self.answer_messages(self.windows()):
                self.notes["quit_refused"] = True
                return False
        return not self.alive()

    def end(self):
        """Whatever still runs is killed; the result of the run."""
        self.mark("end")
        ended_by_probe = False
        for s in self.shooters:
            try:
                s.wait(20)
            except subprocess.TimeoutExpired:
                s.kill()
        if self.alive():
            ended_by_probe = True
            self.proc.kill()
            self.proc.wait(10)
        rc = self.proc.returncode
        return {
            "exit": rc if rc is not None and rc >= 0 else None,
            "signal": -rc if rc is not None and rc < 0 and not ended_by_probe else None,
            "ended_by_probe": ended_by_probe,
            "t_first_window": self.t_first_window,
            "messages": self.messages,
            "titles": self.seen_titles,
            "notes": self.notes,
        }


class HungSoundServer:
    """A unix socket that accepts every connection and never answers, as a
    sound server that has hung."""

    def __init__(self, path):
        self.path = path
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.bind(path)
        self.sock.listen(16)
        self.held = []
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        while True:
            try:
                conn, _ = self.sock.accept()
            except OSError:
                return
            self.held.append(conn)


def signal_number(name):
    return getattr(signal, "SIG" + name)
