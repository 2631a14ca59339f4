#!/usr/bin/python3
"""The learner's side of one case, run in a session of its own (a D-Bus
session with the accessibility bus) as the user the program runs as:
starts the program, plays the case's scenario, and writes what was met to
result.json.

    scenarios.py JOB.json   (written by probe.py)
"""
import json
import os
import subprocess
import sys
import time

from folders import MENU_TITLE, copy_program, snapshot


def child(job_path):
    sys.path.insert(0, os.path.dirname(os.path.abspath(job_path)))
    with open(job_path) as f:
        job = json.load(f)
    out = job["out"]
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(job["env"], DBUS_SESSION_BUS_ADDRESS=os.environ.get("DBUS_SESSION_BUS_ADDRESS", ""))
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                           "org.a11y.Bus.GetAddress"], capture_output=True).returncode == 0:
            break
        time.sleep(0.1)
    import learner_view as lv
    log = open(os.path.join(out, "program.log"), "w+")
    who = lv.Learner(env, job["folder"], out, log)
    result = {"notes": who.notes}
    try:
        SCENARIOS[job["scenario"]](who, job, result)
    except Exception as e:  # noqa: BLE001 - the row says what went wrong
        result["error"] = "%s: %s" % (type(e).__name__, e)
    if who.proc is not None:
        result.update({k: v for k, v in who.end().items() if k not in result})
    log.flush(); log.seek(0)
    result["stderr"] = log.read()[-2000:]
    bus.terminate()
    with open(os.path.join(out, "result.json"), "w") as f:
        json.dump(result, f)


def menu_view(who, result, timeout=10):
    found = who.reach_menu(timeout)
    if found:
        w, v = found
        result["menu"] = {k: x for k, x in v.items() if not k.startswith("_")}
        return w
    if who.alive() and who.t_first_window is not None and not who.windows():
        result["froze"] = True
    return None


