"""The probe's cases: how each lays its folder, which scenario the learner
plays (scenarios.py), what the program must do, and the judge that says
PASS or FAULT from what was met."""
import hashlib
import os
import socket
import subprocess

from folders import (NOBODY, disk_use, japanese, progress_bytes, progress_lines, read, read_data, whole_progress,
                     whole_score)


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
    # Start-up ends with the message, as it does for a missing picture: no
    # lesson is ever shown without its keyboard.
    s.no_crash(); s.window_within(5)
    s.message_about("Keyboard.bmp", not_containing=("ファイルがありません", "見つかりません"))
    s.require(not s.r["ended_by_probe"], "did not end after the message")
    s.require(s.menu() is None, "the menu showed with a broken picture")
    s.learner_files_kept()


def game_refused(s):
    s.no_crash(); s.window_within(5); s.reached_menu()
    s.message_about("game.dat")
    s.require(not s.r["notes"].get("game_window"), "a game started on the word list")


def temporaries_kept(s):
    s.no_crash(); s.reached_menu()
    s.learner_files_kept(allowed=("morvela.ini", "game.ini"))




# --- the rows
def trials(rng, bin_dir):
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
    bmp = open(os.path.join(bin_dir, "Keyboard.bmp"), "rb").read()
    for label, data in (("empty", b""), ("truncated", bmp[:len(bmp) * 2 // 5]),
                        ("not an image", "キーボードの絵\n".encode()), ("a folder", "DIR")):
        T.append(Trial("Keyboard.bmp " + label,
                       "at start-up a Japanese message names Keyboard.bmp and says what is wrong (not 'missing'); start-up ends",
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
                   "one Japanese line on stderr, non-zero exit, no abort", scenario="nodisplay", judge=judge_no_display))
    for sig in ("TERM", "HUP", "INT"):
        T.append(Trial("SIG%s while idle at the menu" % sig,
                       "ends by itself within 5 s with status 0 (not killed by the signal); lock removed; files as before",
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
    s.require(all(japanese(l) for l in lines), "the line is not in Japanese")
    s.no_lock_left()


def judge_signal(s):
    s.require(not s.r.get("ended_by_probe"), "still running 5 s after the signal")
    s.require(s.r.get("signal") is None, "killed by the signal (status %s)" % (128 + (s.r.get("signal") or 0)))
    # A clean end, as after "終了": a session manager reads 0 as such.
    s.require(s.r.get("signal") is not None or s.r.get("exit") in (None, 0), "exit status %s" % s.r.get("exit"))
    s.no_lock_left()
    s.learner_files_kept()
    stray = [n for n in s.after if n not in s.before and n != "morvela.lock"]
    s.require(not stray, "left behind: %s" % ", ".join(stray))
