// The rhythm drill: judgement, metronome, pages and progress, driven through
// the engine the lesson windows forward their events to.

#include "lessons/PracticeScript.h"
#include "lessons/RhythmDrill.h"
#include "support/ManualClock.h"

#include <QMap>
#include <QTest>

using namespace morvela;

namespace {

const std::array<int, 5> kLevels{1300, 1000, 800, 600, 500};

const QString kPass = QStringLiteral("おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。");
const QString kSpeedUp = QStringLiteral("たいへんお上手です。リズムのスピードを上げてチャレンジしましょう。");
const QString kFewer = QStringLiteral("なかなかお上手です。もう少しミスタッチを減らせますか？");
const QString kCalm = QStringLiteral("ミスタッチが多いようですね。落ち着いてタイプしましょう。");
const QString kSlowDown = QStringLiteral("ミスタッチが多いようですね。リズムのスピードを落としてはいかが？");

constexpr int Stopped = 0;

struct LessonDrill {
    explicit LessonDrill(int lesson, const QString& furthest = QStringLiteral("00-03"))
        : drill(RhythmLessonScript(lesson), record, kLevels, clock)
    {
        record.FurthestPage = furthest;
        openEffects = drill.open();
    }
    ProgressRecord record;
    test::ManualClock clock;
    RhythmDrill drill;
    ScreenEffects openEffects;
};

// A key that completed the page: the judgement answers with effects.
bool judged(const KeyOutcome& k)
{
    return k.effects != ScreenEffects{};
}

// Types the page through with `misses` wrong keys (Backspace, Enter, capitals)
// spread over it; returns the completing key.
KeyOutcome typePage(RhythmDrill& drill, int misses)
{
    const QString text = drill.drillText();
    const char32_t wrong[] = {0x08, 0x0D, U'F'};
    KeyOutcome last;
    for (int i = 0; i < text.size(); ++i) {
        if (misses > 0 && i % 3 == 0) {
            const KeyOutcome k = drill.keyPress(wrong[misses % 3]);
            if (k.accepted || judged(k))
                return k; // fails in the caller
            --misses;
        }
        last = drill.keyPress(text.at(i).unicode());
    }
    return last;
}

void goToPage(RhythmDrill& drill, int page)
{
    while (drill.pageNo() < page)
        drill.nextPage();
}

} // namespace

class TestRhythmDrill : public QObject {
    Q_OBJECT
private slots:
    void timerRestartsOnlyWhenTheTempoChanges_data();
    void timerRestartsOnlyWhenTheTempoChanges();
    void judgementThresholds_data();
    void judgementThresholds();
    void wordPageJudgement_data();
    void wordPageJudgement();
    void levelButtons_data();
    void levelButtons();
    void completingAPageFlipsTheMetronome();
    void wrongKeysAreSwallowedAndCounted();
    void keyHelpAfterAMissAndAfterTheJudgement();
    void passKeepsAHigherFurthestPageAndStillSaves();
    void nextPageOnlyPastPassedPages_data();
    void nextPageOnlyPastPassedPages();
    void wordPagesStopTheMetronome();
    void lessonStateFromOpenToCompleted();
    void lastPageEndsTheLesson_data();
    void lastPageEndsTheLesson();
    void scriptsAreConsistent();
    void everyJudgedPageIsRecorded_data();
    void everyJudgedPageIsRecorded();
    void anAttemptRestartedUnjudgedIsNotRecorded();
    void aPracticePagePassedBooksNothing();
};

void TestRhythmDrill::timerRestartsOnlyWhenTheTempoChanges_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("running");
    QTest::addColumn<int>("wanted");
    QTest::addColumn<int>("change");
    QTest::newRow("a key at the same tempo keeps the beat") << true << 800 << 800 << int(TimerChange::Keep);
    QTest::newRow("a new level restarts it") << true << 800 << 600 << int(TimerChange::Start);
    QTest::newRow("an idle timer starts") << false << 800 << 800 << int(TimerChange::Start);
    QTest::newRow("stopped by the switch") << true << 800 << 0 << int(TimerChange::Stop);
    QTest::newRow("already stopped") << false << 800 << 0 << int(TimerChange::Keep);
}

