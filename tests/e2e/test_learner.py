"""A learner's sessions with the built program, under the input method the
session runs (session.sh --ime ibus|fcitx5). Each scenario starts from the
files a learner would have, in a fresh program folder.

    session.sh --ime ibus -- /usr/bin/python3 test_learner.py PROGRAM_DIR SCRATCH_DIR SHOTS_DIR [TEST...]

TEST names scenarios to run (Learner.test_first_day); all of them without.
"""
import os
import sys
import unittest

from conversions import SPEED_TEST, SPEED_TEST_WRONG
from learner import Program, convert, fresh_folder, ime_on, key, type_keys
from scenarios_course import CourseScenarios
from scenarios_extras import ExtrasScenarios
from scenarios_record import RecordScenarios

PROGRAM_DIR, SCRATCH, SHOTS = sys.argv[1:4]
TITLE = "Morvela Ver.4.0"
SPEED_LINES = ["親譲りの無鉄砲で子供の時から損ばかりしている。小学校にいる時分",
               "学校の二階から飛び降りて、一週間ほど腰を抜かしたことがある。",
               "なぜそんなむやみをしたと聞く人があるかも知れぬ。別段深い理由でもない。"]
HOME_ROW = "ffjjddkkssllaa;;"
LESSON1_PAGE1 = "ffffjjjjddddkkkk" * 4


def progress_file(states=("未",) * 11, page="00-00", best_speed="99分99", best_exam="99分99", option=" 1 ",
                  reserved=""):
    """morvela.ini as the program writes it: sixteen CP932 lines ending CR LF."""
    lines = [reserved, best_speed, best_exam, *states, page, option]
    return "".join(line + "\r\n" for line in lines).encode("cp932")


NEW_GAME_SCORE = b" 0 \r\n" + b"\r\n" * 5


def read_progress(folder):
    with open(os.path.join(folder, "morvela.ini"), "rb") as f:
        return f.read().decode("cp932").split("\r\n")


class Learner(CourseScenarios, ExtrasScenarios, RecordScenarios, unittest.TestCase):
    progress_file, read_progress = staticmethod(progress_file), staticmethod(read_progress)

    def start(self, name, files=None):
        self.folder = fresh_folder(PROGRAM_DIR, SCRATCH, name, files)
        self.shots = os.path.join(SHOTS, name)
        self.app = Program(self.folder, self.shots)
        self.addCleanup(self.app.close)
        self.app.expect_window(TITLE)
        return self.app

    def course_button(self, caption, title_tag):
        self.app.expect_window(TITLE)
        self.app.press(caption)
        return self.app.expect_window(TITLE + title_tag)

    def quit_from_menu(self):
        app = self.app
        app.expect_window(TITLE)
        app.press("終了")
        self.assertEqual(app.wait_exit(), 0)

    # ---------------------------------------------------------- Lesson 0
    def type_speed_test(self):
        """The three sentences by conversion, with one wrong conversion."""
        app = self.app
        app.click_into(SPEED_LINES[0])
        ime_on()
        wrong_line, wrong_at, wrong = SPEED_TEST_WRONG
        for line, chunks in enumerate(SPEED_TEST):
            box = app.find(SPEED_LINES[line], "text")
            app.wait_focused(box, SPEED_LINES[line])
            typed = ""
            for i, (romaji, spaces, text) in enumerate(chunks):
                if (line, i) == (wrong_line, wrong_at):
                    convert(*wrong[:2])
                    app.shot("lesson0-wrong-conversion-refused")
                    app.wait_text(SPEED_LINES[line], typed, "text")
                convert(romaji, spaces)
                typed += text
                if (line, i + 1) != (2, len(chunks)):  # the last commit ends the test
                    app.wait_text(SPEED_LINES[line], typed, "text")
            if line == 0:
                app.shot("lesson0-first-line")
        return app

    def lesson0_by_conversion(self):
        app = self.app
        self.course_button("Lesson0", " ● Lesson0 ●")
        self.type_speed_test()
        app.shot("lesson0-speed-test-done")
        self.assertIn("入力ミスは1回でした。", app.find("Label8", "label").name)
        for line in SPEED_LINES:
            self.assertEqual(app.text(line, "text"), line)
        app.press("次ページ>>")

        app.expect_window(TITLE + " ● Lesson0 ●", having="<<前ページ")  # the judgement page
        app.shot("lesson0-judgement")
        app.press("次ページ>>")
        app.expect_window(TITLE + " ● Lesson0 ●", having=HOME_ROW)

        # The home-row drill with the input method still on: the box keeps it out.
        app.click_into(HOME_ROW)
        type_keys(HOME_ROW)
        app.wait_text(HOME_ROW, HOME_ROW, "text")
        app.shot("lesson0-home-row-typed")
        app.press("次ページ>>")
        app.expect_window(TITLE, having="Lesson0の状態")
        app.wait_text("Lesson0の状態", "完了")

    # ---------------------------------------------------------- Lesson 1
    def rhythm_at_level5(self):
        """A rhythm page's metronome from level 1 up to 5, where a page passes."""
        for level in "２３４５":
            self.app.press("速く")
            self.app.wait_text("Label3", level, "label")

    def lesson1_page1_at_level5(self):
        app = self.app
        self.course_button("Lesson1", " ● Lesson1 ●")
        self.rhythm_at_level5()
        app.click_into(LESSON1_PAGE1)
        type_keys(LESSON1_PAGE1)
        app.wait_text("Label5", "おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。", "label")
        app.wait_focus_on("次ページ>>")
        app.shot("lesson1-page1-passed")
        app.press("目次へ")
        app.expect_window(TITLE)
        app.wait_text("Lesson1の状態", "練習中")

    # ---------------------------------------------------------- scenarios
    def test_first_day(self):
        """First start, Lesson 0 by conversion, Lesson 1 page 1, 終了."""
        app = self.start("first-day")
        with open(os.path.join(self.folder, "morvela.ini"), "rb") as f:
            self.assertEqual(f.read(), progress_file())
        with open(os.path.join(self.folder, "game.ini"), "rb") as f:
            self.assertEqual(f.read(), NEW_GAME_SCORE)
        for row in ["Lesson%d" % n for n in range(9)] + ["卒業試験"]:
            self.assertEqual(app.text(row + "の状態", "text"), "未")
        app.shot("menu-first-start")

        self.lesson0_by_conversion()
        self.lesson1_page1_at_level5()
        self.quit_from_menu()

        lines = read_progress(self.folder)
        self.assertEqual(len(lines), 17, lines)  # sixteen lines, each ended
        self.assertNotEqual(lines[1], "99分99", "the speed test's time is the best so far")
        self.assertEqual(lines[3:5], ["完了", "練習中"])
        self.assertEqual(lines[5:14], ["未"] * 9)
        self.assertEqual(lines[14:16], ["01-01", " 1 "])


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[4:])
