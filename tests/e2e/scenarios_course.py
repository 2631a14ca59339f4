"""The course end to end: the word drills, the sentence lesson across its
line boundaries, the graduation exam and its result window, and the course
by keyboard alone. Mixed into test_learner.Learner, whose start(),
course_button(), quit_from_menu(), progress_file() and read_progress() the
scenarios use; each window is checked by its title as it opens."""
import re

from conversions import SPEED_TEST
from conversions_course import LESSON6_PAGE1 as LESSON6_CHUNKS, LESSON7_END_OF_LINE1, LESSON7_LINE8, LESSON7_OVER_LINE2
from learner import convert, ime_off, ime_on, key, tab_to, type_keys, type_text

TITLE = "Morvela Ver.4.0"
PASS = "おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。"
LESSON5_PAGE1 = "happyou happyou chekku chekku nikki nikki tokkyuu tokkyuu"
LESSON6_PAGE1 = "".join(text for _, _, text in LESSON6_CHUNKS)
LESSON6_PAGE2 = "標準　標準　拡張　拡張　好評　好評　液晶　液晶　注意　注意"
LESSON7 = ["親譲りの無鉄砲で子供の時から損ばかりしている。小学校にいる時分",
           "学校の二階から飛び降りて、一週間ほど腰を抜かしたことがある。",
           "なぜそんなむやみをしたと聞く人があるかも知れぬ。別段深い理由でもない。",
           "新築の二階から首を出していたら、同級生の一人が冗談に、いくら頑張っても",
           "そこからとびおりることはできまい。弱虫やあい、とはやしたからである。",
           "小使におぶさって帰って来た時、おやじが大きな目をして二階ぐらいから飛び",
           "降りて腰を抜かすやつがあるかと言ったから、この次は抜かさずに飛んで",
           "見せますと答えた。"]
SPEED_LINES = ["".join(text for _, _, text in line) for line in SPEED_TEST]
HOME_ROW = "ffjjddkkssllaa;;"
LESSON1_PAGE1 = "ffffjjjjddddkkkk" * 4

# Lines of morvela.ini, counted from 0.
BEST_EXAM, LESSON_STATE, GRADUATION, PAGE = 2, 3, 12, 14


def done_through(lesson):
    """The eleven state lines of a learner who completed Lessons 0..lesson."""
    return ("完了",) * (lesson + 1) + ("未",) * (10 - lesson)


