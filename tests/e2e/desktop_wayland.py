"""The learner's hands on a headless sway (session.sh --display wayland):
keys through wtype's virtual keyboard, the pointer through wayvnc's, the
window focus through sway's IPC, screenshots with grim.

The program, a native Wayland client, does not know where its windows are:
what it tells AT-SPI is relative to the window's content, so a point is
moved onto the desktop by the content's place in sway's tree."""
import json
import os
import socket
import struct
import time

from waits import WAIT, LearnerError, run, wait_for

_window = None  # the sway node of the window the learner works in


def type_keys(text, delay_ms):
    # wtype brings a keymap with every character of the text: any text types.
    run(["wtype", "-d", str(delay_ms), "--", text], timeout=WAIT + len(text) * delay_ms / 250)


def press_keys(names, delay_ms):
    argv = ["wtype", "-d", str(delay_ms)]
    for name in names:
        argv += ["-k", name]
    run(argv)


def make_typeable(text):
    """Nothing to prepare: wtype brings its own keymap."""


def _nodes(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from _nodes(child)


def _tree():
    return json.loads(run(["swaymsg", "-r", "-t", "get_tree"]))


def _node(con_id):
    return next((n for n in _nodes(_tree()) if n["id"] == con_id), None)


def focus_window(pid, title):
    """The window of process `pid` titled `title` gets the keyboard focus;
    returns its sway node id. Of windows sharing a title (the menu and the
    options over it) the one shown last: sway numbers its nodes in order."""
    global _window

    def node():
        return max((n for n in _nodes(_tree()) if n.get("pid") == pid and n.get("name") == title),
                   key=lambda n: n["id"], default=None)
    con = wait_for(node, "the Wayland window titled %r" % title)
    run(["swaymsg", "[con_id=%d] focus" % con["id"]])
    wait_for(lambda: (_node(con["id"]) or {}).get("focused"), "sway's focus on %r" % title)
    _window = con["id"]
    return con["id"]


def _content(con_id):
    """The window's content on the desktop: x, y, width, height."""
    n = _node(con_id)
    if n is None:
        raise LearnerError("the window (sway node %d) is gone" % con_id)
    r, w = n["rect"], n["window_rect"]
    return r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"]


def to_desktop(x, y):
    cx, cy, _, _ = _content(_window)
    return cx + x, cy + y


class _Pointer:
    """A VNC client on wayvnc's socket that only sends pointer events: the
    compositor sees a real pointer move and click."""

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(WAIT)
        self.sock.connect(path)
        version = self._read(12)
        if not version.startswith(b"RFB "):
            raise LearnerError("wayvnc at %s does not speak VNC: %r" % (path, version))
        self.sock.sendall(b"RFB 003.008\n")
        offered = self._read(self._read(1)[0])
        if 1 not in offered:  # 1: no authentication
            raise LearnerError("wayvnc at %s asks for authentication %s" % (path, list(offered)))
        self.sock.sendall(b"\x01")
        if struct.unpack(">I", self._read(4))[0] != 0:
            raise LearnerError("wayvnc at %s refused the connection" % path)
        self.sock.sendall(b"\x01")  # share the desktop
        head = self._read(24)  # width, height, pixel format, name length
        self._read(struct.unpack(">I", head[20:24])[0])

    def _read(self, n):
        data = b""
        while len(data) < n:
            more = self.sock.recv(n - len(data))
            if not more:
                raise LearnerError("wayvnc closed the pointer's connection")
            data += more
        return data

    def event(self, buttons, x, y):
        self.sock.sendall(struct.pack(">BBHH", 5, buttons, x, y))


_pointer = None
_CORNER = (1279, 1023)  # of session.sh's 1280x1024 output


def click_at(x, y):
    global _pointer
    if _pointer is None:
        _pointer = _Pointer(os.environ["MORVELA_E2E_POINTER"])
    for buttons in (0, 1, 0):  # there, the left button down, up
        _pointer.event(buttons, x, y)
        time.sleep(0.05)
    # Then into the desktop's corner, away from the windows: the compositor
    # draws the pointer into the picture grim takes.
    _pointer.event(0, _CORNER[0], _CORNER[1])


def screenshot(con_id, path):
    x, y, w, h = _content(con_id)
    run(["grim", "-g", "%d,%d %dx%d" % (x, y, w, h), path], timeout=30)
