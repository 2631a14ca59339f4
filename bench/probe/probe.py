#!/usr/bin/python3
"""Black-box probe of the built program: hostile files, folders, signals and
environments, and SIGKILL at random moments of its saves, each tried on the
real binary in a fresh copy of the program folder. Prints one row per case
(trial, what the learner must meet, what was met, PASS or FAULT) and a
summary: cases tried, faults, kills survived.

Run through bench/probe/run.sh, which gives it a private X server and a
session bus. Every trial runs in a session of its own (`--child`), as root
or, where permissions matter, as the unprivileged user 65534.
"""
import argparse
import hashlib
import json
import os
import random
import re
import shutil
import signal
import socket
import stat
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
NOBODY = 65534
ROOT_SCRATCH = "/tmp"
MENU_TITLE = "Morvela Ver.4.0"

# ----------------------------------------------------------------- files
LINE_END = b"\r\n"


def progress_lines(lesson0="完了", furthest="00-03"):
    return ["", "99分99", "99分99", lesson0] + ["未"] * 10 + [furthest, " 1 "]


def progress_bytes(lines=None, encoding="cp932"):
    return b"".join(line.encode(encoding) + LINE_END for line in (lines or progress_lines()))


def whole_progress(data):
    """The file's sixteen lines, or None when it is not a whole progress file."""
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError:
        return None
    if not text.endswith("\r\n"):
        return None
    lines = text[:-2].split("\r\n")
    return lines if len(lines) == 16 else None


def whole_score(data):
    try:
        text = data.decode("ascii")
    except UnicodeDecodeError:
        return None
    lines = text.split("\r\n")
    if len(lines) != 7 or lines[-1] or not re.fullmatch(r" ?\d+ ?", lines[0]):
        return None
    return int(lines[0])


JAPANESE = re.compile(r"[\u3040-\u30ff\u3400-\u9fff\uff66-\uff9f]")


def japanese(text):
    return bool(JAPANESE.search(text or ""))


def fingerprint(fd_dir, name):
    """Kind, size, real disk use and a digest (of the first and last MiB
    for a large file, so a sparse giant costs little to look at)."""
    st = os.stat(name, dir_fd=fd_dir, follow_symlinks=False)
    if not stat.S_ISREG(st.st_mode):
        return {"kind": "dir" if stat.S_ISDIR(st.st_mode) else "other", "mode": st.st_mode & 0o7777}
    h = hashlib.sha256()
    fd = os.open(name, os.O_RDONLY, dir_fd=fd_dir)
    try:
        if st.st_size > 64 << 20:
            h.update(os.pread(fd, 1 << 20, 0))
            h.update(os.pread(fd, 1 << 20, st.st_size - (1 << 20)))
            h.update(str(st.st_size).encode())
        else:
            while True:
                chunk = os.read(fd, 1 << 20)
                if not chunk:
                    break
                h.update(chunk)
    finally:
        os.close(fd)
    return {"kind": "file", "size": st.st_size, "disk": st.st_blocks * 512, "sha": h.hexdigest()[:16],
            "mode": st.st_mode & 0o7777}


def snapshot(top):
    """Every file and folder under `top` (paths of any length), by relative path."""
    files = {}
    if not os.path.lexists(top):
        return files
    for dirpath, dirnames, filenames, dirfd in os.fwalk(top):
        rel = os.path.relpath(dirpath, top)
        for name in dirnames + filenames:
            key = os.path.normpath(os.path.join(rel, os.fsdecode(name) if isinstance(name, bytes) else name))
            try:
                files[key] = fingerprint(dirfd, name)
            except OSError as e:
                files[key] = {"kind": "error", "error": str(e)}
    return files


def disk_use(files):
    return sum(f.get("disk", 0) for f in files.values())


