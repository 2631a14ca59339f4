// The rhythm lesson windows through their named controls: a whole lesson
// typed from the menu to its end, the metronome's timer, and the drill
// line over the typing box.

#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "core/ProgressFile.h"
#include "lessons/RhythmLessonWindow.h"
#include "support/Controls.h"
#include "support/Harness.h"
#include "ui/Fonts.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::button;
using morvela::test::label;

namespace {

TypingBox* text1(const QWidget& w)
{
    return w.findChild<TypingBox*>(QStringLiteral("Text1"));
}

ProgressRecord savedRecord(const Harness& h)
{
    return ParseProgress(h.folder.read(QStringLiteral("morvela.ini"))).record;
}

// Window x of every pixel column of `w` that holds some ink.
QList<int> inkColumns(QWidget& window, QWidget& w)
{
    const QImage image = w.grab().toImage();
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(x, y)) < 110) {
                columns << w.mapTo(&window, QPoint(x, 0)).x();
                break;
            }
        }
    }
    return columns;
}

} // namespace

class TestLessonWindow : public QObject {
    Q_OBJECT
private slots:
    void wholeLessonFromTheMenu();
    void windowsOfTheFourLessons_data();
    void windowsOfTheFourLessons();
    void metronomeTimer();
    void typedTextStandsUnderTheDrillText_data();
    void typedTextStandsUnderTheDrillText();
};

void TestLessonWindow::wholeLessonFromTheMenu()
{
    Harness h;
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    h.state.progress.LessonStates[0] = LessonState::Completed;
    h.state.progress.FurthestPage = QStringLiteral("00-03");
    auto* menuText2 = menu.findChild<QLineEdit*>(QStringLiteral("Text2"));
    const QByteArray fileBefore = h.folder.read(QStringLiteral("morvela.ini"));

    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Morvela Ver.4.0 ● Lesson1 ●"));
        QVERIFY(!label(d, 6)); // Lesson 1 has no page label
        // Opening puts "練習中" on the menu at once, but not into the file.
        QCOMPARE(menuText2->text(), QStringLiteral("練習中"));
        QCOMPARE(h.folder.read(QStringLiteral("morvela.ini")), fileBefore);
        TypingBox* box = text1(d);
        QVERIFY(!button(d, 4)->isEnabled());

        // Page 1 to the beat at level 1: well typed, but not a pass.
        QTest::keyClick(box, 'X');
        QTest::keyClick(box, Qt::Key_Return); // a miss, never a button press
        QTest::keyClicks(box, label(d, 4)->text());
        QCOMPARE(label(d, 5)->text(), QStringLiteral("たいへんお上手です。リズムのスピードを上げてチャレンジしましょう。"));
        QCOMPARE(box->text(), label(d, 4)->text());
        QCOMPARE(button(d, 1)->text(), QStringLiteral("音再開"));
        QVERIFY(!button(d, 4)->isEnabled());
        QCOMPARE(h.folder.read(QStringLiteral("morvela.ini")), fileBefore);

        // Typed again with the metronome stopped: a pass; the metronome
        // restarts and the completing key leaves an empty box.
        QTest::keyClicks(box, label(d, 4)->text());
        QCOMPARE(label(d, 5)->text(), QStringLiteral("おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。"));
        QVERIFY(box->text().isEmpty());
        QCOMPARE(button(d, 1)->text(), QStringLiteral("音停止"));
        QVERIFY(d.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QCOMPARE(d.focusWidget(), button(d, 4));
        QCOMPARE(savedRecord(h).FurthestPage, QStringLiteral("01-01"));
        QCOMPARE(savedRecord(h).LessonStates[1], QStringLiteral("練習中"));
        QTest::keyClick(d.focusWidget(), Qt::Key_Return); // on to page 2 without the mouse
        QCOMPARE(d.focusWidget(), box);
        QCOMPARE(label(d, 4)->text(), RhythmLessonScript(1).page(2).drillText);

        // Pages 2 to 7 at level 5: each passes and is saved.
        for (int page = 2; page <= 7; ++page) {
            button(d, 1)->click(); // a running metronome from an empty box
            for (int i = 0; i < 4; ++i)
                button(d, 2)->click();
            QCOMPARE(label(d, 3)->text(), QStringLiteral("５"));
            QVERIFY(box->text().isEmpty());
            QTest::keyClicks(box, label(d, 4)->text().left(20));
            QTest::keyClick(box, Qt::Key_Backspace); // a miss, nothing erased
            QTest::keyClicks(box, label(d, 4)->text().mid(20));
            QCOMPARE(box->text(), label(d, 4)->text());
            QCOMPARE(label(d, 5)->text(), QStringLiteral("おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。"));
            QVERIFY(button(d, 4)->isEnabled());
            QCOMPARE(savedRecord(h).FurthestPage, MakePageId(1, page));
            QCOMPARE(savedRecord(h).LessonStates[1], page < 7 ? QStringLiteral("練習中") : QStringLiteral("完了"));
            if (page < 7) {
                button(d, 4)->click();
                QCOMPARE(label(d, 3)->text(), QStringLiteral("１"));
                QCOMPARE(d.findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 1300);
            }
        }
        QCOMPARE(menuText2->text(), QStringLiteral("完了"));
        QVERIFY(h.messages.shown.isEmpty());
        QCOMPARE(d.focusWidget(), button(d, 4));
        QTest::keyClick(d.focusWidget(), Qt::Key_Return); // the end of the lesson
        QVERIFY(!d.isVisible());
    });
    menu.CourseButton_Click(1);

    QCOMPARE(h.runner.opened, QStringList{QStringLiteral("F_les1_1")});
    QVERIFY(h.runner.scriptDone());
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].text, QStringLiteral("お疲れ様でした。Lesson1終了です。"));
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::Information);
    const ProgressRecord saved = savedRecord(h);
    QCOMPARE(saved, h.state.progress);
    QCOMPARE(saved.LessonStates[1], QStringLiteral("完了"));
    QCOMPARE(saved.FurthestPage, QStringLiteral("01-07"));
    QCOMPARE(saved.LessonStates[2], QStringLiteral("未"));
}