def sc_menu(who, job, result):
    who.start()
    who.wait_first_window(job["timeout"])
    menu = menu_view(who, result)
    if menu is not None and job["args"].get("learn_quit"):
        # Where "終了" sits in the menu window, for the kill loop's clicks.
        import pyatspi
        b = who.find(menu, "終了", "push button").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        w = menu.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        result["notes"]["quit_offset"] = [b.x - w.x + b.width // 2, b.y - w.y + b.height // 2]
    if menu is not None or who.alive():
        who.quit()


def sc_game(who, job, result):
    who.start()
    who.wait_first_window(job["timeout"])
    menu = menu_view(who, result)
    if menu is None:
        return
    who.press(menu, "開始", group="ゲーム")
    seen = who.wait_window(lambda v: v["kind"] == "message" or (v["kind"] == "window" and v["title"] != MENU_TITLE), 5)
    if seen and seen[1]["kind"] != "message":
        result["notes"]["game_window"] = seen[1]["title"]
        return
    menu_view(who, result, 5)
    who.quit()


def open_exam(who, menu):
    """"開始" of the mock exam pressed; message boxes on the way read and
    answered. The exam window and its view, or None when none opened."""
    import learner_view as lv
    who.press(menu, "開始", group="ワープロ検定模試")
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline and who.alive():
        views = who.windows()
        answered = who.answer_messages(views)
        exams = [(w, v) for w, v in views if v["title"] == lv.EXAM_TITLE]
        if exams and not answered:
            return exams[0]
        if answered and not exams:
            time.sleep(0.3)
            if not [v for _, v in who.windows() if v["title"] == lv.EXAM_TITLE]:
                return None
        time.sleep(0.1)
    return None


def back_to_menu(who, exam_window, result):
    who.answer_messages(who.windows())
    try:
        who.press(exam_window, "目次へ")
    except Exception:  # noqa: BLE001 - already gone
        pass
    menu_view(who, result, 5)


def sc_exam(who, job, result):
    import learner_view as lv
    who.start()
    who.wait_first_window(job["timeout"])
    menu = menu_view(who, result)
    if menu is None:
        return
    exam = open_exam(who, menu)
    if exam is None:
        menu_view(who, result, 5)
        who.quit()
        return
    w, v = exam
    result["notes"]["exam_window"] = True
    result["notes"]["exam_text"] = (v["boxes"].get("問題文") or "")[:40]
    if job["args"].get("complete"):
        who.focus_x(lv.EXAM_TITLE)
        who.click(who.find(w, "入力欄", "text"))
        time.sleep(0.3)
        lv.sh(["xdotool", "type", "--delay", "30", "aiu"])
        time.sleep(0.5)
        who.press(w, "入力完了")
        time.sleep(1.5)
        who.shot("completed")
    back_to_menu(who, w, result)
    who.quit()


def sc_alike(who, job, result):
    who.start()
    who.wait_first_window(job["timeout"])
    opened = []
    for index in (0, 1):
        menu = menu_view(who, result)
        if menu is None:
            return
        if who.choose_exam(menu, index) is None:
            opened.append(None)
            continue
        exam = open_exam(who, menu)
        if exam is None:
            opened.append(None)
            continue
        opened.append(exam[1]["boxes"].get("問題文"))
        back_to_menu(who, exam[0], result)
    result["notes"]["alike_opened"] = opened
    menu_view(who, result, 5)
    who.quit()


def sc_signal(who, job, result):
    import learner_view as lv
    who.start()
    who.wait_first_window(job["timeout"])
    if menu_view(who, result) is None:
        return
    who.proc.send_signal(lv.signal_number(job["args"]["signal"]))
    try:
        who.proc.wait(5)
    except subprocess.TimeoutExpired:
        pass


def sc_second(who, job, result):
    import learner_view as lv
    who.start()
    who.wait_first_window(job["timeout"])
    if menu_view(who, result) is None:
        return
    second = subprocess.Popen([os.path.join(job["folder"], "morvela")], cwd=job["folder"], env=who.env,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    windows = []
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline and second.poll() is None:
        windows = windows or lv.x_windows(second.pid)
        time.sleep(0.05)
    result["notes"]["second_exit"] = second.poll()
    result["notes"]["second_windows"] = [n for _, n in windows]
    if second.poll() is None:
        second.kill()
        second.wait()
    result["notes"]["first_alive"] = who.alive()
    who.quit()


def sc_lesson1(who, job, result):
    import learner_view as lv
    server = lv.HungSoundServer(os.path.join(job["env"]["TMPDIR"], "hung-sound-server"))
    who.env = dict(who.env, PULSE_SERVER="unix:" + server.path)
    who.start()
    who.wait_first_window(job["timeout"])
    menu = menu_view(who, result)
    if menu is None:
        return
    t0 = time.monotonic()
    who.press(menu, "Lesson1")
    deadline = t0 + 8
    while time.monotonic() < deadline and who.alive():
        if any("Lesson1" in n for _, n in lv.x_windows(who.proc.pid)):
            result["notes"]["lesson_window_after"] = time.monotonic() - t0
            break
        time.sleep(0.05)
    result["notes"]["sound_connections"] = len(server.held)
    who.shot("lesson1")


def sc_longpath(who, job, result):
    """The program folder so deep that the path of a file in it is longer
    than the system allows (the folder itself just fits)."""
    base = job["folder"]
    fd = os.open(base, os.O_RDONLY | os.O_DIRECTORY)
    length = len(base)
    while length < 4060:
        name = "d" * min(200, 4085 - length - 1)
        os.mkdir(name, dir_fd=fd)
        nfd = os.open(name, os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
        os.close(fd)
        fd = nfd
        length += 1 + len(name)
    copy_program(job["bin_dir"], None, dest_fd=fd)
    result["notes"]["folder_path_length"] = length
    result["long_before"] = snapshot(base)
    who.start(argv=["./morvela"], cwd="/", preexec=lambda: os.fchdir(fd))
    who.wait_first_window(job["timeout"])
    menu_view(who, result)
    if who.alive():
        who.quit()
    result["long_after"] = snapshot(base)


SCENARIOS = {"menu": sc_menu, "game": sc_game, "exam": sc_exam, "alike": sc_alike, "signal": sc_signal,
             "second": sc_second, "lesson1": sc_lesson1, "longpath": sc_longpath}


if __name__ == "__main__":
    child(sys.argv[1])
