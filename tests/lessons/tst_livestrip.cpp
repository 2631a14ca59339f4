// The live strip on every typing screen: it sits in room the screen has to
// spare, so no control moves or is covered for it; it follows the attempt as
// the learner types and keeps a judged attempt's figures until the next one
// begins; and each judged attempt reaches the learner's record. The practice
// page of the weakest keys books nothing in the progress record.

#include "core/MissedKeys.h"
#include "intro/F_Position.h"
#include "intro/F_welcome.h"
#include "lessons/GraduationWindows.h"
#include "lessons/RhythmLessonWindow.h"
#include "lessons/SentenceLessonWindow.h"
#include "lessons/WeakKeyPractice.h"
#include "lessons/WordDrillWindow.h"
#include "support/Controls.h"
#include "support/Harness.h"
#include "ui/LiveStrip.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLayout>
#include <QTest>

#include <memory>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::button;
using morvela::test::label;
using morvela::test::typingBox;

namespace {

// Collects what the screens hand to the learner's record.
struct CollectedAttempts final : AttemptLog {
    void record(const AttemptRecord& attempt) override { attempts << attempt; }
    QList<AttemptRecord> attempts;
};

// The typing screen `name` opened on `h`.
std::unique_ptr<QDialog> openScreen(Harness& h, const QString& name)
{
    h.state.progress.LessonStates[0] = LessonState::Completed;
    h.state.progress.FurthestPage = QStringLiteral("08-01");
    std::unique_ptr<QDialog> screen;
    const int lesson = name.mid(5, 1).toInt();
    if (name == QLatin1String("F_Position")) {
        auto* w = new F_Position(h.ctx);
        w->Form_Load();
        screen.reset(w);
    } else if (name == QLatin1String("F_welcome")) {
        auto* w = new F_welcome(h.ctx);
        w->Form_Load();
        screen.reset(w);
    } else if (lesson >= 1 && lesson <= 4) {
        auto* w = new RhythmLessonWindow(h.ctx, lesson);
        w->Form_Load();
        screen.reset(w);
    } else if (lesson == 5 || lesson == 6) {
        auto* w = new WordDrillWindow(h.ctx, lesson);
        w->Form_Load();
        screen.reset(w);
    } else if (lesson == 7 || lesson == 8) {
        auto* w = new SentenceLessonWindow(h.ctx, lesson);
        w->Form_Load();
        screen.reset(w);
    } else {
        auto* w = new GraduationExamWindow(h.ctx);
        w->Form_Load();
        screen.reset(w);
    }
    screen->show();
    return screen;
}

bool isLine(const QWidget* w)
{
    return w->objectName() == QLatin1String("LiveStrip") || w->objectName() == QLatin1String("MissedKeys");
}

// Where every named control lies in its window, the window's size first;
// the two lines that take spare room left out.
QList<QPair<QString, QRect>> controlPlaces(QDialog& window)
{
    QList<QPair<QString, QRect>> places{{QStringLiteral("(window)"), QRect(QPoint(0, 0), window.size())}};
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!isLine(w) && !w->objectName().isEmpty())
            places.append({w->objectName(), QRect(w->mapTo(&window, QPoint(0, 0)), w->size())});
    }
    return places;
}

void settle(QDialog& window)
{
    window.layout()->activate();
    QCoreApplication::processEvents();
}

} // namespace

class TestLiveStrip : public QObject {
    Q_OBJECT
private slots:
    void takesOnlySpareRoom_data();
    void takesOnlySpareRoom();
    void fitsALargerDesktopFont();
    void followsTheAttemptAndKeepsTheJudgedOne();
    void judgedPagesReachTheRecord();
    void practicePageBooksNothing();
};

void TestLiveStrip::takesOnlySpareRoom_data()
{
    QTest::addColumn<QString>("screen");
    // Lesson 5 has room for the strip or the most-missed-keys line at its
    // widest, not both: the strip yields while that line shows.
    QTest::addColumn<bool>("yields");
    for (const char* name : {"F_Position", "F_welcome", "F_les1_1", "F_les2_1", "F_les4_1", "F_les5_1", "F_les6_1",
                             "F_les7_1", "F_les8_1", "F_les9_1"})
        QTest::newRow(name) << QString::fromLatin1(name) << (qstrcmp(name, "F_les5_1") == 0);
}

