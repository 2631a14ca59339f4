#!/usr/bin/python3
"""Black-box probe of the built program: hostile files, folders, signals and
environments, and SIGKILL at random moments of its saves, each tried on the
real binary in a fresh copy of the program folder. Prints one row per case
(trial, what the learner must meet, what was met, PASS or FAULT) and a
summary: cases tried, faults, kills survived.

Run through bench/probe/run.sh, which gives it a private X server and a
session bus. Every trial runs in a session of its own (scenarios.py), as root
or, where permissions matter, as the unprivileged user 65534.
"""
import argparse
import json
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from cases import Seen, short, trials
from folders import NOBODY, PROGRAM_FILES, Place, program_env, snapshot
from kill_loop import kill_loop, save_kill_bench

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT_SCRATCH = "/tmp"
CHILD_FILES = ("scenarios.py", "learner_view.py", "folders.py")


def run_trial(trial, run_root, index):
    place = Place(run_root, "%02d" % index, BIN_DIR)
    if trial.prepare:
        trial.prepare(place)
    before = snapshot(place.prog)
    data_dir = os.path.join(place.home, ".local/share/morvela")
    data_before = snapshot(data_dir)
    t0 = time.monotonic()
    if trial.scenario == "nodisplay":
        result = run_without_display(place)
    else:
        result = run_child(trial, place)
    result["duration"] = time.monotonic() - t0
    # Permissions back, so the judge (root) and the clean-up see everything.
    after = snapshot(place.prog)
    if trial.scenario == "longpath":
        before, after = result.pop("long_before", {}), result.pop("long_after", {})
    seen = Seen(result, before, after, place, data_before, snapshot(data_dir))
    if result.get("error"):
        seen.faults.append("probe error: " + result["error"])
    else:
        trial.judge(seen)
    return seen


