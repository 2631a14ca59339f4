// The sentence windows F_les7_1 and F_les8_1 and the graduation exam F_les9_1
// with its result windows, through their named controls: typed by word
// commits as a learner converting word by word would, from the menu.

#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "lessons/GraduationTexts.h"
#include "lessons/GraduationWindows.h"
#include "lessons/SentenceLessonWindow.h"
#include "support/Commits.h"
#include "support/Controls.h"
#include "support/Harness.h"

#include <QLineEdit>
#include <QTest>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::button;
using morvela::test::commit;
using morvela::test::label;

namespace {

TypingBox* box(const QWidget& w, int n)
{
    return w.findChild<TypingBox*>(QStringLiteral("T%1").arg(n));
}

QLabel* line(const QWidget& w, int n)
{
    return w.findChild<QLabel*>(QStringLiteral("L%1").arg(n));
}

// Commits `text` word by word into whichever box has the focus.
void commitWords(QWidget& w, const QString& text)
{
    for (const QString& word : test::Words(text))
        commit(w.focusWidget(), word);
}

// A menu whose course is done up to `row`'s gate.
struct Menu {
    explicit Menu(Harness& h, int row) : menu(h.ctx)
    {
        ConnectScreens(menu, h.ctx);
        menu.Form_Load();
        for (int l = 0; l < row; ++l)
            h.state.progress.LessonStates[size_t(l)] = LessonState::Completed;
        h.state.progress.FurthestPage = MakePageId(row - 1, row - 1 <= 6 ? 6 : 1);
    }
    QString status(int n) const { return menu.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n))->text(); }
    F_mokuji menu;
};

} // namespace

class TestSentenceWindows : public QObject {
    Q_OBJECT
private slots:
    void sentenceWindows_data();
    void sentenceWindows();
    void lesson7ByWordCommitsFromTheMenu();
    void lesson8JumpsToT8AndFailsWith10Misses();
    void examFromTheMenu();
    void resultWindows_data();
    void resultWindows();
};

void TestSentenceWindows::sentenceWindows_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<bool>("panel");
    QTest::newRow("Lesson 7") << 7 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << true;
    QTest::newRow("Lesson 8") << 8 << QList<int>{1, 2, 3, 4, 8} << false;
}

void TestSentenceWindows::sentenceWindows()
{
    QFETCH(int, lesson);
    QFETCH(QList<int>, numbers);
    QFETCH(bool, panel);
    Harness h;
    SentenceLessonWindow w(h.ctx, lesson);
    w.Form_Load();
    w.show();
    const SentenceScript& script = SentenceLessonScript(lesson);
    QCOMPARE(w.objectName(), QStringLiteral("F_les%1_1").arg(lesson));
    QCOMPARE(w.windowTitle(), QStringLiteral("Morvela Ver.4.0 ● Lesson%1 ●").arg(lesson));
    QCOMPARE(label(w, 1)->text(), script.instruction);
    QCOMPARE(bool(label(w, 9)), panel);
    for (int n = 1; n <= 8; ++n) {
        const int at = int(numbers.indexOf(n));
        QCOMPARE(bool(line(w, n)), at >= 0);
        QCOMPARE(bool(box(w, n)), at >= 0);
        if (at < 0)
            continue;
        QCOMPARE(line(w, n)->text(), script.lines.at(at));
        QVERIFY(box(w, n)->text().isEmpty());
        // Nothing clipped: each line fits its label, in sight in the window,
        // above its box.
        const QFontMetrics fm(line(w, n)->font());
        QVERIFY(fm.horizontalAdvance(line(w, n)->text()) <= line(w, n)->contentsRect().width());
        const QRect shown(line(w, n)->mapTo(&w, QPoint()), line(w, n)->size());
        QVERIFY(shown.height() >= fm.height());
        QVERIFY(w.rect().contains(shown));
        QCOMPARE(w.childAt(shown.center()), line(w, n)); // nothing lies over it
        QVERIFY(box(w, n)->mapTo(&w, QPoint()).y() >= shown.bottom());
        if (panel) // on the panel
            QVERIFY(QRect(label(w, 9)->mapTo(&w, QPoint()), label(w, 9)->size()).contains(shown));
    }
    QCOMPARE(button(w, 3)->text(), QStringLiteral("もう一度"));
    QCOMPARE(button(w, 1)->text(), QStringLiteral("目次へ"));
    QCOMPARE(w.focusWidget(), box(w, 1));
    QVERIFY(box(w, 1)->inputMethodQuery(Qt::ImEnabled).toBool());
    QCOMPARE(h.state.progress.LessonStates[size_t(lesson)], QStringLiteral("練習中"));

    // A click into a later box changes nothing; "もう一度" empties every box.
    commitWords(w, script.lines.at(0) + script.lines.at(1).left(2));
    QTest::mouseClick(box(w, numbers.last()), Qt::LeftButton);
    QCOMPARE(w.focusWidget(), box(w, 2));
    button(w, 3)->click();
    for (int n : numbers)
        QVERIFY(box(w, n)->text().isEmpty());
    QCOMPARE(w.focusWidget(), box(w, 1));
    QCOMPARE(w.lesson().cursor(), 1);
    button(w, 1)->click();
    QVERIFY(!w.isVisible());
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini"))); // nothing saved
}

