// Lesson 0's three pages through their named controls: the speed test typed
// through the boxes, the judgement, the home-row sequence, when the progress
// file is written, and the whole lesson from the menu and back.

#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "core/ProgressFile.h"
#include "intro/F_Position.h"
#include "intro/F_hantei.h"
#include "intro/F_welcome.h"
#include "support/Controls.h"
#include "support/Harness.h"

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::ManualClock;
using morvela::test::button;
using morvela::test::label;

namespace {

TypingBox* box(const QWidget& w, int n)
{
    return w.findChild<TypingBox*>(QStringLiteral("Text%1").arg(n));
}

// What the input method sends when a conversion is confirmed.
void commit(QWidget* target, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(target, &e);
}

const QString& sentence(int n)
{
    return SpeedTestSentences()[size_t(n - 1)];
}

// The three sentences typed through the page's boxes, `seconds` apart from
// the first character to the last.
void typeSpeedTest(QWidget& page, ManualClock& clock, int seconds)
{
    box(page, 1)->offer(sentence(1).left(1));
    clock.advance(seconds);
    box(page, 1)->offer(sentence(1).mid(1));
    box(page, 2)->offer(sentence(2));
    box(page, 3)->offer(sentence(3));
}

ProgressRecord savedRecord(const Harness& h)
{
    return ParseProgress(h.folder.read(QStringLiteral("morvela.ini"))).record;
}

} // namespace

class TestLesson0Pages : public QObject {
    Q_OBJECT
private slots:
    void speedTestPage();
    void judgementPage_data();
    void judgementPage();
    void homePositionPage();
    void nextPageSavesOnlyWhenRaised_data();
    void nextPageSavesOnlyWhenRaised();
    void enterPressesTheFocusedButton();
    void wholeLessonFromTheMenu();
    void pagesFitTheirText();
    void hugeKeyboardPictureKeepsThePageOnScreen();
};