void TestRhythmDrill::timerRestartsOnlyWhenTheTempoChanges()
{
    QFETCH(bool, active);
    QFETCH(int, running);
    QFETCH(int, wanted);
    QFETCH(int, change);
    QCOMPARE(int(MetronomeTimerChange(active, running, wanted)), change);
}

void TestRhythmDrill::judgementThresholds_data()
{
    QTest::addColumn<int>("level"); // 0 = metronome stopped at level 1
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("message");
    const struct {
        int level;
        const char* name;
        QString below5, from5, from10;
    } levels[] = {
        {1, "level 1", kSpeedUp, kFewer, kCalm},
        {4, "level 4", kSpeedUp, kFewer, kSlowDown},
        {5, "level 5", kPass, kFewer, kSlowDown},
        {Stopped, "stopped", kPass, kFewer, kSlowDown},
    };
    for (const auto& l : levels) {
        for (int misses : {0, 4, 5, 9, 10, 11}) {
            const QString& message = misses < 5 ? l.below5 : misses < 10 ? l.from5 : l.from10;
            QTest::addRow("%s, %d misses", l.name, misses) << l.level << misses << message;
        }
    }
}

void TestRhythmDrill::judgementThresholds()
{
    QFETCH(int, level);
    QFETCH(int, misses);
    QFETCH(QString, message);
    LessonDrill d(1, QStringLiteral("00-03"));
    for (int l = 1; l < level; ++l)
        d.drill.faster();
    if (level == Stopped)
        d.drill.switchMetronome();

    const KeyOutcome last = typePage(d.drill, misses);
    QVERIFY(judged(last));
    QCOMPARE(d.drill.screen().advice, message);
    const bool passed = message == kPass;
    QCOMPARE(last.effects.save, passed);
    QCOMPARE(d.drill.screen().nextPageEnabled, passed);
    QCOMPARE(d.record.FurthestPage, passed ? QStringLiteral("01-01") : QStringLiteral("00-03"));
    QCOMPARE(last.effects.focus, passed ? QStringLiteral("Command4") : QStringLiteral("Text1"));
    // A new attempt starts with the next key.
    QCOMPARE(d.drill.cursor(), 1);
    QCOMPARE(d.drill.misses(), 0);
}

void TestRhythmDrill::wordPageJudgement_data()
{
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("message");
    QTest::newRow("4 misses pass") << 4 << kPass;
    QTest::newRow("5 misses") << 5 << kFewer;
    QTest::newRow("10 misses: 0 is not level 1") << 10 << kSlowDown;
}

void TestRhythmDrill::wordPageJudgement()
{
    QFETCH(int, misses);
    QFETCH(QString, message);
    LessonDrill d(3, QStringLiteral("03-04"));
    goToPage(d.drill, 5);
    QCOMPARE(d.drill.screen().levelDigit, QStringLiteral("１"));

    const KeyOutcome last = typePage(d.drill, misses);
    QVERIFY(judged(last));
    QCOMPARE(d.drill.screen().advice, message);
    QCOMPARE(last.effects.save, message == kPass);
    QCOMPARE(d.record.FurthestPage, message == kPass ? QStringLiteral("03-05") : QStringLiteral("03-04"));
    // The metronome is left alone and the typed text stays in the box.
    QVERIFY(last.accepted);
    QVERIFY(!last.effects.clearBoxes.contains(QStringLiteral("Text1")));
    QCOMPARE(d.drill.screen().interval, 0);
    QCOMPARE(d.drill.screen().metronomeCaption, QStringLiteral("もう一度"));
    QCOMPARE(d.drill.cursor(), 1);
}

void TestRhythmDrill::levelButtons_data()
{
    QTest::addColumn<int>("fromLevel");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<int>("step"); // +1 faster, -1 slower
    QTest::addColumn<int>("toLevel"); // 0: nothing changes
    QTest::newRow("faster at level 5, running") << 5 << false << +1 << 0;
    QTest::newRow("faster at level 5, stopped") << 5 << true << +1 << 0;
    QTest::newRow("slower at level 1, running") << 1 << false << -1 << 0;
    QTest::newRow("slower at level 1, stopped") << 1 << true << -1 << 0;
    QTest::newRow("faster at level 2, running") << 2 << false << +1 << 3;
    QTest::newRow("faster at level 2, stopped") << 2 << true << +1 << 3;
    QTest::newRow("slower at level 4, running") << 4 << false << -1 << 3;
    QTest::newRow("slower at level 5, stopped") << 5 << true << -1 << 4;
}