void TestSentenceWindows::lesson7ByWordCommitsFromTheMenu()
{
    Harness h;
    Menu m(h, 7);
    h.runner.then([&](QDialog& d) {
        QCOMPARE(m.status(8), QStringLiteral("練習中"));
        const QStringList lines = SentenceLessonScript(7).lines;
        // A word converted wrong: two misses, nothing in the box.
        commit(d.focusWidget(), QStringLiteral("新城"));
        QVERIFY(box(d, 1)->text().isEmpty());
        commit(d.focusWidget(), QStringLiteral("親譲"));
        commit(d.focusWidget(), QStringLiteral("理"));
        QCOMPARE(box(d, 1)->text(), QStringLiteral("親譲"));
        for (int n = 1; n <= 8; ++n) {
            QCOMPARE(d.focusWidget(), box(d, n));
            commitWords(d, n == 1 ? lines[0].mid(2) : lines[n - 1]);
            QCOMPARE(box(d, n)->text(), lines[n - 1]);
        }
        QCOMPARE(h.lastMessage(), QStringLiteral("おめでとうございます。合格です(=^_^=)"));
        QCOMPARE(h.messages.shown.last().icon, MessageIcon::None);
        QCOMPARE(m.status(8), QStringLiteral("完了"));
        QCOMPARE(h.savedRecord().LessonStates[7], QStringLiteral("完了"));
        QCOMPARE(h.savedRecord().FurthestPage, QStringLiteral("07-01"));
        // Back at T1 with the text kept; typing on appends there.
        QCOMPARE(d.focusWidget(), box(d, 1));
        QCOMPARE(box(d, 8)->text(), lines[7]);
        commit(d.focusWidget(), QStringLiteral("親譲"));
        QCOMPARE(box(d, 1)->text(), lines[0] + QStringLiteral("親譲"));
        QTest::keyClick(button(d, 1), Qt::Key_Return); // 目次へ
    });
    m.menu.CourseButton_Click(7);
    QCOMPARE(h.runner.opened, QStringList{QStringLiteral("F_les7_1")});
    QVERIFY(h.runner.scriptDone());
    QCOMPARE(h.messages.shown.size(), 1);
}

void TestSentenceWindows::lesson8JumpsToT8AndFailsWith10Misses()
{
    Harness h;
    h.state.progress.LessonStates[8] = QStringLiteral("練習中");
    SentenceLessonWindow w(h.ctx, 8);
    w.Form_Load();
    w.show();
    const QStringList lines = SentenceLessonScript(8).lines;
    // A commit that runs past a line's end carries on into the next box.
    commitWords(w, lines[0] + lines[1] + lines[2].left(4));
    QCOMPARE(box(w, 3)->text(), lines[2].left(4));
    // Half-width digits and letters where the full-width ones stand: misses.
    commit(w.focusWidget(), QStringLiteral("USB"));
    commitWords(w, lines[2].mid(4) + lines[3]);
    QCOMPARE(w.focusWidget(), box(w, 8));
    QVERIFY(box(w, 8)->isEnabled());
    QCOMPARE(w.lesson().cursor(), 1);
    QCOMPARE(w.lesson().misses(), 3);
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(w.focusWidget(), Qt::Key_Backspace); // a miss each
    QVERIFY(h.messages.shown.isEmpty());
    commitWords(w, lines[4]);
    QCOMPARE(h.lastMessage(), QStringLiteral("入力ミスが 10 回ありました。合格は 10 回未満です。"));
    QCOMPARE(h.state.progress.LessonStates[8], QStringLiteral("練習中"));
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini"))); // a fail saves nothing
    QCOMPARE(w.focusWidget(), box(w, 1));
}