void TestLiveStrip::takesOnlySpareRoom()
{
    QFETCH(QString, screen);
    QFETCH(bool, yields);
    Harness h;
    std::unique_ptr<QDialog> window = openScreen(h, screen);
    auto* strip = window->findChild<LiveStrip*>(QStringLiteral("LiveStrip"));
    QVERIFY(strip);
    QLabel* missedKeys = window->findChild<QLabel*>(QStringLiteral("MissedKeys"));

    // Without the strip, as the screen stood before it.
    strip->hide();
    settle(*window);
    const QList<QPair<QString, QRect>> without = controlPlaces(*window);

    // The strip and the most-missed-keys line at their widest.
    strip->show();
    const bool inputMethod = screen == QLatin1String("F_welcome") || screen == QLatin1String("F_les6_1")
        || screen.startsWith(QLatin1String("F_les7")) || screen.startsWith(QLatin1String("F_les8"))
        || screen.startsWith(QLatin1String("F_les9"));
    const QString widest = LiveStrip::widestLine(inputMethod);
    strip->setText(widest);
    const QString widestMissed = MostMissedLine({{U' ', 10}, {U'w', 10}, {U'm', 10}});
    if (missedKeys && !yields)
        missedKeys->setText(widestMissed);
    settle(*window);
    QCOMPARE(controlPlaces(*window), without);

    const int needed = strip->fontMetrics().horizontalAdvance(widest);
    QVERIFY2(strip->width() >= needed, qPrintable(QStringLiteral("%1 px for %2 px").arg(strip->width()).arg(needed)));
    QVERIFY(strip->height() >= strip->fontMetrics().height());
    if (missedKeys) {
        QVERIFY2(missedKeys->width() >= missedKeys->fontMetrics().horizontalAdvance(missedKeys->text()),
                 "the most-missed-keys line lost its room");
    }
    // Nothing shown lies under it.
    const QRect at(strip->mapTo(window.get(), QPoint(0, 0)), strip->size());
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w == strip || !w->isVisible() || w->objectName().isEmpty() || w->isAncestorOf(strip))
            continue;
        const QRect other(w->mapTo(window.get(), QPoint(0, 0)), w->size());
        QVERIFY2(!at.intersects(other), qPrintable(QStringLiteral("the strip covers %1").arg(w->objectName())));
    }

    if (yields) {
        // A page judged with misses: its most-missed keys take the room.
        const QString text = typingBox(*window, 1)->accessibleName();
        typingBox(*window, 1)->offer(QStringLiteral("\b") + text);
        QVERIFY(!missedKeys->text().isEmpty());
        QVERIFY(strip->isHidden());
        missedKeys->setText(widestMissed);
        settle(*window);
        QCOMPARE(controlPlaces(*window), without);
        QVERIFY(missedKeys->width() >= missedKeys->fontMetrics().horizontalAdvance(widestMissed));
        // A page entered afresh has no such line: the strip is back.
        button(*window, 1)->click();
        button(*window, 4)->click();
        QVERIFY(!strip->isHidden());
    }
}

// A desktop font larger than the one the course is laid out for leaves the
// strip less room than its line: the line is drawn smaller, not cut.
void TestLiveStrip::fitsALargerDesktopFont()
{
    const QFont before = QApplication::font();
    QFont larger = before;
    larger.setPointSizeF(before.pointSizeF() * 1.4);
    QApplication::setFont(larger);
    Harness h;
    std::unique_ptr<QDialog> window = openScreen(h, QStringLiteral("F_les1_1"));
    settle(*window);
    auto* strip = window->findChild<LiveStrip*>(QStringLiteral("LiveStrip"));
    QVERIFY(strip);
    typingBox(*window, 1)->offer(QStringLiteral("qqq"));
    settle(*window);
    QApplication::setFont(before);
    QVERIFY(!strip->text().isEmpty());
    const qreal needed = QFontMetricsF(strip->font(), strip).horizontalAdvance(strip->text());
    QVERIFY2(needed <= strip->contentsRect().width(),
             qPrintable(QStringLiteral("%1 px for %2 px").arg(strip->contentsRect().width()).arg(needed)));
}