void TestRhythmDrill::levelButtons()
{
    QFETCH(int, fromLevel);
    QFETCH(bool, stopped);
    QFETCH(int, step);
    QFETCH(int, toLevel);
    LessonDrill d(1);
    for (int l = 1; l < fromLevel; ++l)
        d.drill.faster();
    if (stopped)
        d.drill.switchMetronome();
    d.drill.keyPress(U'f');
    d.drill.keyPress(U'x');
    const DrillScreen before = d.drill.screen();

    const ScreenEffects effects = step > 0 ? d.drill.faster() : d.drill.slower();
    QCOMPARE(effects.focus, QStringLiteral("Text1"));
    if (toLevel == 0) {
        QVERIFY(d.drill.screen() == before);
        QVERIFY(!effects.clearBoxes.contains(QStringLiteral("Text1")));
        QCOMPARE(d.drill.cursor(), 2);
        QCOMPARE(d.drill.misses(), 1);
        return;
    }
    // The metronome runs at the new level; a stopped one restarts the attempt.
    QCOMPARE(d.drill.screen().interval, kLevels[size_t(toLevel - 1)]);
    QCOMPARE(d.drill.screen().levelDigit, QString(QChar(0xFF10 + toLevel)));
    QCOMPARE(d.drill.screen().metronomeCaption, QStringLiteral("音停止"));
    QCOMPARE(effects.clearBoxes.contains(QStringLiteral("Text1")), stopped);
    QCOMPARE(d.drill.cursor(), stopped ? 1 : 2);
    QCOMPARE(d.drill.misses(), stopped ? 0 : 1);
}

void TestRhythmDrill::completingAPageFlipsTheMetronome()
{
    LessonDrill d(1);
    d.drill.faster();
    d.drill.faster(); // level 3, running

    // Running: the completing key goes in, the metronome stops.
    KeyOutcome last = typePage(d.drill, 0);
    QVERIFY(judged(last));
    QVERIFY(last.accepted);
    QVERIFY(!last.effects.clearBoxes.contains(QStringLiteral("Text1")));
    QCOMPARE(d.drill.screen().interval, 0);
    QCOMPARE(d.drill.screen().metronomeCaption, QStringLiteral("音再開"));
    QCOMPARE(d.drill.savedInterval(), 800);

    // Typed again while stopped: judged as stopped (a pass), then the
    // metronome restarts at level 3, the completing key is cancelled and the
    // box emptied.
    last = typePage(d.drill, 2);
    QVERIFY(judged(last));
    QCOMPARE(d.drill.screen().advice, kPass);
    QVERIFY(!last.accepted);
    QVERIFY(last.effects.clearBoxes.contains(QStringLiteral("Text1")));
    QCOMPARE(d.drill.screen().interval, 800);
    QCOMPARE(d.drill.screen().levelDigit, QStringLiteral("３"));
    QCOMPARE(d.drill.screen().metronomeCaption, QStringLiteral("音停止"));

    // "音停止" keeps the attempt; "音再開" restarts it from an empty box.
    d.drill.keyPress(U'f');
    ScreenEffects e = d.drill.switchMetronome();
    QVERIFY(!e.clearBoxes.contains(QStringLiteral("Text1")));
    QCOMPARE(d.drill.cursor(), 2);
    e = d.drill.switchMetronome();
    QVERIFY(e.clearBoxes.contains(QStringLiteral("Text1")));
    QCOMPARE(d.drill.cursor(), 1);
    QCOMPARE(d.drill.screen().interval, 800);
}