void TestLesson0Pages::speedTestPage()
{
    Harness h;
    F_welcome page(h.ctx);
    page.Form_Load();
    page.show();

    QCOMPARE(page.windowTitle(), QStringLiteral("Morvela Ver.4.0 ● Lesson0 ●"));
    QCOMPARE(label(page, 1)->text(), QStringLiteral("■■■　タイピング練習ソフト【 Morvela】にようこそ！　■■■"));
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(label(page, 4 + i)->text(), sentence(i));
        QVERIFY(box(page, i)->text().isEmpty());
        QVERIFY(box(page, i)->inputMethodQuery(Qt::ImEnabled).toBool() == (i == 1));
    }
    QCOMPARE(button(page, 1)->text(), QStringLiteral("目次へ"));
    QCOMPARE(button(page, 2)->text(), QStringLiteral("次ページ>>"));
    QCOMPARE(button(page, 3)->text(), QStringLiteral("もう一度"));
    QVERIFY(!button(page, 2)->isEnabled());
    QVERIFY(label(page, 8)->text().isEmpty());
    QCOMPARE(label(page, 9)->text(), QStringLiteral("あなたの最高タイムは99分99秒です"));
    QCOMPARE(h.state.progress.LessonStates[0], QStringLiteral("練習中"));

    // Text1 has the focus; the later boxes are out of reach.
    QCOMPARE(page.focusWidget(), box(page, 1));
    QVERIFY(!box(page, 2)->isEnabled());
    QVERIFY(!box(page, 3)->isEnabled());
    QTest::mouseClick(box(page, 3), Qt::LeftButton);
    QCOMPARE(page.focusWidget(), box(page, 1));

    // Backspace and a wrong key: nothing removed, nothing entered, two misses.
    box(page, 1)->offer(sentence(1).left(2));
    QTest::keyClick(box(page, 1), Qt::Key_Backspace);
    commit(box(page, 1), QStringLiteral("無"));
    QCOMPARE(box(page, 1)->text(), sentence(1).left(2));
    QCOMPARE(page.speedTest().misses(), 2);

    // A conversion that runs past the end of the first sentence carries on
    // into the second box, as if typed there.
    h.clock.advance(70);
    commit(box(page, 1), sentence(1).mid(2) + sentence(2).left(4));
    QCOMPARE(box(page, 1)->text(), sentence(1));
    QCOMPARE(box(page, 2)->text(), sentence(2).left(4));
    QCOMPARE(page.focusWidget(), box(page, 2));
    QVERIFY(box(page, 2)->isEnabled());
    QVERIFY(box(page, 2)->inputMethodQuery(Qt::ImEnabled).toBool());
    QCOMPARE(box(page, 1)->focusPolicy(), Qt::NoFocus); // typed, in sight, out of reach
    QTest::mouseClick(box(page, 1), Qt::LeftButton);
    QCOMPARE(page.focusWidget(), box(page, 2));
    QVERIFY(!box(page, 3)->isEnabled());

    h.clock.advance(13);
    commit(box(page, 2), sentence(2).mid(4) + sentence(3));
    QCOMPARE(box(page, 2)->text(), sentence(2));
    QCOMPARE(box(page, 3)->text(), sentence(3));
    QCOMPARE(label(page, 8)->text(), QStringLiteral("お疲れ様でした。ただ今の所要時間は01分23秒、入力ミスは2回でした。"));
    QCOMPARE(label(page, 9)->text(), QStringLiteral("あなたの最高タイムは01分23秒です"));
    QCOMPARE(h.state.progress.BestSpeedTime, QStringLiteral("01分23"));
    QVERIFY(button(page, 2)->isEnabled());
    QCOMPARE(page.focusWidget(), button(page, 2));
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini"))); // the best time waits for the next save

    // "もう一度": empty boxes, Text1 again; the result and the button stay.
    button(page, 3)->click();
    for (int i = 1; i <= 3; ++i)
        QVERIFY(box(page, i)->text().isEmpty());
    QCOMPARE(page.focusWidget(), box(page, 1));
    QVERIFY(!box(page, 2)->isEnabled());
    QCOMPARE(box(page, 1)->focusPolicy(), Qt::StrongFocus);
    QVERIFY(label(page, 8)->text().startsWith(QStringLiteral("お疲れ様でした。")));
    QVERIFY(button(page, 2)->isEnabled());

    // A slower second attempt keeps the best time.
    typeSpeedTest(page, h.clock, 100);
    QCOMPARE(label(page, 8)->text(), QStringLiteral("お疲れ様でした。ただ今の所要時間は01分40秒、入力ミスは0回でした。"));
    QCOMPARE(label(page, 9)->text(), QStringLiteral("あなたの最高タイムは01分23秒です"));
}

void TestLesson0Pages::judgementPage_data()
{
    QTest::addColumn<QString>("best");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("no time yet") << "99分99"
                                 << QStringList{"あなたは、あまりキーボードに慣れていらっしゃらない様ですね。",
                                                "あなたの様な方にこそ、ぜひともこのソフトでトレーニングして戴きたい！！",
                                                "下記の文をお読みになって、奮起されることを期待致します。(^_-)"};
    QTest::newRow("fast") << "00分46"
                          << QStringList{"いやぁ～、なかなか速いですね。(^_^)",
                                         "もしあなたがブラインドタッチで打っているのでしたら、",
                                         "このソフトで練習する必要はありません。"};
}