# ----------------------------------------------------------------- a trial's folder
class Place:
    """The scratch folder of one trial: the program folder (prog), a home
    (home) and a temporary folder, under /tmp/probe-<run>/<trial>."""

    def __init__(self, root, name, bin_dir):
        self.root = os.path.join(root, name)
        self.prog = os.path.join(self.root, "prog")
        self.home = os.path.join(self.root, "home")
        self.tmp = os.path.join(self.root, "tmp")
        self.out = os.path.join(self.root, "out")
        self.runtime = os.path.join(self.root, "runtime")
        for d in (self.prog, self.home, self.tmp, self.out, self.runtime):
            os.makedirs(d)
        os.chmod(self.runtime, 0o700)
        os.chmod(self.tmp, 0o1777)
        os.chmod(self.out, 0o777)
        copy_program(bin_dir, self.prog)
        self.user = "root"

    def path(self, name):
        return os.path.join(self.prog, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def sparse(self, name, size, head=b""):
        with open(self.path(name), "wb") as f:
            f.write(head)
            f.truncate(size)

    def remove(self, name):
        p = self.path(name)
        shutil.rmtree(p) if os.path.isdir(p) else os.remove(p)

    def keep_only_exam(self, name):
        for f in os.listdir(self.prog):
            if f.endswith(".ken") and f != name:
                os.remove(self.path(f))

    def give_to_nobody(self):
        """The program folder, home and temporary folder owned by the
        unprivileged user the program will run as."""
        self.user = "nobody"
        os.chmod(self.root, 0o755)
        os.chown(self.runtime, NOBODY, NOBODY)
        for top in (self.prog, self.home):
            for dirpath, dirnames, filenames in os.walk(top):
                for n in [dirpath] + [os.path.join(dirpath, f) for f in filenames]:
                    os.chown(n, NOBODY, NOBODY, follow_symlinks=False)


PROGRAM_FILES = ("morvela", "morvela_click.so", "Keyboard.bmp", "game.dat")


def copy_program(bin_dir, dest, dest_fd=None):
    names = list(PROGRAM_FILES) + sorted(f for f in os.listdir(bin_dir) if f.endswith(".ken"))
    for name in names:
        src = os.path.join(bin_dir, name)
        if dest_fd is None:
            shutil.copy2(src, os.path.join(dest, name))
        else:
            with open(src, "rb") as fi:
                fd = os.open(name, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, os.stat(src).st_mode & 0o777, dir_fd=dest_fd)
                with os.fdopen(fd, "wb") as fo:
                    shutil.copyfileobj(fi, fo)


def program_env(place, extra=None):
    env = {
        "PATH": "/usr/local/bin:/usr/bin:/bin",
        "DISPLAY": os.environ.get("DISPLAY", ""),
        "HOME": place.home,
        "TMPDIR": place.tmp,
        "LANG": "C.UTF-8",
        "LC_ALL": "C.UTF-8",
        "QT_QPA_PLATFORM": "xcb",
        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        # No sound server unless a trial brings one: nothing is autospawned.
        "PULSE_SERVER": "unix:" + os.path.join(place.tmp, "no-sound-server"),
        "PULSE_RUNTIME_PATH": os.path.join(place.tmp, "pulse"),
        "XDG_RUNTIME_DIR": place.runtime,
    }
    env.update(extra or {})
    return env


# ----------------------------------------------------------------- trials
class Trial:
    """One case: how its folder is laid, what the learner does (a scenario
    the child runs), what must be met, and how what was met is judged."""

    def __init__(self, name, expected, prepare=None, scenario="menu", user="root", judge=None,
                 env=None, timeout=10, args=None):
        self.name, self.expected, self.prepare = name, expected, prepare
        self.scenario, self.user, self.judge, self.env = scenario, user, judge, env or {}
        self.timeout, self.args = timeout, args or {}


class Seen:
    """What a trial met, with the questions the judges ask of it."""

    def __init__(self, result, before, after, place, data_before=None, data_after=None):
        self.r, self.before, self.after, self.place = result, before, after, place
        self.data_before, self.data_after = data_before or {}, data_after or {}
        self.faults = []

    # --- the run
    @property
    def messages(self):
        return self.r.get("messages", [])

    def messages_naming(self, name):
        return [m["text"] for m in self.messages if name in m["text"]]

    def menu(self):
        return self.r.get("menu")

    def status(self, row="Lesson0"):
        m = self.menu() or {}
        return m.get("boxes", {}).get(row + "の状態")

    def require(self, ok, what):
        if not ok:
            self.faults.append(what)
        return ok

    # --- common demands
    def no_crash(self):
        sig = self.r.get("signal")
        self.require(sig is None, "ended by signal %s" % sig)
        self.require(not self.r.get("froze"), "did not answer in time (frozen)")

    def window_within(self, seconds):
        t = self.r.get("t_first_window")
        self.require(t is not None and t <= seconds,
                     "first window after %s" % ("never" if t is None else "%.1f s" % t))

    def reached_menu(self):
        self.require(self.menu() is not None, "the menu never showed")

    def no_message(self):
        self.require(not self.messages, "unexpected message: %s" % short(self.messages[0]["text"]) if self.messages else "")

    def message_about(self, name, not_containing=(), first_line_japanese=False):
        texts = self.messages_naming(name)
        if not self.require(texts, "no message naming %s" % name):
            return None
        text = texts[0]
        self.require(japanese(text), "message not in Japanese")
        if first_line_japanese:
            self.require(japanese(text.split("\n")[0]), "message opens in English")
        for bad in not_containing:
            self.require(bad not in text, "message says %r" % bad)
        return text

    def untouched(self, name):
        self.require(self.before.get(name) == self.after.get(name), "%s changed or gone" % name)

    def learner_files_kept(self, allowed=()):
        """Every file that was there before is still there, unchanged,
        except the program's own records that it may rewrite."""
        for name, f in self.before.items():
            if name in allowed:
                continue
            if name not in self.after:
                self.faults.append("%s deleted" % name)
            elif self.after[name] != f and f.get("kind") == "file":
                self.faults.append("%s changed" % name)

    def kept_somewhere(self, name):
        """The original bytes of `name` are in some file after the run (the
        file itself, untouched, or a backup of it)."""
        orig = self.before.get(name)
        if not orig or orig.get("kind") != "file":
            return True
        found = [n for n, f in list(self.after.items()) + list(self.data_after.items())
                 if f.get("kind") == "file" and f.get("sha") == orig["sha"] and f.get("size") == orig["size"]]
        return self.require(found, "original %s lost (no copy of its bytes left)" % name)

    def no_lock_left(self):
        left = [n for n in list(self.after) + list(self.data_after) if n.endswith("morvela.lock")]
        self.require(not left, "lock file left behind")


def short(text, n=60):
    text = (text or "").replace("\n", " / ")
    return text if len(text) <= n else text[:n - 1] + "…"


# --- judges shared by many rows
def judge_fresh_start(s):
    s.no_crash(); s.window_within(5); s.reached_menu(); s.no_message()
    s.require(whole_progress(read(s.place, "morvela.ini") or b"") is not None, "morvela.ini not 16 whole lines")
    s.require(whole_score(read(s.place, "game.ini") or b"") is not None, "game.ini not whole")


def damaged_record(name, keeps_lesson0=False):
    def judge(s):
        s.no_crash(); s.window_within(5); s.reached_menu()
        s.message_about(name)
        s.kept_somewhere(name)
        if keeps_lesson0:
            s.require(s.status() == "完了", "progress lost: Lesson0 shows %r" % s.status())
    return judge


def unreadable_record(name):
    def judge(s):
        s.no_crash(); s.window_within(5)
        s.message_about(name, not_containing=("壊れ",), first_line_japanese=True)
        s.untouched(name)
    return judge


def folder_in_place(name):
    def judge(s):
        s.no_crash(); s.window_within(5)
        s.message_about(name)
        s.learner_files_kept()
    return judge


def huge_record(name, head):
    def judge(s):
        s.no_crash(); s.window_within(5)
        s.message_about(name)
        grown = disk_use(s.after) - disk_use(s.before)
        s.require(grown <= 8 << 20, "program folder grew by %.0f MiB of real disk" % (grown / 2 ** 20))
        # The file kept (in place or renamed), or a backup of the part the
        # program reads: the file's head and the zeros after it.
        orig = s.before[name]
        whole = [n for n, f in s.after.items() if f.get("sha") == orig["sha"] and f.get("size") == orig["size"]]
        heads = [n for n, f in s.after.items() if n not in s.before and f.get("kind") == "file"
                 and len(head) <= f["size"] <= 64 << 20
                 and f["sha"] == sha16(head + bytes(f["size"] - len(head)))]
        s.require(whole or heads, "original %s lost: neither kept nor its head backed up" % name)
    return judge


def sha16(data):
    return hashlib.sha256(data).hexdigest()[:16]


def picture_problem(s):
    s.no_crash(); s.window_within(5)
    s.message_about("Keyboard.bmp", not_containing=("ファイルがありません", "見つかりません"))
    s.learner_files_kept()


def game_refused(s):
    s.no_crash(); s.window_within(5); s.reached_menu()
    s.message_about("game.dat")
    s.require(not s.r["notes"].get("game_window"), "a game started on the word list")


def temporaries_kept(s):
    s.no_crash(); s.reached_menu()
    s.learner_files_kept(allowed=("morvela.ini", "game.ini"))


def read(place, name):
    try:
        with open(place.path(name), "rb") as f:
            return f.read(1 << 20)
    except OSError:
        return None


# --- the rows
def trials(rng):
    T = []
    lesson0_done = progress_bytes()

    def lay(**files):
        def prepare(p):
            for name, data in files.items():
                name = name.replace("__", ".")
                if data is None or data == "DIR":
                    if os.path.lexists(p.path(name)):
                        p.remove(name)
                if data == "DIR":
                    os.mkdir(p.path(name))
                    with open(os.path.join(p.path(name), "notes.txt"), "w") as f:
                        f.write("the learner's own\n")
                elif data is not None:
                    p.write(name, data)
        return prepare

    # progress file
    T.append(Trial("morvela.ini missing", "menu, no message; morvela.ini (16 lines) and game.ini created",
                   judge=judge_fresh_start, args={"learn_quit": True}))
    T.append(Trial("morvela.ini empty", "menu; a message names morvela.ini (Japanese) if any; file whole after",
                   lay(morvela__ini=b""), judge=lambda s: (
                       s.no_crash(), s.window_within(5), s.reached_menu(),
                       [s.message_about("morvela.ini") for _ in s.messages[:1]],
                       s.require(whole_progress(read(s.place, "morvela.ini") or b"") is not None,
                                 "morvela.ini not whole after start"))))
    T.append(Trial("morvela.ini short (5 of 16 lines)",
                   "menu with Lesson0 完了; Japanese message names morvela.ini; original kept as backup",
                   lay(morvela__ini=progress_bytes(progress_lines()[:5])), judge=damaged_record("morvela.ini", True)))
    T.append(Trial("morvela.ini huge (4 GiB sparse)",
                   "window within 5 s; backup costs no more disk than is read (≤8 MiB); message names morvela.ini",
                   lambda p: p.sparse("morvela.ini", 4 << 30, progress_bytes()), judge=huge_record("morvela.ini", progress_bytes()),
                   timeout=120))
    T.append(Trial("morvela.ini binary (random bytes)",
                   "menu; Japanese message names morvela.ini; original kept as backup",
                   lay(morvela__ini=rng.randbytes(2048)), judge=damaged_record("morvela.ini")))
    T.append(Trial("morvela.ini in UTF-8",
                   "menu; Lesson0 完了 read, or a Japanese message naming morvela.ini with the original kept",
                   lay(morvela__ini=progress_bytes(encoding="utf-8")), judge=lambda s: (
                       s.no_crash(), s.window_within(5), s.reached_menu(),
                       s.status() == "完了" or (s.message_about("morvela.ini"), s.kept_somewhere("morvela.ini")))))
    T.append(Trial("morvela.ini unreadable (mode 000, user 65534)",
                   "Japanese message names morvela.ini, not 'broken' (壊れ), no English lead; file untouched",
                   lambda p: (p.write("morvela.ini", lesson0_done), p.give_to_nobody(),
                              os.chmod(p.path("morvela.ini"), 0)),
                   user="nobody", judge=unreadable_record("morvela.ini")))
    T.append(Trial("morvela.ini a folder", "Japanese message names morvela.ini; the folder and its content kept",
                   lay(morvela__ini="DIR"), judge=folder_in_place("morvela.ini")))

    # game score file
    T.append(Trial("game.ini missing", "menu, no message; game.ini created (6 lines, 0)",
                   lay(morvela__ini=lesson0_done), judge=judge_fresh_start))
    T.append(Trial("game.ini empty", "menu, high score 0; any message Japanese naming game.ini",
                   lay(morvela__ini=lesson0_done, game__ini=b""), judge=lambda s: (
                       s.no_crash(), s.window_within(5), s.reached_menu(),
                       [s.message_about("game.ini") for _ in s.messages[:1]])))
    T.append(Trial("game.ini binary (random bytes)", "Japanese message names game.ini; original kept as backup",
                   lay(morvela__ini=lesson0_done, game__ini=rng.randbytes(300)), judge=damaged_record("game.ini")))
    T.append(Trial("game.ini high score negative", "Japanese message names game.ini; original kept as backup",
                   lay(morvela__ini=lesson0_done, game__ini=b" -5 \r\n\r\n\r\n\r\n\r\n\r\n"),
                   judge=damaged_record("game.ini")))
    T.append(Trial("game.ini high score of 30 digits", "Japanese message names game.ini; original kept as backup",
                   lay(morvela__ini=lesson0_done, game__ini=b" " + b"9" * 30 + b" \r\n\r\n\r\n\r\n\r\n\r\n"),
                   judge=damaged_record("game.ini")))
    T.append(Trial("game.ini in UTF-8 (byte-order mark)", "menu; score 120 read, or message names game.ini and original kept",
                   lay(morvela__ini=lesson0_done, game__ini=b"\xef\xbb\xbf 120 \r\n\r\n\r\n\r\n\r\n\r\n"),
                   judge=lambda s: (s.no_crash(), s.window_within(5), s.reached_menu(),
                                    (s.menu() or {}).get("boxes", {}).get("Label12") == "120"
                                    or (s.message_about("game.ini"), s.kept_somewhere("game.ini")))))
    T.append(Trial("game.ini huge (1 GiB sparse)", "window within 5 s; no gigabyte backup; message names game.ini",
                   lambda p: (p.write("morvela.ini", lesson0_done), p.sparse("game.ini", 1 << 30, b" 5 \r\n")),
                   judge=huge_record("game.ini", b" 5 \r\n"), timeout=60))
    T.append(Trial("game.ini unreadable (mode 000, user 65534)",
                   "Japanese message names game.ini, not 'broken' (壊れ), no English lead; file untouched",
                   lambda p: (p.write("morvela.ini", lesson0_done), p.write("game.ini", b" 7 \r\n\r\n\r\n\r\n\r\n\r\n"),
                              p.give_to_nobody(), os.chmod(p.path("game.ini"), 0)),
                   user="nobody", judge=unreadable_record("game.ini")))
    T.append(Trial("game.ini a folder", "Japanese message names game.ini; the folder and its content kept",
                   lay(morvela__ini=lesson0_done, game__ini="DIR"), judge=folder_in_place("game.ini")))

    # game word list
    T.append(Trial("game.dat missing", "message names game.dat; the program ends by itself",
                   lay(game__dat=None), judge=lambda s: (
                       s.no_crash(), s.message_about("game.dat"),
                       s.require(not s.r["ended_by_probe"], "did not end"))))
    for label, data in (("empty", b""), ("random bytes", rng.randbytes(4000)),
                        ("plain UTF-8 text", "りんご,果物\r\nみかん,果物\r\n".encode())):
        T.append(Trial("game.dat " + label, "game refused with a Japanese message naming game.dat; no game starts",
                       lay(morvela__ini=lesson0_done, game__dat=data), scenario="game", judge=game_refused))

    # keyboard picture
    T.append(Trial("Keyboard.bmp missing", "message names Keyboard.bmp; the program ends by itself",
                   lay(Keyboard__bmp=None), judge=lambda s: (
                       s.no_crash(), s.message_about("Keyboard.bmp"),
                       s.require(not s.r["ended_by_probe"], "did not end"))))
    bmp = open(os.path.join(BIN_DIR, "Keyboard.bmp"), "rb").read()
    for label, data in (("empty", b""), ("truncated", bmp[:len(bmp) * 2 // 5]),
                        ("not an image", "キーボードの絵\n".encode()), ("a folder", "DIR")):
        T.append(Trial("Keyboard.bmp " + label,
                       "at start-up a Japanese message names Keyboard.bmp and says what is wrong (not 'missing')",
                       lay(morvela__ini=lesson0_done, Keyboard__bmp=data), judge=picture_problem))
    T.append(Trial("over-long path (> PATH_MAX)",
                   "a Japanese message names Keyboard.bmp, not 'missing'; no crash or freeze",
                   scenario="longpath", judge=lambda s: (
                       s.no_crash(), s.window_within(5),
                       s.message_about("Keyboard.bmp", not_containing=("ファイルがありません", "見つかりません")))))

    # exam texts and work files
    T.append(Trial("exam text unreadable (mode 000, user 65534)",
                   "on 開始 a Japanese message names kisetsu.ken; no exam against an empty text",
                   lambda p: (p.keep_only_exam("kisetsu.ken"), p.write("morvela.ini", lesson0_done), p.give_to_nobody(),
                              os.chmod(p.path("kisetsu.ken"), 0)),
                   user="nobody", scenario="exam", judge=lambda s: (
                       s.no_crash(), s.reached_menu(), s.message_about("kisetsu"),
                       s.require(not s.r["notes"].get("exam_window"), "an exam opened"))))
    T.append(Trial("exam text binary (random bytes)", "exam opens or a Japanese message names the file; no crash",
                   lambda p: (p.keep_only_exam("kisetsu.ken"), p.write("kisetsu.ken", rng.randbytes(3000))),
                   scenario="exam", judge=lambda s: (
                       s.no_crash(), s.reached_menu(),
                       s.r["notes"].get("exam_window") or s.message_about("kisetsu"))))
    T.append(Trial("exam text huge (1 GiB sparse)", "within 5 s the exam opens or a message says why not",
                   lambda p: (p.keep_only_exam("kisetsu.ken"), p.sparse("kisetsu.ken", 1 << 30, "春".encode("cp932"))),
                   scenario="exam", judge=lambda s: (
                       s.no_crash(), s.reached_menu(),
                       s.require(s.r["notes"].get("exam_window") or s.messages,
                                 "no answer to 開始 within 5 s"))))
    T.append(Trial("two exam texts whose names display alike (CP932 and UTF-8 名前)",
                   "both listed; each entry opens its own file",
                   prepare=prepare_alike, scenario="alike", judge=judge_alike))
    for work in ("kentei.wk1", "kentei.wk2"):
        T.append(Trial(work + " a folder (exam finished)",
                       "on 入力完了 a Japanese message names %s; the folder kept" % work,
                       lambda p, w=work: (p.keep_only_exam("kisetsu.ken"), os.mkdir(p.path(w))),
                       scenario="exam", args={"complete": True}, judge=lambda s, w=work: (
                           s.no_crash(), s.require(s.r["notes"].get("exam_window"), "the exam did not open"),
                           s.message_about(w), s.learner_files_kept(allowed=("morvela.ini", "game.ini")))))

    # learner files named like the program's temporaries
    T.append(Trial("learner files named like temporaries",
                   "morvela.ini.backup, kentei.wk2.saved1, game.ini.abc123 survive start-up byte for byte",
                   lay(morvela__ini=lesson0_done, morvela__ini__backup=b"my notes\n", kentei__wk2__saved1=b"typed\r\n",
                       game__ini__abc123=b"keep me\n"), judge=temporaries_kept))

    # read-only program folder
    T.append(Trial("read-only program folder, no data folder possible (user 65534)",
                   "menu shows Lesson0 完了 (progress read where it is); a Japanese message says it cannot be saved",
                   prepare_read_only(home_writable=False), user="nobody", judge=lambda s: (
                       s.no_crash(), s.window_within(5), s.reached_menu(),
                       s.require(s.status() == "完了", "progress shown as lost: Lesson0 %r" % s.status()),
                       s.require(any(japanese(m["text"]) for m in s.messages), "no message that saving is impossible"),
                       s.learner_files_kept())))
    T.append(Trial("read-only program folder, writable data folder (user 65534)",
                   "menu shows Lesson0 完了; progress carried to ~/.local/share/morvela; program folder untouched",
                   prepare_read_only(home_writable=True), user="nobody", judge=lambda s: (
                       s.no_crash(), s.window_within(5), s.reached_menu(),
                       s.require(s.status() == "完了", "progress shown as lost: Lesson0 %r" % s.status()),
                       s.require(whole_progress(read_data(s.place, "morvela.ini") or b"") is not None,
                                 "no whole morvela.ini in the data folder"),
                       s.learner_files_kept())))

    # environment and signals
    T.append(Trial("no display (DISPLAY, WAYLAND_DISPLAY unset)",
                   "one line on stderr, non-zero exit, no abort", scenario="nodisplay", judge=judge_no_display))
    for sig in ("TERM", "HUP", "INT"):
        T.append(Trial("SIG%s while idle at the menu" % sig,
                       "ends by itself within 5 s (not killed by the signal); lock removed; files as before",
                       lay(morvela__ini=lesson0_done, game__ini=b" 7 \r\n\r\n\r\n\r\n\r\n\r\n"), scenario="signal", args={"signal": sig}, judge=judge_signal))
    T.append(Trial("a second instance", "second start ends within 5 s without a window; the first runs on",
                   lay(morvela__ini=lesson0_done), scenario="second", judge=lambda s: (
                       s.no_crash(), s.reached_menu(),
                       s.require(s.r["notes"].get("second_exit") is not None, "second start still running after 5 s"),
                       s.require(not s.r["notes"].get("second_windows"), "second start showed a window"),
                       s.require(s.r["notes"].get("first_alive"), "the first instance ended"))))
    dead_pid = spent_pid()
    for label, lock in (("of a dead process", "%d\nmorvela\n%s\n" % (dead_pid, socket.gethostname())),
                        ("naming a live other process", "1\nmorvela\n%s\n" % socket.gethostname()),
                        ("empty", "")):
        T.append(Trial("stale lock " + label, "the menu shows within 5 s",
                       lay(morvela__ini=lesson0_done, morvela__lock=lock.encode()), judge=lambda s: (
                           s.no_crash(), s.window_within(5), s.reached_menu())))

    T.append(Trial("hung sound server, Lesson 1 opened",
                   "the lesson window shows within 5 s of pressing Lesson1",
                   lay(morvela__ini=lesson0_done), scenario="lesson1", judge=lambda s: (
                       s.no_crash(), s.reached_menu(),
                       s.require((s.r["notes"].get("lesson_window_after") or 99) <= 5,
                                 "lesson window after %s" % (
                                     "%.1f s" % s.r["notes"]["lesson_window_after"]
                                     if s.r["notes"].get("lesson_window_after") else "more than 8 s")))))
    return T


def read_data(place, name):
    try:
        with open(os.path.join(place.home, ".local/share/morvela", name), "rb") as f:
            return f.read(1 << 20)
    except OSError:
        return None


def spent_pid():
    p = subprocess.Popen(["true"])
    p.wait()
    return p.pid


ALIKE_NAME = "模試"


def prepare_alike(p):
    p.keep_only_exam("__none__")
    texts = {ALIKE_NAME.encode("cp932"): "　一つ目の問題文です。\r\n", ALIKE_NAME.encode("utf-8"): "　二つ目の問題文です。\r\n"}
    for name, text in texts.items():
        with open(os.path.join(os.fsencode(p.prog), name + b".ken"), "wb") as f:
            f.write(text.encode("cp932"))


def judge_alike(s):
    s.no_crash(); s.reached_menu()
    opened = s.r["notes"].get("alike_opened", [])
    listed = s.r["notes"].get("exam_list", [])
    s.require(len(listed) == 2, "the list shows %d entries" % len(listed))
    firsts = [t.strip()[:5] if t else t for t in opened]
    s.require(len(opened) == 2 and all(opened) and firsts[0] != firsts[1],
              "the two entries opened %s" % (" and ".join("「%s」" % short(t, 12) for t in opened) or "nothing"))


def prepare_read_only(home_writable):
    def prepare(p):
        p.write("morvela.ini", progress_bytes())
        p.write("game.ini", b" 42 \r\n\r\n\r\n\r\n\r\n\r\n")
        p.user = "nobody"
        os.chmod(p.root, 0o755)
        os.chown(p.runtime, NOBODY, NOBODY)
        os.chmod(p.prog, 0o555)
        if home_writable:
            os.chown(p.home, NOBODY, NOBODY)
        else:
            os.chmod(p.home, 0o555)
    return prepare


def judge_no_display(s):
    lines = [l for l in s.r.get("stderr", "").splitlines() if l.strip()]
    s.require(s.r.get("signal") is None, "killed by signal %s (abort)" % s.r.get("signal"))
    s.require(s.r.get("exit") not in (None, 0, 134), "exit status %s" % s.r.get("exit"))
    s.require(len(lines) == 1, "%d lines on stderr" % len(lines))
    s.no_lock_left()


def judge_signal(s):
    s.require(not s.r.get("ended_by_probe"), "still running 5 s after the signal")
    s.require(s.r.get("signal") is None, "killed by the signal (status %s)" % (128 + (s.r.get("signal") or 0)))
    s.no_lock_left()
    s.learner_files_kept()
    stray = [n for n in s.after if n not in s.before and n != "morvela.lock"]
    s.require(not stray, "left behind: %s" % ", ".join(stray))


# ----------------------------------------------------------------- running a trial
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
    spec = {"trial": trial.name, "scenario": trial.scenario, "folder": place.prog, "out": place.out,
            "env": env, "args": trial.args, "timeout": trial.timeout, "bin_dir": BIN_DIR}
    spec_path = os.path.join(place.out, "spec.json")
    with open(spec_path, "w") as f:
        json.dump(spec, f)
    os.chmod(spec_path, 0o644)
    argv = ["dbus-run-session", "--", sys.executable, os.path.join(place.out, "probe.py"), "--child", spec_path]
    for f in ("probe.py", "learner_view.py"):
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


# ----------------------------------------------------------------- the kill loop
def kill_loop(run_root, per_mode, quit_offset, rng):
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
        place = Place(run_root, "kill-" + mode, BIN_DIR)
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


# ----------------------------------------------------------------- the child: one trial's session
def child(spec_path):
    sys.path.insert(0, os.path.dirname(os.path.abspath(spec_path)))
    with open(spec_path) as f:
        spec = json.load(f)
    out = spec["out"]
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(spec["env"], DBUS_SESSION_BUS_ADDRESS=os.environ.get("DBUS_SESSION_BUS_ADDRESS", ""))
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                           "org.a11y.Bus.GetAddress"], capture_output=True).returncode == 0:
            break
        time.sleep(0.1)
    import learner_view as lv
    log = open(os.path.join(out, "program.log"), "w+")
    who = lv.Learner(env, spec["folder"], out, log)
    result = {"notes": who.notes}
    try:
        SCENARIOS[spec["scenario"]](who, spec, result)
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


def sc_menu(who, spec, result):
    who.start()
    who.wait_first_window(spec["timeout"])
    menu = menu_view(who, result)
    if menu is not None and spec["args"].get("learn_quit"):
        # Where "終了" sits in the menu window, for the kill loop's clicks.
        import pyatspi
        b = who.find(menu, "終了", "push button").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        w = menu.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        result["notes"]["quit_offset"] = [b.x - w.x + b.width // 2, b.y - w.y + b.height // 2]
    if menu is not None or who.alive():
        who.quit()


def sc_game(who, spec, result):
    who.start()
    who.wait_first_window(spec["timeout"])
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


def sc_exam(who, spec, result):
    import learner_view as lv
    who.start()
    who.wait_first_window(spec["timeout"])
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
    if spec["args"].get("complete"):
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


def sc_alike(who, spec, result):
    who.start()
    who.wait_first_window(spec["timeout"])
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


def sc_signal(who, spec, result):
    import learner_view as lv
    who.start()
    who.wait_first_window(spec["timeout"])
    if menu_view(who, result) is None:
        return
    who.proc.send_signal(lv.signal_number(spec["args"]["signal"]))
    try:
        who.proc.wait(5)
    except subprocess.TimeoutExpired:
        pass


def sc_second(who, spec, result):
    import learner_view as lv
    who.start()
    who.wait_first_window(spec["timeout"])
    if menu_view(who, result) is None:
        return
    second = subprocess.Popen([os.path.join(spec["folder"], "morvela")], cwd=spec["folder"], env=who.env,
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


def sc_lesson1(who, spec, result):
    import learner_view as lv
    server = lv.HungSoundServer(os.path.join(spec["env"]["TMPDIR"], "hung-sound-server"))
    who.env = dict(who.env, PULSE_SERVER="unix:" + server.path)
    who.start()
    who.wait_first_window(spec["timeout"])
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


def sc_longpath(who, spec, result):
    """The program folder so deep that the path of a file in it is longer
    than the system allows (the folder itself just fits)."""
    base = spec["folder"]
    fd = os.open(base, os.O_RDONLY | os.O_DIRECTORY)
    length = len(base)
    while length < 4060:
        name = "d" * min(200, 4085 - length - 1)
        os.mkdir(name, dir_fd=fd)
        nfd = os.open(name, os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
        os.close(fd)
        fd = nfd
        length += 1 + len(name)
    copy_program(spec["bin_dir"], None, dest_fd=fd)
    result["notes"]["folder_path_length"] = length
    result["long_before"] = snapshot(base)
    who.start(argv=["./morvela"], cwd="/", preexec=lambda: os.fchdir(fd))
    who.wait_first_window(spec["timeout"])
    menu_view(who, result)
    if who.alive():
        who.quit()
    result["long_after"] = snapshot(base)


SCENARIOS = {"menu": sc_menu, "game": sc_game, "exam": sc_exam, "alike": sc_alike, "signal": sc_signal,
             "second": sc_second, "lesson1": sc_lesson1, "longpath": sc_longpath}


# ----------------------------------------------------------------- main
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
    chosen = [t for t in trials(rng) if not a.only or a.only in t.name]
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
            learn = next(t for t in trials(rng) if t.args.get("learn_quit"))
            quit_offset = run_trial(learn, run_root, 0).r.get("notes", {}).get("quit_offset")
        print("kill loop: %d SIGKILLs of the real binary per save path..." % a.kills, flush=True)
        kills = kill_loop(run_root, a.kills, quit_offset, rng)
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
    if len(sys.argv) == 3 and sys.argv[1] == "--child":
        child(sys.argv[2])
    else:
        sys.exit(main())