void TestRhythmDrill::wrongKeysAreSwallowedAndCounted()
{
    LessonDrill d(2, QStringLiteral("02-03"));
    goToPage(d.drill, 4); // "tatituteto ..."
    for (char32_t c : {U't', U'a', U't', U'i'})
        QVERIFY(d.drill.keyPress(c).accepted);
    QVERIFY(d.drill.keyPress(U't').accepted);
    QVERIFY(!d.drill.keyPress(U's').accepted); // "tsu" for "tu": the s costs one miss
    QVERIFY(d.drill.keyPress(U'u').accepted);
    QCOMPARE(d.drill.misses(), 1);
    QCOMPARE(d.drill.cursor(), 7);

    // A space must be the space bar's: U+3000, Enter or Backspace are misses.
    for (char32_t c : {U't', U'e', U't', U'o'})
        d.drill.keyPress(c);
    for (char32_t c : {char32_t(0x3000), char32_t(0x0D), char32_t(0x08)})
        QVERIFY(!d.drill.keyPress(c).accepted);
    QVERIFY(d.drill.keyPress(U' ').accepted);
    QCOMPARE(d.drill.misses(), 4);
}

void TestRhythmDrill::keyHelpAfterAMissAndAfterTheJudgement()
{
    LessonDrill l(1);
    RhythmDrill& drill = l.drill;
    // "ffffjjjjddddkkkk" x 4: misses on the first j (twice), the first d and
    // the second j (once each).
    const QString text = drill.drillText();
    QMap<int, QList<char32_t>> missesAt{{4, {U'f', U'J'}}, {8, {U's'}}, {20, {U'\r'}}};
    for (int i = 0; i < text.size(); ++i) {
        for (const char32_t wrong : missesAt.value(i)) {
            QVERIFY(!drill.keyPress(wrong).accepted);
            QCOMPARE(drill.markedKey(), char32_t(text.at(i).unicode()));
        }
        drill.keyPress(text.at(i).unicode());
        QCOMPARE(drill.markedKey(), char32_t(0));
        if (i < text.size() - 1)
            QCOMPARE(drill.missedKeysLine(), QString());
    }
    QCOMPARE(drill.screen().advice, kSpeedUp);
    QCOMPARE(drill.missedKeysLine(), QStringLiteral("よく間違えたキー：［j］３回、［d］１回"));

    // The line stays with the judgement while the page is tried again, and
    // a try with no miss replaces it with nothing.
    QVERIFY(!drill.keyPress(U'j').accepted);
    QCOMPARE(drill.markedKey(), U'f');
    drill.switchMetronome(); // restarted: a new attempt, nothing marked
    QCOMPARE(drill.markedKey(), char32_t(0));
    QCOMPARE(drill.missedKeysLine(), QStringLiteral("よく間違えたキー：［j］３回、［d］１回"));
    QVERIFY(judged(typePage(drill, 0)));
    QCOMPARE(drill.missedKeysLine(), QString());

    // A new page starts without either.
    QVERIFY(judged(typePage(drill, 1)));
    QVERIFY(!drill.missedKeysLine().isEmpty());
    QVERIFY(!drill.keyPress(U'x').accepted);
    drill.nextPage();
    QCOMPARE(drill.missedKeysLine(), QString());
    QCOMPARE(drill.markedKey(), char32_t(0));
}

void TestRhythmDrill::passKeepsAHigherFurthestPageAndStillSaves()
{
    LessonDrill d(1, QStringLiteral("02-05"));
    goToPage(d.drill, 2);
    d.drill.switchMetronome();
    const KeyOutcome last = typePage(d.drill, 0);
    QCOMPARE(d.drill.screen().advice, kPass);
    QCOMPARE(d.record.FurthestPage, QStringLiteral("02-05"));
    QVERIFY(last.effects.save);
}

void TestRhythmDrill::nextPageOnlyPastPassedPages_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<QString>("furthest");
    QTest::addColumn<int>("passedUpTo"); // pages whose "次ページ>>" is open
    QTest::newRow("first visit after Lesson 0") << 1 << "00-03" << 0;
    QTest::newRow("records cleared") << 1 << "00-00" << 0;
    QTest::newRow("Lesson 1 up to page 4") << 1 << "01-04" << 4;
    QTest::newRow("first visit to Lesson 2") << 2 << "01-07" << 0;
    QTest::newRow("Lesson 3 reached: all of Lesson 1") << 1 << "03-02" << 7;
    QTest::newRow("Lesson 3 reached: all of Lesson 2") << 2 << "03-02" << 7;
    QTest::newRow("Lesson 3 reached: Lesson 3 page 2") << 3 << "03-02" << 2;
}