def run_child(trial, place):
    env = program_env(place, trial.env)
    job = {"trial": trial.name, "scenario": trial.scenario, "folder": place.prog, "out": place.out,
            "env": env, "args": trial.args, "timeout": trial.timeout, "bin_dir": BIN_DIR}
    job_path = os.path.join(place.out, "job.json")
    with open(job_path, "w") as f:
        json.dump(job, f)
    os.chmod(job_path, 0o644)
    argv = ["dbus-run-session", "--", sys.executable, os.path.join(place.out, "scenarios.py"), job_path]
    for f in CHILD_FILES:
        shutil.copy(os.path.join(HERE, f), place.out)
    if trial.user == "nobody":
        argv = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups", "--"] + argv
    child_env = {"PROBE_TRACE": os.environ.get("PROBE_TRACE", ""), "PATH": env["PATH"], "DISPLAY": env["DISPLAY"], "HOME": place.home, "LANG": "C.UTF-8",
                 "TMPDIR": place.tmp, "XDG_RUNTIME_DIR": place.runtime}
    log = open(os.path.join(place.root, "child.log"), "w")
    proc = subprocess.Popen(argv, env=child_env, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                            start_new_session=True)
    try:
        proc.wait(trial.timeout + 90)
    except subprocess.TimeoutExpired:
        pass
    # Whatever the child left (its buses, a program it could not end) goes:
    # all of it lies in the session this probe started for the trial.
    try:
        os.killpg(proc.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    proc.wait()
    log.close()
    try:
        with open(os.path.join(place.out, "result.json")) as f:
            return json.load(f)
    except (OSError, ValueError):
        with open(os.path.join(place.root, "child.log")) as f:
            tail = f.read()[-300:]
        return {"error": "no result from the trial's session: " + short(tail, 200), "messages": [], "notes": {}}


def run_without_display(place):
    env = program_env(place)
    for k in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON"):
        env.pop(k, None)
    t0 = time.monotonic()
    try:
        p = subprocess.run([place.path("morvela")], cwd=place.prog, env=env, capture_output=True, text=True,
                           timeout=10)
        rc, err = p.returncode, p.stderr
    except subprocess.TimeoutExpired as e:
        rc, err = None, (e.stderr or b"").decode(errors="replace")
    return {"exit": rc if rc is not None and rc >= 0 else None, "signal": -rc if rc is not None and rc < 0 else None,
            "stderr": err, "ended_by_probe": rc is None, "t_first_window": None, "messages": [], "notes": {},
            "took": time.monotonic() - t0}


def observed(s):
    r = s.r
    parts = []
    if r.get("error"):
        return "probe error"
    if s.place and r.get("t_first_window") is not None:
        parts.append("window %.1fs" % r["t_first_window"])
    if r.get("menu"):
        st = s.status()
        parts.append("menu" + (" L0=%s" % st if st and st != "未" else ""))
    for m in r.get("messages", [])[:2]:
        parts.append("msg「%s」" % short(m["text"], 46))
    n = r.get("notes", {})
    for key in ("lesson_window_after", "second_exit"):
        if n.get(key) is not None:
            parts.append("%s=%s" % (key, round(n[key], 1) if isinstance(n[key], float) else n[key]))
    if r.get("signal"):
        parts.append("killed by signal %d" % r["signal"])
    elif r.get("ended_by_probe"):
        parts.append("still running (ended by probe)")
    elif r.get("exit") is not None:
        parts.append("exit %d" % r["exit"])
    if r.get("stderr"):
        parts.append("stderr「%s」" % short(r["stderr"].strip(), 50))
    return "; ".join(parts)


def main():
    global BIN_DIR
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("bin_dir", help="the built program folder (build/bin)")
    ap.add_argument("--kills", type=int, default=60, help="SIGKILLs of the real binary per save path (default 60)")
    ap.add_argument("--bench", help="save_kill_bench to run as well (default: beside bin_dir in ../bench)")
    ap.add_argument("--bench-kills", type=int, default=300, help="kills per save path of save_kill_bench")
    ap.add_argument("--only", help="run only the trials whose name contains this text ('kill': only the kill loops)")
    ap.add_argument("--keep", action="store_true", help="keep the scratch folders")
    ap.add_argument("--seed", type=int, default=21)
    a = ap.parse_args()
    BIN_DIR = os.path.abspath(a.bin_dir)
    for f in PROGRAM_FILES:
        if not os.path.exists(os.path.join(BIN_DIR, f)):
            sys.exit("probe: %s has no %s: build the program first" % (BIN_DIR, f))
    if os.geteuid() != 0:
        sys.exit("probe: run as root (the permission trials run the program as user %d)" % NOBODY)
    rng = random.Random(a.seed)
    run_root = tempfile.mkdtemp(prefix="probe-", dir=ROOT_SCRATCH)
    os.chmod(run_root, 0o755)
    started = time.monotonic()
    print("Black-box probe of %s/morvela (scratch %s)" % (BIN_DIR, run_root), flush=True)

    rows = []
    quit_offset = None
    chosen = [t for t in trials(rng, BIN_DIR) if not a.only or a.only in t.name]
    for i, t in enumerate(chosen, 1):
        try:
            seen = run_trial(t, run_root, i)
        except Exception as e:  # noqa: BLE001 - one broken case must not stop the rest
            seen = Seen({"error": "%s: %s" % (type(e).__name__, e), "notes": {}}, {}, {}, None)
            seen.faults.append("probe error: " + seen.r["error"])
        quit_offset = quit_offset or seen.r.get("notes", {}).get("quit_offset")
        verdict = "FAULT" if seen.faults else "PASS"
        rows.append((t.name, t.expected, observed(seen), verdict, seen.faults))
        print("%-5s %s  (%.1f s)%s" % (verdict, t.name, seen.r.get("duration", 0),
                                       "\n      " + "; ".join(seen.faults) if seen.faults else ""), flush=True)
        if not a.keep:
            shutil.rmtree(os.path.join(run_root, "%02d" % i), ignore_errors=True)

    kills = []
    if (not a.only or a.only == "kill") and a.kills > 0:
        if quit_offset is None:  # where "終了" sits, from a plain start
            learn = next(t for t in trials(rng, BIN_DIR) if t.args.get("learn_quit"))
            quit_offset = run_trial(learn, run_root, 0).r.get("notes", {}).get("quit_offset")
        print("kill loop: %d SIGKILLs of the real binary per save path..." % a.kills, flush=True)
        kills = kill_loop(run_root, BIN_DIR, a.kills, quit_offset, rng)
    bench = a.bench or os.path.join(os.path.dirname(BIN_DIR), "bench", "save_kill_bench")
    bench_rows, bench_total, bench_ok = ([], 0, 0)
    if (not a.only or a.only == "kill") and a.bench_kills > 0:
        print("save_kill_bench %d (in-process)..." % a.bench_kills, flush=True)
        bench_rows, bench_total, bench_ok = save_kill_bench(bench, a.bench_kills)
        if not bench_rows:
            print("  (no %s: build it with cmake --build build --target save_kill_bench)" % bench)

    for label, mode, n, ok, notes, strays, moments in kills:
        faults = ["%s × %d" % (k, v) for k, v in notes.items()]
        rows.append(("kill loop: SIGKILL during " + label + " (%d)" % n,
                     "every file whole after each kill; the next start passes the stale lock",
                     "%d of %d whole (%s)%s" % (ok, n, ", ".join("%s %d" % kv for kv in sorted(moments.items())),
                                                "; leftovers " + ", ".join(strays[:3]) if strays else ""),
                     "FAULT" if faults or ok < n else "PASS", faults))
    for label, n, ok, line in bench_rows:
        rows.append(("save_kill_bench: " + label + " (%d, in-process)" % n, "no torn file, no partial backup",
                     "%d of %d whole" % (ok, n), "PASS" if ok == n else "FAULT", []))

    print_table(rows)
    faults = sum(1 for r in rows if r[3] == "FAULT")
    bb_kills = sum(k[2] for k in kills)
    bb_ok = sum(k[3] for k in kills)
    print("\ncases tried: %d   faults: %d   kills survived: %d of %d (real binary %d of %d, in-process %d of %d)"
          % (len(rows), faults, bb_ok + bench_ok, bb_kills + bench_total, bb_ok, bb_kills, bench_ok, bench_total))
    print("took %.0f s" % (time.monotonic() - started))
    if not a.keep:
        shutil.rmtree(run_root, ignore_errors=True)
    return 1 if faults else 0


def print_table(rows):
    print("\n| trial | expected | observed | verdict |")
    print("|---|---|---|---|")
    for name, expected, seen, verdict, faults in rows:
        cell = seen.replace("|", "/")
        if faults:
            cell += " — " + "; ".join(faults).replace("|", "/")
        print("| %s | %s | %s | %s |" % (name, expected, cell, verdict))


BIN_DIR = None

if __name__ == "__main__":
    sys.exit(main())
