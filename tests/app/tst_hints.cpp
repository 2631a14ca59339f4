// The hint pages and the two links to the web: the gates of the "？"
// buttons, one window filled afresh per page, hint 5's site button and its
// failure, and the menu's invitation to the home page.

#include "CourseScreens.h"
#include "app/F_hint.h"
#include "app/F_mokuji.h"
#include "app/Hints.h"
#include "support/Controls.h"
#include "support/Harness.h"

#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QUrl>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::button;
using morvela::test::label;

namespace {

struct Menu {
    Menu()
    {
        ConnectScreens(menu, h.ctx);
        menu.Form_Load();
        menu.show();
    }
    Harness h;
    test::RecordingUrlOpener& opener = h.links; // what the browser was asked to open
    F_mokuji menu{h.ctx};
};

} // namespace

class TestHints : public QObject {
    Q_OBJECT
private slots:
    void gates_data();
    void gates();
    void onePageAfterAnother();
    void pageIsCentredWithItsLines();
    void siteButtonFailure();
    void homePageInvitation();
    void everyPageHasItsTitleAndTwelveLines();
};

void TestHints::gates_data()
{
    QTest::addColumn<int>("hint");
    QTest::addColumn<QString>("message"); // "" = the page opens
    QTest::newRow("hint 1 has no gate") << 1 << QString();
    QTest::newRow("hint 2 needs Lesson 0") << 2 << QString();
    QTest::newRow("hint 3 needs Lesson 1") << 3 << QStringLiteral("Lesson1が終わっていないと、Lesson2には進めません。");
    QTest::newRow("hint 10 needs Lesson 8") << 10 << QStringLiteral("Lesson8が終わっていないと、卒業試験には進めません。");
}

void TestHints::gates()
{
    QFETCH(int, hint);
    QFETCH(QString, message);
    Menu m;
    m.h.state.progress.LessonStates[0] = LessonState::Completed;
    QString title;
    m.h.runner.then([&](QDialog& d) {
        QVERIFY(m.menu.isVisible()); // the menu stays behind the page
        title = d.windowTitle();
    });
    button(m.menu, 15 + hint)->click();
    if (message.isEmpty()) {
        QCOMPARE(m.h.runner.opened, QStringList{QStringLiteral("F_hint")});
        QCOMPARE(title, HintPages()[size_t(hint - 1)].title);
        QVERIFY(m.h.messages.shown.isEmpty());
    } else {
        QVERIFY(m.h.runner.opened.isEmpty());
        QCOMPARE(m.h.messages.shown.size(), 1);
        QCOMPARE(m.h.messages.shown[0].text, message);
        QCOMPARE(m.h.messages.shown[0].icon, MessageIcon::Warning);
    }
}

void TestHints::onePageAfterAnother()
{
    Menu m;
    m.h.state.progress.LessonStates.fill(LessonState::Completed);
    QList<QDialog*> windows;
    QList<bool> siteButton;
    QStringList firstLines;
    for (int i = 0; i < 3; ++i) {
        m.h.runner.then([&](QDialog& d) {
            windows << &d;
            siteButton << button(d, 2)->isVisible();
            firstLines << label(d, 1)->text();
        });
    }
    for (int hint : {5, 6, 1})
        button(m.menu, 15 + hint)->click();
    QCOMPARE(siteButton, (QList<bool>{true, false, false}));
    QCOMPARE(windows[0], windows[1]); // one window, filled afresh
    QCOMPARE(windows[1], windows[2]);
    QCOMPARE(firstLines[1], QStringLiteral("　ワープロソフトをお使いの方、あなたは『ルーラー』をきちん"));
    QCOMPARE(firstLines[2], QStringLiteral("良く使う単語や文章は、短い読みで辞書に登録しておくと"));
}