void TestSentenceWindows::examFromTheMenu()
{
    Harness h;
    Menu m(h, 9);
    const QString text = SentenceLessonScript(7).lines.join(QString());
    QString resultLine, bestLine, menuWhileShown;
    ProgressRecord savedWhileShown;

    // The result window is shown before the new state is shown and saved.
    const auto readResult = [&](QDialog& result) {
        QCOMPARE(result.windowTitle(), QStringLiteral("卒業試験結果"));
        const bool ok = result.objectName() == QLatin1String("F_sotu_OK");
        resultLine = label(result, ok ? 5 : 1)->text();
        bestLine = label(result, ok ? 6 : 2)->text();
        savedWhileShown = h.savedRecord();
        menuWhileShown = m.status(10);
        QTest::keyClick(button(result, 1), Qt::Key_Return); // OK
        QVERIFY(!result.isVisible());
    };
    // The whole text committed word by word, `seconds` from the first word
    // to the last character.
    const auto typeAttempt = [&](QDialog& d, int seconds) {
        commitWords(d, text.chopped(1));
        h.clock.advance(seconds);
        commit(d.focusWidget(), text.right(1));
    };
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Morvela Ver.4.0 ● 卒業試験 ●"));
        QCOMPARE(label(d, 1)->text(), QStringLiteral("●● 卒業試験です。正確にできるだけ速く入力して下さい。 ●●"));
        QCOMPARE(m.status(10), QStringLiteral("挑戦中"));
        // First attempt: 8 minutes 12 seconds, a fail.
        commit(d.focusWidget(), QStringLiteral("x")); // refused: the clock does not start
        h.clock.advance(30);
        typeAttempt(d, 492);
        QCOMPARE(h.runner.opened.last(), QStringLiteral("F_sotu_NG"));
        QCOMPARE(resultLine, QStringLiteral("ただいまのタイムは08分12秒でした。"));
        QCOMPARE(bestLine, QStringLiteral("今までのベストタイムは08分12秒です。"));
        QCOMPARE(savedWhileShown.BestGraduationTime, QStringLiteral("99分99"));
        QCOMPARE(h.savedRecord().BestGraduationTime, QStringLiteral("08分12"));
        QCOMPARE(h.savedRecord().GraduationState, QStringLiteral("挑戦中"));
        QCOMPARE(d.focusWidget(), box(d, 1));

        // Typed on at once, 6 minutes 59 seconds: a pass.
        h.clock.advance(100);
        typeAttempt(d, 419);
        QCOMPARE(h.runner.opened.last(), QStringLiteral("F_sotu_OK"));
        QCOMPARE(resultLine, QStringLiteral("ただいまのタイムは06分59秒でした。"));
        QCOMPARE(bestLine, QStringLiteral("今までのベストタイムは06分59秒です。"));
        QCOMPARE(menuWhileShown, QStringLiteral("挑戦中"));
        QCOMPARE(savedWhileShown.GraduationState, QStringLiteral("挑戦中"));
        QCOMPARE(m.status(10), QStringLiteral("卒業"));
        const ProgressRecord saved = h.savedRecord();
        QCOMPARE(saved.GraduationState, QStringLiteral("卒業"));
        QCOMPARE(saved.FurthestPage, QStringLiteral("09-01"));
        QCOMPARE(saved.BestGraduationTime, QStringLiteral("06分59"));
        // Typed on without "もう一度": the second attempt's text follows the first.
        QCOMPARE(box(d, 8)->text(), SentenceLessonScript(7).lines.last().repeated(2));

        // "もう一度" in the middle drops the attempt and its clock.
        commitWords(d, text.left(40));
        h.clock.advance(1000);
        button(d, 3)->click();
        QVERIFY(box(d, 1)->text().isEmpty() && box(d, 2)->text().isEmpty());
        typeAttempt(d, 126);
        QCOMPARE(resultLine, QStringLiteral("ただいまのタイムは02分06秒でした。"));
        button(d, 1)->click(); // 目次へ
    });
    h.runner.then(readResult);
    h.runner.then(readResult);
    h.runner.then(readResult);
    m.menu.CourseButton_Click(9);
    QCOMPARE(h.runner.opened, (QStringList{"F_les9_1", "F_sotu_NG", "F_sotu_OK", "F_sotu_OK"}));
    QVERIFY(h.runner.scriptDone());
    QVERIFY(h.messages.shown.isEmpty());
    QCOMPARE(h.messages.beeps, 3);
    QCOMPARE(h.savedRecord().BestGraduationTime, QStringLiteral("02分06"));
}

void TestSentenceWindows::resultWindows_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("pass") << "F_sotu_OK"
                          << QStringList{"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"};
    QTest::newRow("fail") << "F_sotu_NG" << QStringList{"Label1", "Label2", "Label3", "Label7"};
}

void TestSentenceWindows::resultWindows()
{
    QFETCH(QString, screen);
    QFETCH(QStringList, names);
    Harness h;
    GraduationResultWindow w(h.ctx, screen, QStringLiteral("02分06"), QStringLiteral("01分50"));
    w.Form_Load();
    w.show();
    QCOMPARE(h.messages.beeps, 1); // the result is heard as well as seen
    QCOMPARE(w.objectName(), screen);
    QCOMPARE(w.windowTitle(), QStringLiteral("卒業試験結果"));
    const QList<ResultLabel> expected = GraduationResultLabels(screen, QStringLiteral("02分06"), QStringLiteral("01分50"));
    QCOMPARE(expected.size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        QLabel* l = w.findChild<QLabel*>(names[i]);
        QVERIFY2(l, qPrintable(names[i]));
        QCOMPARE(l->text(), expected[i].text);
        QVERIFY(l->height() >= l->heightForWidth(l->width())); // wrapped, not clipped
    }
    QVERIFY(!w.findChild<QLabel*>(QStringLiteral("Label8")));
    QCOMPARE(button(w, 1)->text(), QStringLiteral("OK"));
    button(w, 1)->click();
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(TestSentenceWindows)
#include "tst_sentencewindows.moc"