void TestLiveStrip::followsTheAttemptAndKeepsTheJudgedOne()
{
    Harness h;
    std::unique_ptr<QDialog> window = openScreen(h, QStringLiteral("F_les1_1"));
    auto* strip = window->findChild<LiveStrip*>(QStringLiteral("LiveStrip"));
    TypingBox* box = typingBox(*window, 1);
    QCOMPARE(strip->text(), LiveLine({0, 0, 0, false}));

    const QString text = RhythmLessonScript(1).page(1).drillText;
    box->offer(QStringLiteral("x") + text.left(10));
    h.clock.advanceMs(6000);
    box->offer(text.mid(10, 1));
    QCOMPARE(strip->text(), LiveLine({6000, 11, 1, false}));

    // The page typed through: its figures stay while the next attempt has
    // not begun, however time goes on.
    box->offer(text.mid(11));
    const QString judged = LiveLine({6000, int(text.size()), 1, false});
    QCOMPARE(strip->text(), judged);
    h.clock.advanceMs(9000);
    strip->refresh();
    QCOMPARE(strip->text(), judged);
    // The next attempt's first key shows it.
    box->offer(text.left(1));
    QCOMPARE(strip->text(), LiveLine({0, 1, 0, false}));
}

void TestLiveStrip::judgedPagesReachTheRecord()
{
    Harness h;
    CollectedAttempts log;
    h.ctx.setAttemptLog(log);
    std::unique_ptr<QDialog> window = openScreen(h, QStringLiteral("F_les1_1"));
    const QString text = RhythmLessonScript(1).page(1).drillText;
    button(*window, 1)->click(); // the metronome stopped: a pass
    typingBox(*window, 1)->offer(text.left(5));
    button(*window, 1)->click(); // restarted unjudged: nothing recorded
    QVERIFY(log.attempts.isEmpty());
    button(*window, 1)->click();
    typingBox(*window, 1)->offer(text);
    QCOMPARE(log.attempts.size(), 1);
    QCOMPARE(log.attempts[0].screen, QStringLiteral("F_les1_1"));
    QCOMPARE(log.attempts[0].pageId, QStringLiteral("01-01"));
    QCOMPARE(log.attempts[0].outcome, QStringLiteral("合格"));
    QCOMPARE(log.attempts[0].accepted, int(text.size()));
}

void TestLiveStrip::practicePageBooksNothing()
{
    Harness h;
    CollectedAttempts log;
    h.ctx.setAttemptLog(log);
    h.state.progress.FurthestPage = QStringLiteral("01-03");
    h.state.progress.LessonStates[1] = LessonState::Practising;
    const ProgressRecord before = h.state.progress;
    const QString line = QStringLiteral("qazqaz;p;p");
    int rows = 0;
    h.ctx.rowStateChanged = [&rows](int) { ++rows; };
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_nigate"));
        QVERIFY(d.windowTitle().contains(QStringLiteral("苦手キー練習")));
        QCOMPARE(label(d, 4)->text(), line);
        QVERIFY(button(d, 4)->isEnabled()); // never gated
        QVERIFY(d.findChild<LiveStrip*>(QStringLiteral("LiveStrip")));
        button(d, 1)->click(); // the metronome stopped: a pass
        typingBox(d, 1)->offer(line);
        QCOMPARE(label(d, 5)->text(), QStringLiteral("おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。"));
        QCOMPARE(d.focusWidget(), button(d, 4));
        button(d, 4)->click(); // its one page leads out
        QVERIFY(!d.isVisible());
    });
    RunWeakKeyPractice(h.ctx, line, nullptr);
    QVERIFY(h.runner.scriptDone());
    QCOMPARE(h.state.progress, before);
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini")));
    QVERIFY(h.messages.shown.isEmpty());
    QCOMPARE(rows, 0);
    QCOMPARE(log.attempts.size(), 1);
    QCOMPARE(log.attempts[0].screen, QStringLiteral("F_nigate"));
    QCOMPARE(log.attempts[0].pageId, QStringLiteral("苦手キー練習"));
    QCOMPARE(log.attempts[0].outcome, QStringLiteral("合格"));
}

QTEST_MAIN(TestLiveStrip)
#include "tst_livestrip.moc"
