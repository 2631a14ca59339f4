"""The learner's hands on the private X server (session.sh --display x11):
keys and the pointer through xdotool, no window manager, screenshots with
ImageMagick's import. AT-SPI's desktop coordinates are the screen's."""
import time

from waits import WAIT, LearnerError, run, wait_for


def type_keys(text, delay_ms):
    run(["xdotool", "type", "--delay", str(delay_ms), "--", text], timeout=WAIT + len(text) * delay_ms / 250)


def press_keys(names, delay_ms):
    run(["xdotool", "key", "--delay", str(delay_ms), "--"] + list(names))


def focus_window(pid, title):
    """No window manager runs: the X focus is given to the window by hand.
    Returns the window's id."""
    def xid():
        for wid in run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], check=False).split():
            if run(["xdotool", "getwindowname", wid], check=False).strip() == title:
                return wid
        return None
    wid = wait_for(xid, "the X window titled %r" % title)
    run(["xdotool", "windowfocus", "--sync", wid])
    wait_for(lambda: run(["xdotool", "getwindowfocus"]).strip() == wid, "X focus on %r" % title)
    return wid


def to_desktop(x, y):
    return x, y


def click_at(x, y):
    run(["xdotool", "mousemove", str(x), str(y), "click", "1"])


def screenshot(wid, path):
    run(["import", "-window", wid, "png:" + path], timeout=30)


_BOUND_HERE = set()  # keycodes make_typeable gave characters to


def make_typeable(text):
    """Give every character of `text` that the keyboard lacks a key of its
    own (on keys the layout leaves empty or gives to multimedia), in one
    change of the keyboard map. Without it xdotool rebinds one spare key
    for each such character as it types, and the program, behind the input
    method, can read a key against the map of the character before: a line
    typed that way loses characters."""
    import ctypes
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
    dpy = x11.XOpenDisplay(None)
    if not dpy:
        raise LearnerError("cannot open the X display to bind keys")
    try:
        lo, hi = ctypes.c_int(), ctypes.c_int()
        x11.XDisplayKeycodes(ctypes.c_void_p(dpy), ctypes.byref(lo), ctypes.byref(hi))
        per = ctypes.c_int()
        count = hi.value - lo.value + 1
        syms = x11.XGetKeyboardMapping(ctypes.c_void_p(dpy), ctypes.c_ubyte(lo.value), count, ctypes.byref(per))
        needed = {0x1000000 + ord(c) for c in text if ord(c) > 0x7e}
        bound, free = set(), []
        for i in range(count):
            code = lo.value + i
            row = [syms[i * per.value + j] for j in range(per.value)]
            # Empty keys, the multimedia and extra function keys no learner
            # here presses, and keys bound here before for characters this
            # text does not need.
            spare = all(not k or 0x1008FF00 <= k <= 0x1008FFFF or 0xFFCA <= k <= 0xFFE0 for k in row)
            ours = code in _BOUND_HERE and not needed.intersection(row)
            if spare or ours:
                free.append(code)
            else:
                bound.update(row)
        x11.XFree(syms)
        wanted = sorted(needed - bound)
        if not wanted:
            return
        if len(wanted) > len(free):
            raise LearnerError("%d characters to bind, %d free keys" % (len(wanted), len(free)))
        for code, sym in zip(free, wanted):
            _BOUND_HERE.add(code)
            row = (ctypes.c_ulong * 2)(sym, sym)
            x11.XChangeKeyboardMapping(ctypes.c_void_p(dpy), code, 2, row, 1)
        x11.XSync(ctypes.c_void_p(dpy), 0)
    finally:
        x11.XCloseDisplay(ctypes.c_void_p(dpy))
    time.sleep(0.3)  # the new map reaches the program and the input method