class CourseScenarios:
    def open_lesson(self, caption, tag, page):
        """A learner whose course is open up to this lesson, at its button."""
        lesson = int(caption[-1]) if caption[-1].isdigit() else 9
        self.start("course-lesson%d" % lesson if lesson < 9 else "course-graduation",
                   {"morvela.ini": self.progress_file(states=done_through(lesson - 1), page=page)})
        return self.course_button(caption, tag)

    def saved(self, line):
        return self.read_progress(self.folder)[line]

    def back_to_menu(self, row, state):
        app = self.app
        app.press("目次へ")
        app.expect_window(TITLE, having=row + "の状態")
        app.wait_text(row + "の状態", state)

    # ---------------------------------------------------------- Lesson 5
    def test_lesson5_page_with_the_input_method_on(self):
        """Romaji typed with Mozc switched on: the box keeps it out."""
        self.open_lesson("Lesson5", " ● Lesson5 ●", "04-07")
        app = self.app
        app.wait_focus_on(LESSON5_PAGE1)
        ime_on()
        type_keys(LESSON5_PAGE1)
        app.wait_text(LESSON5_PAGE1, LESSON5_PAGE1, "text")
        app.wait_text("Label5", PASS, "label")
        app.wait_focus_on("次ページ>>")
        app.shot("lesson5-page1-passed")
        self.assertEqual(self.saved(PAGE), "05-01")
        self.back_to_menu("Lesson5", "練習中")

    # ---------------------------------------------------------- Lesson 6
    def test_lesson6_page_by_conversion(self):
        """Each word converted and committed, the spaces between from Mozc."""
        self.open_lesson("Lesson6", " ● Lesson6 ●", "05-06")
        app = self.app
        app.wait_focus_on(LESSON6_PAGE1)
        ime_on()
        typed = ""
        for romaji, spaces, text in LESSON6_CHUNKS:
            if romaji is None:
                key("space")  # nothing composed: Mozc commits "　" itself
            else:
                convert(romaji, spaces)
            typed += text
            app.wait_text(LESSON6_PAGE1, typed, "text")
        app.wait_text("Label5", PASS, "label")
        app.wait_focus_on("次ページ>>")
        app.shot("lesson6-page1-passed")
        self.assertEqual(self.saved(PAGE), "06-01")
        key("Return")  # on the focused button: the next page
        app.wait_text("Label4", LESSON6_PAGE2, "label")
        app.wait_focus_on(LESSON6_PAGE2)
        self.back_to_menu("Lesson6", "練習中")

    # ---------------------------------------------------------- Lesson 7
    def test_lesson7_across_its_line_boundaries(self):
        """Commits that end a line move the focus on and leave nothing
        behind; one that runs past a line's end carries on into the next."""
        self.open_lesson("Lesson7", " ● Lesson7 ●", "06-06")
        app = self.app
        app.wait_focus_on(LESSON7[0])
        ime_on()
        type_text(LESSON7[0][:-2])
        convert(*LESSON7_END_OF_LINE1[:2])
        app.wait_text(LESSON7[0], LESSON7[0], "text")
        app.wait_focus_on(LESSON7[1])
        self.assertEqual(app.text(LESSON7[1], "text"), "", "nothing of line 1's last commit in line 2")

        type_text(LESSON7[1][:-len("ことがある。")])
        convert(*LESSON7_OVER_LINE2[:2])
        app.wait_text(LESSON7[1], LESSON7[1], "text")
        app.wait_text(LESSON7[2], "なぜそんな", "text")
        app.wait_focus_on(LESSON7[2])
        app.shot("lesson7-commit-carried-over")

        type_text(LESSON7[2][len("なぜそんな"):])
        for line in range(3, 7):
            app.wait_text(LESSON7[line - 1], LESSON7[line - 1], "text")
            app.wait_focus_on(LESSON7[line])
            type_text(LESSON7[line])
        app.wait_focus_on(LESSON7[7])
        convert(*LESSON7_LINE8[0][:2])
        app.wait_text(LESSON7[7], LESSON7_LINE8[0][2], "text")
        convert(*LESSON7_LINE8[1][:2])  # the end of the page: the judgement

        app.expect_window(TITLE, having="おめでとうございます。合格です(=^_^=)")
        app.shot("lesson7-passed")
        # Enter presses the box's default button, "OK". (Pressed over AT-SPI,
        # the closing box leaves no window active on this desktop.)
        key("Return")
        app.expect_window(TITLE + " ● Lesson7 ●")
        app.wait_focus_on(LESSON7[0])
        for line in LESSON7:  # the boxes keep what was typed
            self.assertEqual(app.text(line, "text"), line)
        self.assertEqual(self.saved(LESSON_STATE + 7), "完了")
        self.assertEqual(self.saved(PAGE), "07-01")
        self.back_to_menu("Lesson7", "完了")

    # ---------------------------------------------------------- graduation
    def test_graduation_exam_typed_through(self):
        """Typed against the clock; the result window read as it stands."""
        self.open_lesson("卒業試験", " ● 卒業試験 ●", "08-01")
        app = self.app
        app.wait_focus_on(LESSON7[0])
        ime_on()
        for line, text in enumerate(LESSON7):
            app.wait_focus_on(text)
            type_text(text)
            if line < 7:
                app.wait_text(text, text, "text")

        app.expect_window("卒業試験結果")
        app.shot("graduation-passed")
        time_line = app.text("Label5", "label")
        m = re.fullmatch(r"ただいまのタイムは(\d\d分\d\d)秒でした。", time_line)
        self.assertTrue(m, time_line)
        exam_time = m.group(1)
        self.assertLess(exam_time, "07分00")
        expected = {
            "Label1": "●" * 22, "Label2": "● 　おめでとうございます。合格です！！ 　●", "Label3": "●" * 22,
            "Label4": "合格してもこれで終りではありません。まだまだ速くなることができますので、これからも、"
                      "キーボードを見ないでタイプする様にして、更に上達したらまたこの卒業試験に挑戦してみて下さい。"
                      "　　ますます上達されることをお祈り致します。",
            "Label6": "今までのベストタイムは%s秒です。" % exam_time,  # the first attempt is the best
            "Label7": "作者のベストタイムは 02分06秒です。",
        }
        for name, text in expected.items():
            self.assertEqual(app.text(name, "label"), text, name)
        app.wait_focus_on("OK")
        key("Return")

        app.expect_window(TITLE + " ● 卒業試験 ●")
        app.wait_focus_on(LESSON7[0])
        self.assertEqual(self.saved(BEST_EXAM), exam_time)
        self.assertEqual(self.saved(GRADUATION), "卒業")
        self.assertEqual(self.saved(PAGE), "09-01")
        self.back_to_menu("卒業試験", "卒業")

    # ---------------------------------------------------------- keyboard only
    def test_keyboard_alone(self):
        """Menu, Lesson 0's three pages, Lesson 1 and back: Tab, Enter on the
        focused button and Escape, never the mouse."""
        app = self.start("keyboard-alone")
        ime_off()
        tab_to(app, "Lesson0")
        key("Return")
        app.expect_window(TITLE + " ● Lesson0 ●", having=SPEED_LINES[0])
        for line in SPEED_LINES:
            app.wait_focus_on(line)
            type_text(line)
        app.wait_focus_on("次ページ>>")
        key("Return")

        app.expect_window(TITLE + " ● Lesson0 ●", having="<<前ページ")
        tab_to(app, "次ページ>>")
        key("Return")
        app.expect_window(TITLE + " ● Lesson0 ●", having=HOME_ROW)
        app.wait_focus_on(HOME_ROW)
        type_keys(HOME_ROW)
        app.wait_focus_on("次ページ>>")
        key("Return")

        app.expect_window(TITLE, having="Lesson0の状態")
        app.wait_text("Lesson0の状態", "完了")
        app.shot("keyboard-lesson0-done")
        tab_to(app, "Lesson1")
        key("Return")
        app.expect_window(TITLE + " ● Lesson1 ●")
        app.wait_focus_on(LESSON1_PAGE1)
        key("Tab")  # out of the typing box, where Escape is a key to judge
        app.wait_focus_on("音停止")
        app.shot("keyboard-lesson1")
        key("Escape")  # the page may be left: back to the menu
        app.expect_window(TITLE, having="Lesson1の状態")
        app.wait_text("Lesson1の状態", "練習中")
        tab_to(app, "終了")
        key("Return")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(self.saved(LESSON_STATE), "完了")