void TestHints::pageIsCentredWithItsLines()
{
    // The lines set the window's width: a window centred before they are
    // in hangs off to the right.
    Menu m;
    m.h.state.progress.LessonStates.fill(LessonState::Completed);
    QList<QPoint> offsets;
    QList<int> widths;
    for (int i = 0; i < 3; ++i) {
        m.h.runner.then([&](QDialog& d) {
            offsets << d.frameGeometry().center() - d.screen()->availableGeometry().center();
            widths << d.width();
        });
    }
    for (int hint : {1, 5, 10})
        button(m.menu, 15 + hint)->click();
    QCOMPARE(offsets.size(), 3);
    // Within the window's frame, which is known only once a window shows.
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(qAbs(offsets[i].x()) <= 4 && qAbs(offsets[i].y()) <= 4,
                 qPrintable(QStringLiteral("page %1: %2, %3 px off centre").arg(i).arg(offsets[i].x()).arg(offsets[i].y())));
    }
    QVERIFY(widths[0] > 400); // the lines are in
}

void TestHints::siteButtonFailure()
{
    for (const bool reached : {true, false}) {
        Harness h;
        test::RecordingUrlOpener& opener = h.links;
        opener.answer = reached;
        F_hint page(h.ctx);
        page.showHint(5);
        page.show();
        button(page, 2)->click();
        QCOMPARE(opener.opened.size(), 1);
        QCOMPARE(opener.opened[0].toString(), label(page, 12)->text()); // the address the page shows
        if (reached) {
            QVERIFY(h.messages.shown.isEmpty());
            QCOMPARE(h.messages.beeps, 0);
            continue;
        }
        QCOMPARE(h.messages.beeps, 1);
        QCOMPARE(h.messages.shown.size(), 1);
        QCOMPARE(h.messages.shown[0].text, QStringLiteral("インターネットに接続する環境を整えてから\rもう一度お試し下さい。"));
        QCOMPARE(h.messages.shown[0].title, QStringLiteral("インターネットにアクセスできません。"));
        QCOMPARE(h.messages.shown[0].icon, MessageIcon::None);
        QCOMPARE(h.state.MessageText, h.messages.shown[0].text);
        QVERIFY(page.isVisible());
    }
}

void TestHints::homePageInvitation()
{
    Menu m;
    m.opener.answer = false; // not examined
    button(m.menu, 26)->click();
    QCOMPARE(m.h.messages.shown.size(), 1);
    const QString text = m.h.messages.shown[0].text;
    QCOMPARE(text, QStringLiteral("インターネットにアクセスできる場合は、\rOstrelのホームページに御招待します。\r\r"
                                  "インターネットにアクセスできない場合は、\r何もおこりません。"));
    QCOMPARE(m.h.messages.shown[0].icon, MessageIcon::None);
    QCOMPARE(m.h.messages.shown[0].title, QStringLiteral("Morvela Ver.4.0"));
    QCOMPARE(m.opener.opened.size(), 1);
    QCOMPARE(m.opener.messagesBefore[0], 1); // the message comes first
    QVERIFY(m.opener.opened[0].host().endsWith(QStringLiteral("example.com")));
    // On screen each CR is a line break.
    QCOMPARE(ScreenText(text).count(QLatin1Char('\n')), 4);
    QVERIFY(!ScreenText(text).contains(QLatin1Char('\r')));
    QCOMPARE(ScreenText(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
}

void TestHints::everyPageHasItsTitleAndTwelveLines()
{
    Harness h;
    F_hint page(h.ctx);
    for (int hint = 1; hint <= 10; ++hint) {
        page.showHint(hint);
        const QString digits = hint == 10 ? QStringLiteral("１０") : QString(QChar(0xFF10 + hint));
        QCOMPARE(page.windowTitle(), QStringLiteral("文字入力のヒント　その") + digits);
        int filled = 0;
        for (int i = 1; i <= 12; ++i)
            filled += label(page, i)->text().isEmpty() ? 0 : 1;
        QVERIFY2(filled >= 6, qPrintable(page.windowTitle()));
    }
    page.showHint(10);
    QCOMPARE(label(page, 12)->text(), QStringLiteral("毎日使うことを思えば、安い買い物ではないでしょうか？"));
    QCOMPARE(button(page, 1)->text(), QStringLiteral("閉じる"));
}

QTEST_MAIN(TestHints)
#include "tst_hints.moc"
