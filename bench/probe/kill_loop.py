"""SIGKILL at random moments of the real binary's saves, and the in-process
kill benchmark beside it."""
import os
import re
import subprocess
import tempfile
import time

from folders import Place, program_env, progress_bytes, progress_lines, read, whole_progress, whole_score


def kill_loop(run_root, bin_dir, per_mode, quit_offset, rng):
    """SIGKILL at random moments of the program's own saves: while start-up
    creates the files, while it repairs a damaged progress file (backup,
    then rewrite), and just after "終了" (the save on leaving). The same
    folder is used again and again, so every start also meets the lock the
    killed one left. Returns rows of (mode, kills, survived, notes)."""
    rows = []
    modes = [("start-up creating morvela.ini and game.ini", "create"),
             ("start-up repairing a damaged morvela.ini", "repair")]
    if quit_offset:
        modes.append(("saving on 終了", "quit"))
    for label, mode in modes:
        place = Place(run_root, "kill-" + mode, bin_dir)
        env = program_env(place)
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")
        damaged = progress_bytes(progress_lines()[:9])
        survived, notes, moments, hiccups = 0, {}, {}, 0
        # The kills aim at the moment the files are written, which moves
        # with the machine's load: an estimate, nudged later after each
        # kill that came too early and earlier after each that came late,
        # keeps them landing on both sides of it.
        aim = 0.02 if mode == "quit" else 0.9 * (startup_time(place, env) or 1.0)
        strays = set()
        for i in range(per_mode):
            for n in os.listdir(place.prog):
                if n.endswith(".bak") or n.startswith("morvela.ini") or n.startswith("game.ini"):
                    os.remove(place.path(n))
            if mode == "repair":
                place.write("morvela.ini", damaged)
            elif mode == "quit":
                place.write("morvela.ini", progress_bytes())
                place.write("game.ini", b" 3 \r\n\r\n\r\n\r\n\r\n\r\n")
            t0 = time.monotonic()
            err = open(os.path.join(place.out, "stderr"), "w+")
            proc = subprocess.Popen([place.path("morvela")], cwd=place.prog, env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=err)
            wid = None
            if mode == "quit":
                wid = wait_menu_window(proc, 10)
                if wid is None:
                    err.seek(0)
                    if "could not connect to display" in err.read():
                        # The X server refused a connection for a moment: the
                        # machine's, not the program's (counted apart).
                        hiccups += 1
                    else:
                        why = "start ended (exit %s) without a window" % proc.returncode if proc.poll() is not None \
                            else "no window within 10 s"
                        notes[why] = notes.get(why, 0) + 1
                else:
                    subprocess.run(["xdotool", "mousemove", "--window", wid, str(quit_offset[0]), str(quit_offset[1])],
                                   capture_output=True)
                    t0 = time.monotonic()
                    clicker = subprocess.Popen(["xdotool", "click", "1"], stderr=subprocess.DEVNULL)
            delay = aim * rng.uniform(0.7, 1.3)
            time.sleep(max(0.0, t0 + delay - time.monotonic()))
            ended = proc.poll() is not None
            proc.kill()
            proc.wait()
            if mode == "quit" and wid is not None:
                clicker.wait()
            err.close()
            ok, why = files_whole_after_kill(place, mode, damaged)
            moment = kill_moment(place, mode, damaged, ended)
            moments[moment] = moments.get(moment, 0) + 1
            aim *= 1.06 if moment in EARLY else 0.94
            survived += ok
            if not ok:
                notes[why] = notes.get(why, 0) + 1
            strays.update(n for n in os.listdir(place.prog) if re.search(r"\.(ini|wk\d)\..+", n) and not n.endswith(".bak"))
        # One more start must find its way past the last kill's lock.
        proc = subprocess.Popen([place.path("morvela")], cwd=place.prog, env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        after_ok = wait_menu_window(proc, 10) is not None
        proc.kill(); proc.wait()
        if not after_ok:
            notes["no menu after the last kill"] = 1
        if hiccups:
            moments["X server refused the start"] = hiccups
        rows.append((label, mode, per_mode, survived, notes, sorted(strays), moments))
    return rows


def startup_time(place, env):
    t0 = time.monotonic()
    proc = subprocess.Popen([place.path("morvela")], cwd=place.prog, env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shown = wait_menu_window(proc, 10)
    took = time.monotonic() - t0
    proc.kill()
    proc.wait()
    for n in os.listdir(place.prog):
        if n.startswith(("morvela.ini", "game.ini")):
            os.remove(place.path(n))
    return took if shown else None


def wait_menu_window(proc, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline and proc.poll() is None:
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(proc.pid), "--name", "^Morvela Ver"],
                             capture_output=True, text=True).stdout.split()
        if out:
            return out[0]
        time.sleep(0.02)
    return None


EARLY = ("while it ran", "before any file", "between the two", "before the repair")


def kill_moment(place, mode, damaged, ended):
    """Where in the program's work a kill landed, as far as the files tell."""
    if mode == "quit":
        return "after it ended" if ended else "while it ran"
    ini = read(place, "morvela.ini")
    if mode == "create":
        return "before any file" if ini is None else "after creating" if read(place, "game.ini") else "between the two"
    return "before the repair" if ini == damaged else "after the repair"


def files_whole_after_kill(place, mode, damaged):
    ini = read(place, "morvela.ini")
    if ini is not None and ini != damaged and whole_progress(ini) is None:
        return False, "torn morvela.ini"
    if mode == "repair" and ini is not None and ini != damaged:
        backups = [n for n in os.listdir(place.prog) if n != "morvela.ini" and read(place, n) == damaged]
        if not backups:
            return False, "repaired without a whole backup"
    if mode == "quit" and ini is None:
        return False, "morvela.ini gone"
    score = read(place, "game.ini")
    if score is not None and whole_score(score) is None:
        return False, "torn game.ini"
    return True, ""


def save_kill_bench(bench, kills):
    """The in-process kill benchmark: (rows of its output, kills, kills survived)."""
    if not bench or not os.access(bench, os.X_OK):
        return [], 0, 0
    with tempfile.TemporaryDirectory(prefix="probe-savekill-") as tmp:
        out = subprocess.run([bench, str(kills)], capture_output=True, text=True, cwd=tmp,
                             env=dict(os.environ, TMPDIR=tmp)).stdout
    total = survived = 0
    rows = []
    for line in out.splitlines():
        m = re.search(r"^(.*?)\s+kills\s+(\d+).*torn (\d+).*partial backups (\d+)", line)
        if m:
            k, torn, partial = int(m.group(2)), int(m.group(3)), int(m.group(4))
            total += k
            survived += k - torn - partial
            rows.append((m.group(1).strip(), k, k - torn - partial, line.strip()))
    return rows, total, survived
