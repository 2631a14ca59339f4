"""A window as a screen reader meets it, over AT-SPI.

A screen reader names a control by its accessible name and says its role;
the description follows after a pause. So every control a learner operates
needs a name, and controls of one name side by side (ten "？" buttons
on one page) need descriptions that tell them apart. Controls inside a
named group ("ゲーム", "ワープロ検定模試") are read with the group's name.
"""
import pyatspi

from learner import describe, showing, walk

# Roles a learner operates; a label or a frame is only read.
OPERATED = {"push button", "toggle button", "check box", "radio button", "combo box", "text", "entry",
            "password text", "spin button", "slider", "list", "menu item"}


def _context(acc, window):
    """The names of the groups around a control, outermost first."""
    names = []
    node = acc.parent
    while node is not None and node != window:
        if node.name and node.getRoleName() in ("panel", "filler", "grouping"):
            names.append(node.name)
        node = node.parent
    return tuple(reversed(names))


def unusable_controls(window):
    """Every showing control a learner operates (or will, once it is
    enabled) that a screen reader cannot name or tell apart, one line each;
    empty when all is well."""
    problems = []
    by_name = {}
    for a in walk(window):
        if a == window or not showing(a):
            continue
        role = a.getRoleName()
        if role not in OPERATED:
            continue
        name = (a.name or "").strip()
        if not name:
            problems.append("%s has no name" % describe(a))
            continue
        by_name.setdefault((_context(a, window), name), []).append(a)
    for (context, name), nodes in by_name.items():
        told_apart = {n.description for n in nodes if n.description}
        if len(nodes) > 1 and len(told_apart) < len(nodes):
            where = " in %s" % " / ".join(context) if context else ""
            problems.append("%d controls read as %r%s, not told apart: %s"
                            % (len(nodes), name, where, ", ".join(describe(n) for n in nodes)))
    return problems


def check_screen_reader_view(case, app, title):
    """The current window's title as given, and every control it shows
    named for a screen reader (a test case's failure otherwise)."""
    case.assertEqual(app.window.name, title)
    problems = unusable_controls(app.window)
    case.assertEqual(problems, [], "window %r, as a screen reader meets it" % title)


def unanswered_boxes(window):
    """Typing boxes whose name is not the text of a line or drill label of
    the window: a screen reader would not say what is typed there."""
    nodes = [a for a in walk(window) if showing(a)]
    labels = {a.name for a in nodes if a.getRoleName() == "label" and a.name}
    return ["%s answers no label" % describe(a) for a in nodes
            if a.getRoleName() == "text" and a.getState().contains(pyatspi.STATE_EDITABLE)
            and a.name not in labels]