void TestRhythmDrill::nextPageOnlyPastPassedPages()
{
    QFETCH(int, lesson);
    QFETCH(QString, furthest);
    QFETCH(int, passedUpTo);
    LessonDrill d(lesson, furthest);
    QVERIFY(!d.drill.screen().previousPageEnabled);
    for (int page = 1; page <= 7; ++page) {
        QCOMPARE(d.drill.pageNo(), page);
        QCOMPARE(d.drill.screen().nextPageEnabled, page <= passedUpTo);
        if (page > passedUpTo) {
            // Passing the page opens the way on.
            if (!d.drill.script().isWordPage(page))
                d.drill.switchMetronome();
            typePage(d.drill, 0);
            QVERIFY(d.drill.screen().nextPageEnabled);
        }
        if (page < 7)
            d.drill.nextPage();
        QVERIFY(d.drill.screen().previousPageEnabled);
    }
    // Going back never closes the way forward; page 1 has no way back.
    for (int page = 6; page >= 1; --page) {
        d.drill.previousPage();
        QCOMPARE(d.drill.pageNo(), page);
        QVERIFY(d.drill.screen().nextPageEnabled);
        QCOMPARE(d.drill.screen().previousPageEnabled, page > 1);
    }
}

void TestRhythmDrill::wordPagesStopTheMetronome()
{
    LessonDrill d(2, QStringLiteral("02-07"));
    goToPage(d.drill, 5);
    d.drill.faster();
    d.drill.switchMetronome(); // stopped at level 2

    d.drill.nextPage(); // word page 6
    DrillScreen s = d.drill.screen();
    QCOMPARE(s.interval, 0);
    QCOMPARE(s.metronomeCaption, QStringLiteral("もう一度"));
    QVERIFY(!s.fasterEnabled);
    QVERIFY(!s.slowerEnabled);
    QCOMPARE(s.levelDigit, QStringLiteral("１"));
    QCOMPARE(s.advice, QStringLiteral("リズムを止めて、単語を練習しましょう。ゆっくり確実に！"));
    QCOMPARE(s.pageLabel, RhythmLessonScript(2).page(6).label);
    QCOMPARE(s.drillText, QStringLiteral("suna suna taki taki neko neko tetu tetu nisi nisi tuki tuki"));

    // "もう一度" empties the box for a clean retry; the metronome stays off.
    d.drill.keyPress(U's');
    d.drill.keyPress(U'x');
    const ScreenEffects again = d.drill.switchMetronome();
    QVERIFY(again.clearBoxes.contains(QStringLiteral("Text1")));
    QCOMPARE(d.drill.cursor(), 1);
    QCOMPARE(d.drill.misses(), 0);
    QVERIFY(d.drill.screen() == s);

    d.drill.nextPage(); // word page 7
    QCOMPARE(d.drill.screen().advice, QStringLiteral("リズムを止めて、短い言葉を練習しましょう。ゆっくり確実に！"));
    d.drill.previousPage();
    d.drill.previousPage(); // back on rhythm page 5: level 1, running
    s = d.drill.screen();
    QCOMPARE(s.interval, 1300);
    QCOMPARE(s.metronomeCaption, QStringLiteral("音停止"));
    QVERIFY(s.fasterEnabled);
    QVERIFY(s.slowerEnabled);
    QCOMPARE(s.advice, HomePositionAdvice);
    QCOMPARE(s.pageLabel, QStringLiteral("『なにぬねの』の練習です。下の絵を見て正しい指でタイプして下さい。"));
}

void TestRhythmDrill::lessonStateFromOpenToCompleted()
{
    LessonDrill d(4, QStringLiteral("04-05"));
    QCOMPARE(d.record.LessonStates[4], QStringLiteral("練習中"));
    QVERIFY(d.openEffects.rowStateShown);
    QCOMPARE(d.record.LessonStates[3], QStringLiteral("未")); // no other lesson's

    goToPage(d.drill, 6);
    KeyOutcome last = typePage(d.drill, 0);
    QVERIFY(last.effects.save);
    QVERIFY(!last.effects.rowStateShown);
    QCOMPARE(d.record.LessonStates[4], QStringLiteral("練習中"));

    d.drill.nextPage();
    typePage(d.drill, 7); // not passed
    QCOMPARE(d.record.LessonStates[4], QStringLiteral("練習中"));
    last = typePage(d.drill, 4);
    QVERIFY(last.effects.save);
    QVERIFY(last.effects.rowStateShown);
    QCOMPARE(d.record.LessonStates[4], QStringLiteral("完了"));
    QCOMPARE(d.record.FurthestPage, QStringLiteral("04-07"));

    // Opening again keeps "完了".
    RhythmDrill again(RhythmLessonScript(4), d.record, kLevels, d.clock);
    QVERIFY(!again.open().rowStateShown);
    QCOMPARE(d.record.LessonStates[4], QStringLiteral("完了"));
}