void TestLessonWindow::windowsOfTheFourLessons_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<QString>("hint");
    QTest::newRow("Lesson 1") << 1 << "リズムに合わせて以下の文字をタイプして下さい。(手元を見ちゃダメよ！！）";
    QTest::newRow("Lesson 2") << 2 << "遅くても良いですから、絶対に手元を見ないで、確実にタイプしましょう。";
    QTest::newRow("Lesson 3") << 3 << "時々前のレッスンに戻って復習すると効果的です。くれぐれも手元を見ないように！";
    QTest::newRow("Lesson 4") << 4 << "キーを打つ時には、心の中で文字を唱える様にすると効果的です。";
}

void TestLessonWindow::windowsOfTheFourLessons()
{
    QFETCH(int, lesson);
    QFETCH(QString, hint);
    Harness h;
    h.state.progress.FurthestPage = MakePageId(lesson, 1);
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_les%1_1").arg(lesson));
        QCOMPARE(d.windowTitle(), QStringLiteral("Morvela Ver.4.0 ● Lesson%1 ●").arg(lesson));
        QCOMPARE(label(d, 1)->text(), hint);
        QCOMPARE(label(d, 2)->text(), QStringLiteral("速さレベル："));
        QCOMPARE(label(d, 3)->text(), QStringLiteral("１"));
        QCOMPARE(label(d, 5)->text(), QStringLiteral("両手の指は、つねにホームポジションに置きましょう。"));
        QCOMPARE(label(d, 4)->text(), RhythmLessonScript(lesson).page(1).drillText);
        QCOMPARE(bool(label(d, 6)), lesson > 1);
        const QStringList captions{"音停止", "速く", "遅く", "次ページ>>", "<<前ページ", "目次へ"};
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(button(d, i)->text(), captions[i - 1]);
        QVERIFY(button(d, 4)->isEnabled()); // page 1 was passed before
        QVERIFY(!button(d, 5)->isEnabled());
        QVERIFY(d.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().width() > 0);
        QCOMPARE(d.focusWidget(), text1(d));
        QVERIFY(!text1(d)->inputMethodQuery(Qt::ImEnabled).toBool());
        // Leaving for the menu keeps the new state in memory only.
        button(d, 6)->click();
        QVERIFY(!d.isVisible());
    });
    h.ctx.runScreen<RhythmLessonWindow>(nullptr, lesson);
    QVERIFY(h.runner.scriptDone());
    QCOMPARE(h.state.progress.LessonStates[size_t(lesson)], QStringLiteral("練習中"));
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini")));
}