void TestLesson0Pages::judgementPage()
{
    QFETCH(QString, best);
    QFETCH(QStringList, lines);
    Harness h;
    h.state.progress.BestSpeedTime = best;
    F_hantei page(h.ctx);
    page.Form_Load();

    QCOMPARE(page.objectName(), QStringLiteral("F_hantei"));
    QCOMPARE(page.windowTitle(), QStringLiteral("Morvela Ver.4.0 ● Lesson0 ●"));
    QCOMPARE(label(page, 1)->text(),
             QStringLiteral("あなたの最高タイムは") + best + QStringLiteral("秒でした。(ちなみに作者の最高は00分46秒です。）"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(label(page, 2 + i)->text(), lines[i]);
    QCOMPARE(label(page, 9)->text(), QStringLiteral("■入力スピードが上がります"));
    QCOMPARE(label(page, 10)->text(), QStringLiteral("■疲れにくくなります。"));
    QCOMPARE(label(page, 11)->text(), QStringLiteral("■仕事の質が上がります。"));
    QVERIFY(label(page, 8)->text().startsWith(QStringLiteral("キーボードと画面を")));
    QCOMPARE(button(page, 1)->text(), QStringLiteral("次ページ>>"));
    QCOMPARE(button(page, 2)->text(), QStringLiteral("<<前ページ"));
    QCOMPARE(button(page, 3)->text(), QStringLiteral("目次へ"));
    QVERIFY(button(page, 1)->isEnabled());
}

void TestLesson0Pages::homePositionPage()
{
    Harness h; // its folder holds "Keyboard.bmp"; the page asks for "keyboard.bmp"
    h.state.progress.LessonStates[0] = QStringLiteral("練習中");
    QList<int> rowsShown;
    h.ctx.rowStateChanged = [&](int row) { rowsShown << row; };
    F_Position page(h.ctx);
    page.Form_Load();
    page.show();

    QCOMPARE(page.windowTitle(), QStringLiteral("Morvela Ver.4.0 ● Lesson0 ●"));
    QCOMPARE(page.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().size(), QSize(2, 2));
    QCOMPARE(label(page, 5)->text(), QStringLiteral("ffjjddkkssllaa;;"));
    QVERIFY(label(page, 6)->text().isEmpty());
    QVERIFY(!button(page, 1)->isEnabled());
    TypingBox* text1 = box(page, 1);
    QCOMPARE(page.focusWidget(), text1);
    QVERIFY(!text1->inputMethodQuery(Qt::ImEnabled).toBool());

    QTest::keyClicks(text1, QStringLiteral("ffjjddkkssllaa;"));
    QTest::keyClick(text1, Qt::Key_L);
    QTest::keyClick(text1, Qt::Key_Backspace);
    QCOMPARE(text1->text(), QStringLiteral("ffjjddkkssllaa;"));
    QCOMPARE(page.drill().misses(), 2);
    QCOMPARE(h.state.progress.LessonStates[0], QStringLiteral("練習中"));
    QVERIFY(rowsShown.isEmpty());

    QTest::keyClick(text1, Qt::Key_Semicolon);
    QCOMPARE(text1->text(), QStringLiteral("ffjjddkkssllaa;;"));
    QCOMPARE(label(page, 6)->text(), QStringLiteral("ＯＫ！その調子です。"));
    QVERIFY(button(page, 1)->isEnabled());
    QCOMPARE(page.focusWidget(), button(page, 1));
    QCOMPARE(h.state.progress.LessonStates[0], QStringLiteral("完了"));
    QCOMPARE(rowsShown, QList<int>{0});
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini")));

    // The box is not cleared: the sequence is checked from its start again.
    QTest::keyClicks(text1, QStringLiteral("ff"));
    QCOMPARE(text1->text(), QStringLiteral("ffjjddkkssllaa;;ff"));
}

void TestLesson0Pages::enterPressesTheFocusedButton()
{
    Harness h;
    F_hantei hantei(h.ctx);
    hantei.Form_Load();
    hantei.show();
    QCOMPARE(hantei.focusWidget(), button(hantei, 1));
    QTest::keyClick(hantei.focusWidget(), Qt::Key_Return);
    QVERIFY(!hantei.isVisible());
    QCOMPARE(hantei.result(), int(Lesson0Page::Position));

    F_Position position(h.ctx);
    position.Form_Load();
    position.show();
    QTest::keyClicks(box(position, 1), HomeRowSequence);
    QCOMPARE(position.focusWidget(), button(position, 1));
    // Enter in the typing box is a key to judge, never a button press.
    QTest::keyClick(box(position, 1), Qt::Key_Return);
    QCOMPARE(position.drill().misses(), 1);
    QVERIFY(position.isVisible());
    QTest::keyClick(position.focusWidget(), Qt::Key_Enter);
    QVERIFY(!position.isVisible());
    QCOMPARE(savedRecord(h).FurthestPage, QStringLiteral("00-03"));
}

void TestLesson0Pages::nextPageSavesOnlyWhenRaised_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("furthest");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("next");

    QTest::newRow("00-01 first time") << 1 << "00-00" << true << 2;
    QTest::newRow("00-01 again") << 1 << "00-01" << false << 2;
    QTest::newRow("00-02 from 00-01") << 2 << "00-01" << true << 3;
    QTest::newRow("00-02 at 05-03") << 2 << "05-03" << false << 3;
    QTest::newRow("00-03 from 00-02") << 3 << "00-02" << true << 0;
    QTest::newRow("00-03 again") << 3 << "00-03" << false << 0;
}

void TestLesson0Pages::nextPageSavesOnlyWhenRaised()
{
    QFETCH(int, page);
    QFETCH(QString, furthest);
    QFETCH(bool, written);
    QFETCH(int, next);

    Harness h; // no progress file yet: any write shows
    h.state.progress.LessonStates[0] = QStringLiteral("完了"); // every "次ページ>>" open
    h.state.progress.FurthestPage = furthest;
    h.state.progress.BestSpeedTime = QStringLiteral("01分05");

    std::unique_ptr<QDialog> window;
    int nextButton = 1;
    if (page == 1) {
        auto* w = new F_welcome(h.ctx);
        w->Form_Load();
        window.reset(w);
        nextButton = 2;
    } else if (page == 2) {
        auto* w = new F_hantei(h.ctx);
        w->Form_Load();
        window.reset(w);
    } else {
        auto* w = new F_Position(h.ctx);
        w->Form_Load();
        window.reset(w);
    }
    QCOMPARE(button(*window, nextButton)->text(), QStringLiteral("次ページ>>"));
    window->show();
    button(*window, nextButton)->click();

    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), next);
    QCOMPARE(h.folder.exists(QStringLiteral("morvela.ini")), written);
    if (written) {
        QCOMPARE(h.state.progress.FurthestPage, MakePageId(0, page));
        QCOMPARE(savedRecord(h), h.state.progress); // the whole record, best time and state included
    } else {
        QCOMPARE(h.state.progress.FurthestPage, furthest);
    }
    QVERIFY(h.messages.shown.isEmpty());
}