void TestRhythmDrill::lastPageEndsTheLesson_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<QString>("message");
    QTest::newRow("Lesson 1") << 1 << "お疲れ様でした。Lesson1終了です。";
    QTest::newRow("Lesson 4") << 4 << "お疲れ様でした。Lesson4終了です。";
}

void TestRhythmDrill::lastPageEndsTheLesson()
{
    QFETCH(int, lesson);
    QFETCH(QString, message);
    LessonDrill d(lesson, QStringLiteral("05-01"));
    goToPage(d.drill, 6);
    QVERIFY(!d.drill.nextPage().close);
    QVERIFY(d.drill.screen().nextPageEnabled);
    const ScreenEffects end = d.drill.nextPage();
    QVERIFY(end.close);
    QCOMPARE(end.message, message);
    QCOMPARE(end.messageIcon, MessageIcon::Information);
    QCOMPARE(d.drill.script().endMessage, message);
    QCOMPARE(d.drill.screen().interval, 0);
}

void TestRhythmDrill::scriptsAreConsistent()
{
    const int lastRhythm[] = {7, 5, 4, 5};
    for (int lesson = 1; lesson <= 4; ++lesson) {
        const LessonScript& s = RhythmLessonScript(lesson);
        QCOMPARE(s.lesson, lesson);
        QCOMPARE(s.windowName, QStringLiteral("F_les%1_1").arg(lesson));
        QCOMPARE(s.titleTag, QStringLiteral(" ● Lesson%1 ●").arg(lesson));
        QCOMPARE(s.lastRhythmPage, lastRhythm[lesson - 1]);
        for (int page = 1; page <= 7; ++page) {
            const DrillPage& p = s.page(page);
            QCOMPARE(p.pageId, MakePageId(lesson, page));
            QCOMPARE(p.kind == DrillPage::Kind::Word, s.isWordPage(page));
            QCOMPARE(p.advice.isEmpty(), p.kind == DrillPage::Kind::Rhythm);
            QCOMPARE(p.label.isEmpty(), lesson == 1);
            // Only keys the input method leaves alone.
            for (QChar c : p.drillText)
                QVERIFY2(c.unicode() >= 0x20 && c.unicode() < 0x7F, qPrintable(p.pageId));
        }
    }
}

// "Lesson/page": what the record of the judged attempt holds.
void TestRhythmDrill::everyJudgedPageIsRecorded_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("stopped"); // typed with the metronome stopped
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("pageId");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("tempo");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("passed with the metronome stopped")
        << 1 << 1 << true << 2 << "F_les1_1" << "01-01" << 1 << 0 << "合格";
    QTest::newRow("typed through at level 1: not passed yet")
        << 1 << 2 << false << 0 << "F_les1_1" << "01-02" << 1 << 1300 << "不合格";
    QTest::newRow("too many misses") << 3 << 1 << true << 10 << "F_les3_1" << "03-01" << 1 << 0 << "不合格";
    QTest::newRow("a word page has no level nor tempo")
        << 2 << 7 << false << 1 << "F_les2_1" << "02-07" << -1 << 0 << "合格";
}

