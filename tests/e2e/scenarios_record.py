"""The learner's record: a page passed, then found again in the record
window's table of recent attempts, and the practice the record window
offers typed through. Mixed into test_learner.Learner, whose start(),
lesson1_page1_at_level5(), rhythm_at_level5() and quit_from_menu() it uses.
"""
from accessibility import check_screen_reader_view
from learner import ime_off, showing, type_keys, wait_for, walk

TITLE = "Morvela Ver.4.0"
RECORD_TITLE = TITLE + " ● 学習記録 ●"
PRACTICE_TITLE = TITLE + " ● 苦手キー練習 ●"
PASS = "おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。"
COLUMNS = ["日時", "ページ", "時間", "速度（字/分）", "ミス", "結果"]
NOTHING_MISSED = "最近の記録には、ミスしたキーがありません。\nかわりにホームポジションを練習しますか？"


class RecordScenarios:
    def attempts_table(self):
        """The rows of the record window's table as a screen reader reads
        them, each a dict of column caption to cell text."""
        app = self.app
        table = app.find("最近の記録", "table")
        t = table.queryTable()
        self.assertEqual([t.getColumnDescription(c) for c in range(t.nColumns)], COLUMNS)
        return [{COLUMNS[c]: t.getAccessibleAt(r, c).name for c in range(t.nColumns)} for r in range(t.nRows)]

    def row_of(self, page):
        rows = wait_for(lambda: [r for r in self.attempts_table() if r["ページ"] == page],
                        "a row of page %r in the table of recent attempts" % page)
        self.assertEqual(len(rows), 1, rows)
        return rows[0]

    def test_record_and_practice(self):
        """Lesson 1 page 1 passed, found in 学習記録, and the practice it
        offers typed through with the input method off."""
        app = self.start("record", {"morvela.ini": self.progress_file(states=("完了",) + ("未",) * 10,
                                                                      page="00-03")})
        self.lesson1_page1_at_level5()

        app.press("記録")
        app.expect_window(RECORD_TITLE)
        check_screen_reader_view(self, app, RECORD_TITLE)
        lesson = self.row_of("01-01")
        self.assertEqual((lesson["ミス"], lesson["結果"]), ("0", "合格"), lesson)
        app.shot("record-after-lesson1")

        # Sixty-four keys without a miss: no key is weak, so the home row is offered.
        app.press("苦手キー練習")
        app.expect_window(TITLE, having="はい")
        check_screen_reader_view(self, app, TITLE)
        asked = [a.name for a in walk(app.window) if a.getRoleName() == "label" and showing(a)]
        self.assertIn(NOTHING_MISSED, asked)
        app.press("はい")

        app.expect_window(PRACTICE_TITLE)
        check_screen_reader_view(self, app, PRACTICE_TITLE)
        line = app.text("Label4", "label")
        self.assertRegex(line, r"^[asdfjkl;]+$", "a line of the home row's keys")
        self.rhythm_at_level5()
        app.click_into(line)
        ime_off()
        type_keys(line)
        app.wait_text(line, line, "text")
        app.wait_text("Label5", PASS, "label")
        app.wait_focus_on("次ページ>>")
        app.shot("practice-passed")
        app.press("次ページ>>")  # the practice page's only page: it closes

        app.expect_window(RECORD_TITLE)
        practice = self.row_of("苦手キー練習")
        self.assertEqual((practice["ミス"], practice["結果"]), ("0", "合格"), practice)
        self.assertEqual(self.row_of("01-01"), lesson)
        app.shot("record-after-practice")
        app.press("閉じる")
        app.expect_window(TITLE, having="Lesson1の状態")
        app.wait_text("Lesson1の状態", "練習中")
        self.quit_from_menu()
