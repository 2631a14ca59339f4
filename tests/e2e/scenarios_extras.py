"""Beside the course: the mock exam, a stage of the game, the options and
the hint pages, each window also met as a screen reader meets it; and the
course windows, each opened once and met the same way.

Mixed into the suite's Learner test case, whose start(), quit_from_menu()
and file helpers (progress_file, read_progress) these scenarios use.
"""
import os
import re
import sys
import time

import pyatspi

from accessibility import check_screen_reader_view, unanswered_boxes
from conversions_extras import GAME_SLIPS, GAME_WORDS, KISETSU_LINE1, KISETSU_SLIP
from learner import (checked, click, convert, enabled, ime_off, ime_on, key, showing, type_text,
                     wait_for, walk)

TITLE = "Morvela Ver.4.0"
EXAM_TITLE = "ワープロ検定（入力科目）模擬試験"
EXAM_NAME = "kisetsu"


def game_dat(words):
    """game.dat as whoever prepares the word list writes it: per line, each
    character of "word,hint" as 14 x its CP932 code - 13 and a TAB."""
    out = []
    for word, hint in words:
        fields = []
        for ch in word + "," + hint:
            code = int.from_bytes(ch.encode("cp932"), "big")
            fields.append("%d\t" % (14 * code - 13))
        out.append("".join(fields) + "\r\n")
    return "".join(out).encode("ascii")


def model_lines(folder, name):
    """The exam text's lines as the exam screen shows them: the file but its
    last two bytes (the final CR LF)."""
    with open(os.path.join(folder, name + ".ken"), "rb") as f:
        return f.read()[:-2].decode("cp932").split("\r\n")