void TestRhythmDrill::everyJudgedPageIsRecorded()
{
    QFETCH(int, lesson);
    QFETCH(int, page);
    QFETCH(bool, stopped);
    QFETCH(int, misses);
    LessonDrill d(lesson, QStringLiteral("04-07"));
    goToPage(d.drill, page);
    if (stopped)
        d.drill.switchMetronome();
    const QString text = d.drill.drillText();
    // Wrong keys first: they count, but the time starts at the first
    // accepted character, 4.25 s before the last.
    for (int i = 0; i < misses; ++i)
        QVERIFY(!d.drill.keyPress(U'\b').accepted);
    d.clock.advance(30);
    for (int i = 0; i + 1 < text.size(); ++i) {
        QVERIFY(!judged(d.drill.keyPress(text.at(i).unicode())));
        if (i == 0)
            d.clock.advanceMs(4250);
    }
    const KeyOutcome last = d.drill.keyPress(text.back().unicode());
    QVERIFY(last.effects.finishedAttempt);
    const AttemptRecord& r = *last.effects.finishedAttempt;
    QTEST(r.screen, "screen");
    QTEST(r.pageId, "pageId");
    QTEST(r.level, "level");
    QTEST(r.tempoMs, "tempo");
    QTEST(r.outcome, "outcome");
    QCOMPARE(r.durationMs, qint64(4250));
    QCOMPARE(r.accepted, int(text.size()));
    QCOMPARE(r.misses, misses);
    QVERIFY(!r.inputMethod);
    int expected = 0, missed = 0;
    for (const KeyCount& k : r.keys) {
        expected += k.expected;
        missed += k.missed;
    }
    QCOMPARE(expected, int(text.size()) + misses);
    QCOMPARE(missed, misses);
    QCOMPARE(r.keys.first().key, char32_t(text.at(0).unicode()));
    QCOMPARE(r.keys.first().missed, misses); // the misses fell on the first character
}

void TestRhythmDrill::anAttemptRestartedUnjudgedIsNotRecorded()
{
    LessonDrill d(1, QStringLiteral("01-07"));
    const QString text = d.drill.drillText();
    d.drill.keyPress(U'x');
    for (int i = 0; i < 10; ++i)
        d.drill.keyPress(text.at(i).unicode());
    // Stopping the metronome keeps the attempt; restarting it, a level
    // change or another page drop it unjudged.
    QVERIFY(!d.drill.switchMetronome().finishedAttempt);
    QVERIFY(!d.drill.switchMetronome().finishedAttempt);
    QVERIFY(!d.drill.faster().finishedAttempt);
    QVERIFY(!d.drill.nextPage().finishedAttempt);
    QVERIFY(!d.drill.previousPage().finishedAttempt);
    KeyOutcome last;
    for (const QChar c : text)
        last = d.drill.keyPress(c.unicode());
    QVERIFY(last.effects.finishedAttempt);
    QCOMPARE(last.effects.finishedAttempt->accepted, int(text.size()));
    QCOMPARE(last.effects.finishedAttempt->misses, 0);
}

void TestRhythmDrill::aPracticePagePassedBooksNothing()
{
    ProgressRecord record;
    record.FurthestPage = QStringLiteral("01-02");
    record.LessonStates[0] = LessonState::Completed;
    const ProgressRecord before = record;
    test::ManualClock clock;
    const LessonScript script = PracticeScript(QStringLiteral("qaqzpq"));
    RhythmDrill drill(script, record, kLevels, clock);
    const ScreenEffects opened = drill.open();
    QVERIFY(!opened.rowStateShown);
    QVERIFY(drill.screen().nextPageEnabled); // never gated
    drill.switchMetronome();
    KeyOutcome last;
    for (const QChar c : script.page(1).drillText)
        last = drill.keyPress(c.unicode());
    QCOMPARE(drill.screen().advice, kPass);
    QVERIFY(!last.effects.save);
    QVERIFY(!last.effects.rowStateShown);
    QCOMPARE(last.effects.focus, QStringLiteral("Command4"));
    QVERIFY(last.effects.finishedAttempt);
    QCOMPARE(last.effects.finishedAttempt->screen, QStringLiteral("F_nigate"));
    QCOMPARE(last.effects.finishedAttempt->pageId, QStringLiteral("苦手キー練習"));
    QCOMPARE(last.effects.finishedAttempt->outcome, QStringLiteral("合格"));
    QCOMPARE(record, before);
    // Its one page leads out: "次ページ>>" closes it without a word.
    const ScreenEffects leave = drill.nextPage();
    QVERIFY(leave.close);
    QVERIFY(leave.message.isEmpty());
    QCOMPARE(record, before);
}

QTEST_APPLESS_MAIN(TestRhythmDrill)
#include "tst_rhythmdrill.moc"