void TestLesson0Pages::wholeLessonFromTheMenu()
{
    Harness h;
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    menu.show();
    auto* menuText1 = menu.findChild<QLineEdit*>(QStringLiteral("Text1"));
    const QString file = QStringLiteral("morvela.ini");
    QCOMPARE(savedRecord(h).FurthestPage, QStringLiteral("00-00"));
    QByteArray bytes;

    // 00-01: the speed test, then on.
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_welcome"));
        QVERIFY(!menu.isVisible());
        QVERIFY(!button(d, 2)->isEnabled());
        typeSpeedTest(d, h.clock, 83);
        button(d, 2)->click();
        QCOMPARE(savedRecord(h).FurthestPage, QStringLiteral("00-01"));
        QCOMPARE(savedRecord(h).BestSpeedTime, QStringLiteral("01分23"));
        QCOMPARE(savedRecord(h).LessonStates[0], QStringLiteral("練習中"));
        bytes = h.folder.read(file);
    });
    // 00-02 judges the time; back to 00-01.
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_hantei"));
        QCOMPARE(label(d, 2)->text(), QStringLiteral("あなたは、かなりキーボードに慣れていらっしゃいますね。(^_^)"));
        button(d, 2)->click();
    });
    // 00-01 loads afresh: no result, the best time, "次ページ>>" open; passing it again writes nothing.
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_welcome"));
        QVERIFY(label(d, 8)->text().isEmpty());
        QCOMPARE(label(d, 9)->text(), QStringLiteral("あなたの最高タイムは01分23秒です"));
        QVERIFY(button(d, 2)->isEnabled());
        button(d, 2)->click();
        QCOMPARE(h.folder.read(file), bytes);
    });
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_hantei"));
        button(d, 1)->click();
        QCOMPARE(savedRecord(h).FurthestPage, QStringLiteral("00-02"));
    });
    // 00-03: the sequence completes Lesson 0 at once, on the menu too; back to 00-02.
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_Position"));
        QVERIFY(!button(d, 1)->isEnabled());
        QTest::keyClicks(box(d, 1), QStringLiteral("ffjjddkkssllaa;;"));
        QCOMPARE(h.state.progress.LessonStates[0], QStringLiteral("完了"));
        QCOMPARE(menuText1->text(), QStringLiteral("完了"));
        QCOMPARE(savedRecord(h).LessonStates[0], QStringLiteral("練習中"));
        bytes = h.folder.read(file);
        button(d, 2)->click();
    });
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_hantei"));
        button(d, 1)->click(); // 00-02 passed before: nothing written
        QCOMPARE(h.folder.read(file), bytes);
    });
    // Back on 00-03 after completing: "次ページ>>" open at once; it leaves for the menu.
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_Position"));
        QVERIFY(button(d, 1)->isEnabled());
        button(d, 1)->click();
        QCOMPARE(savedRecord(h).FurthestPage, QStringLiteral("00-03"));
        QCOMPARE(savedRecord(h).LessonStates[0], QStringLiteral("完了"));
    });
    button(menu, 1)->click(); // "Lesson0"

    QCOMPARE(h.runner.opened, (QStringList{"F_welcome", "F_hantei", "F_welcome", "F_hantei", "F_Position",
                                            "F_hantei", "F_Position"}));
    QVERIFY(h.runner.scriptDone());
    QVERIFY(menu.isVisible());
    QCOMPARE(menuText1->text(), QStringLiteral("完了"));
    QVERIFY(h.messages.shown.isEmpty());

    // Lesson 1 now opens.
    h.runner.then([](QDialog& d) { QCOMPARE(d.objectName(), QStringLiteral("F_les1_1")); });
    menu.CourseButton_Click(1);
    QCOMPARE(h.runner.opened.last(), QStringLiteral("F_les1_1"));
    QVERIFY(h.messages.shown.isEmpty());

    // "目次へ" on the first page leaves at once; the state stays completed.
    h.runner.then([](QDialog& d) { button(d, 1)->click(); });
    menu.CourseButton_Click(0);
    QCOMPARE(h.runner.opened.last(), QStringLiteral("F_welcome"));
    QVERIFY(menu.isVisible());
    QCOMPARE(h.state.progress.LessonStates[0], QStringLiteral("完了"));
}