void TestLessonWindow::metronomeTimer()
{
    Harness h;
    h.state.progress.FurthestPage = QStringLiteral("03-07");
    RhythmLessonWindow w(h.ctx, 3);
    w.Form_Load();
    QTimer& timer = w.Timer1();
    QCOMPARE(timer.timerType(), Qt::PreciseTimer);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 1300);

    w.Timer1_Timer();
    QCOMPARE(w.clicks(), 1);
    // No click player lies beside the tests: the program's beep stands in.
    QCOMPARE(h.messages.beeps, 1);

    w.Command2_Click();
    QCOMPARE(timer.interval(), 1000);
    // Keys do not restart the beat: only a change of tempo does.
    const int remaining = timer.remainingTime();
    QTest::keyClicks(text1(w), QStringLiteral("hah"));
    QVERIFY(timer.remainingTime() <= remaining);

    w.Command1_Click();
    QVERIFY(!timer.isActive());
    QCOMPARE(button(w, 1)->text(), QStringLiteral("音再開"));
    QCOMPARE(text1(w)->text(), QStringLiteral("hah"));
    w.Command1_Click();
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 1000);
    QVERIFY(text1(w)->text().isEmpty());

    for (int page = 2; page <= 5; ++page)
        w.Command4_Click();
    QVERIFY(!timer.isActive()); // a word page: no beat
    QCOMPARE(button(w, 1)->text(), QStringLiteral("もう一度"));
    QVERIFY(!button(w, 2)->isEnabled());
    w.Command5_Click();
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 1300);

    w.Command6_Click(); // the metronome stops with the window
    QVERIFY(!timer.isActive());
}

void TestLessonWindow::typedTextStandsUnderTheDrillText_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("page");
    QTest::newRow("Lesson 1 page 2") << 1 << 2;
    QTest::newRow("Lesson 3 page 1") << 3 << 1;
    QTest::newRow("Lesson 3 word page 5") << 3 << 5;
}

void TestLessonWindow::typedTextStandsUnderTheDrillText()
{
    QFETCH(int, lesson);
    QFETCH(int, page);
    Harness h;
    h.state.progress.FurthestPage = QStringLiteral("04-07");
    RhythmLessonWindow w(h.ctx, lesson);
    w.Form_Load();
    for (int p = 1; p < page; ++p)
        w.Command4_Click();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QLabel* label4 = label(w, 4);
    TypingBox* box = text1(w);
    QVERIFY(FullWidthIsTwoHalfWidths(label4->font()));
    QCOMPARE(box->font(), label4->font());
    QWidget* frame = box; // the box draws its own border: as the learner sees it
    QCOMPARE(frame->width(), label4->width());
    QCOMPARE(frame->mapTo(&w, QPoint()).x(), label4->mapTo(&w, QPoint()).x());
    if (QLabel* label6 = label(w, 6)) {
        QCOMPARE(label6->font(), label4->font());
        QCOMPARE(label6->mapTo(&w, label6->contentsRect().topLeft()).x(),
                 label4->mapTo(&w, label4->contentsRect().topLeft()).x());
    }

    // Every typed glyph covers exactly the pixel columns of the one above it,
    // to the end of the line.
    QTest::keyClicks(box, label4->text());
    button(w, 6)->setFocus(); // no text cursor in the picture
    const QList<int> typed = inkColumns(w, *box);
    QVERIFY(!typed.isEmpty());
    QList<int> above = inkColumns(w, *label4);
    QCOMPARE(typed, above);
    QVERIFY(above.last() < label4->mapTo(&w, QPoint(label4->width(), 0)).x()); // nothing clipped
}

QTEST_MAIN(TestLessonWindow)
#include "tst_lessonwindow.moc"