class ExtrasScenarios:
    # ---------------------------------------------------------- helpers
    @property
    def suite(self):
        """The module that mixes these scenarios in, for its file helpers."""
        return sys.modules[type(self).__module__]

    def in_group(self, group, role, name=None):
        """A showing control inside the named group of the current window
        (both "開始" buttons of the menu, told apart by their frame)."""
        def look():
            frame = next((a for a in walk(self.app.window) if a.name == group and showing(a)), None)
            return frame and next((a for a in walk(frame) if a.getRoleName() == role and showing(a)
                                   and name in (None, a.name)), None)
        return wait_for(look, "%s %r in the group %r" % (role, name, group))

    def press_in_group(self, group, caption):
        button = self.in_group(group, "push button", caption)
        wait_for(lambda: enabled(button), "button %r of %r to be enabled" % (caption, group))
        button.queryAction().doAction(0)

    def menu(self):
        """The menu again, once the window over it has closed (the options
        and the message boxes share its title)."""
        app = self.app
        over = app.window

        def closed():
            try:
                return not showing(over) or any(a.name == "Lesson0の状態" for a in walk(over))
            except Exception:  # noqa: BLE001 - gone from the bus
                return True
        if over is not None:
            wait_for(closed, "the window over the menu to close")
        return app.expect_window(TITLE, having="Lesson0の状態")

    def read_file(self, name):
        with open(os.path.join(self.folder, name), "rb") as f:
            return f.read()

    # ---------------------------------------------------------- the mock exam
    def choose_exam(self, name):
        """The exam text chosen from the menu's list with the mouse."""
        combo = self.in_group("ワープロ検定模試", "combo box")
        click(combo)

        def item():
            return next((a for a in walk(combo) if a.name == name and showing(a)
                         and a.getRoleName() in ("list item", "menu item")), None)
        click(wait_for(item, "%r in the open exam list" % name))
        wait_for(lambda: combo.name == name, "the exam list to show %r" % name)

    def test_mock_exam(self):
        """An exam text chosen, its first two lines typed with a slip, compared,
        and the mistake report read."""
        app = self.start("mock-exam")
        check_screen_reader_view(self, app, TITLE)
        self.choose_exam(EXAM_NAME)
        self.press_in_group("ワープロ検定模試", "開始")

        app.expect_window(EXAM_TITLE)
        check_screen_reader_view(self, app, EXAM_TITLE)
        model = model_lines(self.folder, EXAM_NAME)
        self.assertEqual(app.text("問題文", "text"), "\n".join(model))
        self.assertEqual(app.text("Label2"), "時間：00分00秒(合格=10分以内)")
        self.assertEqual(app.text("Label3"), "間違い：－(合格=4以内)")
        self.assertFalse(enabled(app.find("間違箇所", "push button")))

        # Line 1 by conversion, with one slip; the first key starts the clock.
        app.click_into("入力欄")
        ime_on()
        key("space")  # the full-width space a paragraph starts with
        typed = "　"
        app.wait_text("入力欄", typed, "text")
        app.wait_text("Label3", "間違い：入力中(合格=4以内)")
        self.assertFalse(enabled(app.find("目次へ", "push button")), "目次へ while the clock runs")
        slip_at, slip = KISETSU_SLIP
        for i, chunk in enumerate(KISETSU_LINE1):
            romaji, spaces, text = slip if i == slip_at else chunk
            convert(romaji, spaces)
            typed += text
            app.wait_text("入力欄", typed, "text")
        self.assertEqual(typed.replace("春、春", "春、夏"), model[0])
        # Line 2 whole, with the input method off: the conversion was the
        # point of line 1.
        key("Return")
        ime_off()
        type_text(model[1], delay_ms=60)
        typed += "\n" + model[1]
        app.wait_text("入力欄", typed, "text")
        app.shot("exam-two-lines-typed")

        app.press("入力完了")
        # One wrong character in line 1; lines 3 on are missing, so each
        # counts as a line of the wrong length.
        missing = [n for n in range(3, len(model) + 1) if model[n - 1]]
        app.wait_text("Label3", "間違い：%d(合格=4以内)" % (1 + len(missing)))
        self.assertRegex(app.text("Label2"), r"^時間：00分\d\d秒\(合格=10分以内\)$")
        with open(os.path.join(self.folder, "kentei.wk2"), "rb") as f:
            self.assertEqual(f.read(), (model[0].replace("夏", "春", 1) + "\r\n" + model[1] + "\r\n")
                             .encode("cp932"))
        app.shot("exam-compared")

        app.press("間違箇所")
        app.expect_window("間違い箇所")
        check_screen_reader_view(self, app, "間違い箇所")
        report = app.text("間違い箇所の一覧", "text")
        self.assertEqual(report.replace("\r\n", "\n").split("\n"),
                         ["1行8文字目の『夏』が違います。"] + ["%d行目の文字数が違います。" % n for n in missing] + [""])
        app.shot("exam-mistake-report")
        app.press("閉じる")
        app.expect_window(EXAM_TITLE)
        app.press("目次へ")
        self.quit_from_menu()

    # ---------------------------------------------------------- the game
    def expect_game(self, stage):
        """The game window, whose title names the stage and the target's hint."""
        app = self.app
        prefix = "ステージ %d　[" % stage
        w = wait_for(lambda: next((w for w in app.windows() if w.name.startswith(prefix) and showing(w)), None),
                     "the game window at stage %d" % stage)
        return app.expect_window(w.name)

    def invader(self, i):
        return next(a for a in walk(self.app.window) if a.description == "invader(%d)" % i)

    def test_game_stage(self):
        """Stage 1 shot down word by word through Mozc, the score kept."""
        words = [(word, hint) for hint, (_, _, word) in GAME_WORDS.items()]
        app = self.start("game-stage", {"game.dat": game_dat(words)})
        self.press_in_group("ゲーム", "開始")
        window = self.expect_game(1)
        check_screen_reader_view(self, app, window.name)
        box = wait_for(lambda: next((a for a in walk(window) if a.getRoleName() == "text"), None), "the game's box")
        app.wait_focused(box, "the game's box")
        ime_on()
        app.shot("game-stage1-start")

        for i in range(10):
            hint = re.fullmatch(r"ステージ 1　\[(.*)\]", window.name).group(1)
            romaji, spaces, word = GAME_WORDS[hint]
            self.assertEqual(self.invader(i).name, word)
            # A screen reader says what to type there: the target's word.
            wait_for(lambda: box.name == word, "the game's box to be named %r" % word)
            if i == 0:
                # A word that begins alike, committed whole: the box keeps
                # the beginning the two share and refuses the rest; the
                # right word then brings in only what is still missing.
                slip = GAME_SLIPS[word]
                convert(*slip[:2])
                shared = os.path.commonprefix([slip[2], word])
                app.wait_text(word, shared, "text")
                time.sleep(0.3)
                self.assertEqual(box.queryText().getText(0, -1), shared, "the box after %r" % slip[2])
            convert(romaji, spaces)
            wait_for(lambda: not self.invader(i).getState().contains(pyatspi.STATE_VISIBLE),
                     "invader %d (%s) to be shot down" % (i, word))
            if i == 4:
                app.shot("game-half-stage")
        app.wait_text("Stage_clear", "STAGE CLEAR")
        total = app.text("Total_score")
        app.shot("game-stage-clear")
        score = int(re.fullmatch(r"TOTAL SCORE:(\d+)", total).group(1))
        self.assertGreater(score, 0)
        self.assertEqual(app.text("STAGE_SCORE"), "STAGE SCORE:%d" % score)
        self.assertEqual(app.text("HI_SCORE"), "HIGH  SCORE:%d" % score)

        app.press("End")
        app.expect_window(TITLE)
        app.wait_text("Label12", str(score))
        self.assertEqual(self.read_file("game.ini"), (" %d \r\n" % score).encode() + b"\r\n" * 5)
        self.quit_from_menu()

    # ---------------------------------------------------------- the options
    def open_options(self):
        app = self.app
        self.menu()
        app.press("Option")
        app.expect_window(TITLE, having="リズムのスピード")
        app.wait_focus_on("Cancel")
        self.assertFalse(checked(app.find("練習記録をクリヤする", "check box")))
        return app

    def test_options(self):
        """The speed changed and kept, then the records cleared."""
        suite = self.suite
        states = ("完了", "完了", "練習中") + ("未",) * 8
        app = self.start("options", {"morvela.ini": suite.progress_file(states, page="02-03", best_speed="02分31")})
        self.open_options()
        check_screen_reader_view(self, app, TITLE)
        self.assertTrue(checked(app.find("普通", "radio button")))
        self.assertFalse(checked(app.find("全角ｽﾍﾟｰｽを使わない", "check box")))
        click(app.find("速い", "radio button"))
        wait_for(lambda: checked(app.find("速い", "radio button")), "速い to be chosen")
        app.shot("options-faster")
        app.press("OK")
        self.menu()
        lines = suite.read_progress(self.folder)
        self.assertEqual(lines[15], " 2 ")
        self.assertEqual(lines[3:6], list(states[:3]))

        self.open_options()
        self.assertTrue(checked(app.find("速い", "radio button")), "the speed chosen last time")
        self.assertFalse(checked(app.find("普通", "radio button")))
        click(app.find("練習記録をクリヤする", "check box"))
        wait_for(lambda: checked(app.find("練習記録をクリヤする", "check box")), "the records to be marked for clearing")
        app.press("OK")
        self.menu()
        for row in ["Lesson%d" % n for n in range(9)] + ["卒業試験"]:
            app.wait_text(row + "の状態", "未", "text")
        app.shot("menu-records-cleared")
        expected = suite.progress_file(best_speed="02分31", option=" 2 ").decode("cp932").split("\r\n")
        self.assertEqual(suite.read_progress(self.folder), expected)
        self.quit_from_menu()
        self.assertEqual(suite.read_progress(self.folder), expected)

    # ---------------------------------------------------------- the hints
    def open_hint(self, n):
        app = self.app
        self.menu()
        # The ten "？" buttons are told apart by the page they open.
        app.press("文字入力のヒント　その" + ("１０" if n == 10 else "１２３４５６７８９"[n - 1]))

    def test_hint_pages(self):
        """A gated hint refused, hints 5 and 6 read and closed."""
        suite = self.suite
        app = self.start("hints", {"morvela.ini": suite.progress_file(("完了",) * 5 + ("未",) * 6)})
        self.open_hint(7)
        app.expect_window(TITLE, having="Lesson5が終わっていないと、Lesson6には進めません。")
        check_screen_reader_view(self, app, TITLE)
        app.shot("hint7-gated")
        app.press("OK")

        self.open_hint(5)
        app.expect_window("文字入力のヒント　その５")
        check_screen_reader_view(self, app, "文字入力のヒント　その５")
        self.assertEqual([app.text("Label%d" % n) for n in (1, 2, 3, 4)],
                         ["よく使う単語や、短い文章は辞書に登録しておくと便利ですが、", "２行以上になるものは辞書登録ができません。", "",
                          "その様なものは、【Tessaro】というソフトに登録して"])
        self.assertEqual(app.text("Label10"), "試してみて下さい。(下記のサイトよりダウンロード出来ます）")
        app.find("サイトを開く", "push button")
        app.shot("hint5")
        app.press("閉じる")

        self.open_hint(6)
        app.expect_window("文字入力のヒント　その６")
        self.assertEqual(app.text("Label1"), "　ワープロソフトをお使いの方、あなたは『ルーラー』をきちん")
        self.assertFalse(any(a.name == "サイトを開く" and showing(a) for a in walk(app.window)),
                         "サイトを開く belongs to hint 5 only")
        app.shot("hint6")
        app.press("閉じる")
        self.quit_from_menu()

    # ---------------------------------------------------------- the course, heard
    def heard(self, title):
        check_screen_reader_view(self, self.app, title)
        self.assertEqual(unanswered_boxes(self.app.window), [], title)

    def test_course_windows_heard(self):
        """Each course window opened once and met as a screen reader meets
        it: every typing box named by the line it answers."""
        suite = self.suite
        app = self.start("course-heard", {"morvela.ini": suite.progress_file(("完了",) * 9 + ("未", "未"))})
        for row in ["Lesson%d" % n for n in range(9)] + ["卒業試験"]:
            self.menu()
            app.press(row)
            title = "%s ● %s ●" % (TITLE, row)
            app.expect_window(title)
            self.heard(title)
            if row == "Lesson0":  # done before, so its three pages open in turn
                app.press("次ページ>>")
                app.expect_window(title, having="<<前ページ")
                self.heard(title)
                app.press("次ページ>>")
                app.expect_window(title, having="ffjjddkkssllaa;;")
                self.heard(title)
            app.press("目次へ")
        self.menu()
        self.quit_from_menu()