// Every text is in sight: each label is as tall as its wrapped text needs,
// and each page fits on a small screen.
void TestLesson0Pages::pagesFitTheirText()
{
    Harness h;
    h.state.progress.BestSpeedTime = QStringLiteral("00分30");
    F_welcome welcome(h.ctx);
    F_hantei hantei(h.ctx);
    F_Position position(h.ctx);
    welcome.Form_Load();
    hantei.Form_Load();
    position.Form_Load();
    typeSpeedTest(welcome, h.clock, 83); // the longest result line
    for (QDialog* page : {static_cast<QDialog*>(&welcome), static_cast<QDialog*>(&hantei),
                          static_cast<QDialog*>(&position)}) {
        page->show();
        QVERIFY(page->width() <= 800);
        QVERIFY2(page->height() <= 740, qPrintable(QString::number(page->height())));
        for (QLabel* l : page->findChildren<QLabel*>()) {
            if (l->text().isEmpty())
                continue;
            const int needed = l->wordWrap() ? l->heightForWidth(l->width()) : l->sizeHint().height();
            QVERIFY2(l->height() >= needed, qPrintable(page->objectName() + "." + l->objectName()));
            QVERIFY2(l->wordWrap() || l->width() >= l->sizeHint().width(),
                     qPrintable(page->objectName() + "." + l->objectName()));
        }
        page->close();
    }
}

void TestLesson0Pages::hugeKeyboardPictureKeepsThePageOnScreen()
{
    Harness h;
    QImage huge(5000, 5000, QImage::Format_RGB32);
    huge.fill(Qt::darkCyan);
    QVERIFY(huge.save(h.folder.file(QStringLiteral("Keyboard.bmp")), "BMP"));
    F_Position page(h.ctx);
    page.Form_Load();
    page.show();
    const QSize shown = page.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().size();
    QCOMPARE(shown, QSize(250, 250)); // scaled into the picture's place, its shape kept
    QVERIFY(page.width() <= 800);
    QVERIFY(page.height() <= 740);
}

QTEST_MAIN(TestLesson0Pages)
#include "tst_lesson0pages.moc"
