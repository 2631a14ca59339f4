// Lesson 0's rules without windows: the speed test's clock, cursor, misses
// and best time; the judgement bands; the home-row sequence; when the pages'
// "次ページ>>" opens.

#include "intro/Lesson0.h"
#include "intro/SpeedTest.h"
#include "support/ManualClock.h"

#include <QTest>

using namespace morvela;
using morvela::test::ManualClock;

namespace {

const QString& sentence(int box)
{
    return SpeedTestSentences()[size_t(box)];
}

// Types `text` into `box`; every character must be taken.
void typeInto(SpeedTest& test, int box, const QString& text)
{
    for (const char32_t c : text.toUcs4())
        QVERIFY2(test.keyPress(box, c).accepted, qPrintable(QStringLiteral("refused in box %1").arg(box)));
}

} // namespace

class TestLesson0Logic : public QObject {
    Q_OBJECT
private slots:
    void timedAttempt_data();
    void timedAttempt();
    void wrongFirstCharacterStartsNoClock();
    void refusedKeysRemoveNothing_data();
    void refusedKeysRemoveNothing();
    void boxesTakeTheirTurn();
    void againStartsANewAttempt();
    void openingThePage_data();
    void openingThePage();
    void speedBands_data();
    void speedBands();
    void homeRowSequence();
};

void TestLesson0Logic::timedAttempt_data()
{
    QTest::addColumn<QString>("storedBest");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("speedTime");
    QTest::addColumn<QString>("newBest");

    QTest::newRow("83 s, no miss, first time") << "99分99" << 83 << 0 << "01分23" << "01分23";
    QTest::newRow("misses are reported") << "99分99" << 83 << 3 << "01分23" << "01分23";
    QTest::newRow("slower keeps the best") << "01分00" << 83 << 0 << "01分23" << "01分00";
    QTest::newRow("faster replaces the best") << "01分30" << 83 << 0 << "01分23" << "01分23";
    QTest::newRow("59 min 59 s") << "99分99" << 3599 << 0 << "59分59" << "59分59";
    // An hour or more never looks fast: 1 h 2 min 3 s is not "02分03".
    QTest::newRow("1 h 2 min 3 s is no fast time") << "10分00" << 3723 << 0 << "59分59" << "10分00";
    QTest::newRow("exactly an hour") << "99分99" << 3600 << 0 << "59分59" << "59分59";
    QTest::newRow("2 h 0 min 10 s over no time yet") << "99分99" << 7210 << 0 << "59分59" << "59分59";
}

void TestLesson0Logic::timedAttempt()
{
    QFETCH(QString, storedBest);
    QFETCH(int, seconds);
    QFETCH(int, misses);
    QFETCH(QString, speedTime);
    QFETCH(QString, newBest);

    ProgressRecord record;
    record.BestSpeedTime = storedBest;
    ManualClock clock;
    SpeedTest test(record, clock);
    test.open();

    const qint64 start = clock.nowSeconds();
    typeInto(test, 0, sentence(0).left(1));
    clock.advance(seconds);
    typeInto(test, 0, sentence(0).mid(1));
    for (int i = 0; i < misses; ++i)
        QVERIFY(!test.keyPress(1, U'x').accepted);
    typeInto(test, 1, sentence(1));
    typeInto(test, 2, sentence(2).chopped(1));
    QVERIFY(test.resultLine().isEmpty());
    const KeyOutcome last = test.keyPress(2, sentence(2).back().unicode());

    QVERIFY(last.accepted);
    QVERIFY(test.nextPageOpen());
    QCOMPARE(last.effects.focus, QStringLiteral("Command2"));
    QCOMPARE(last.line, 2);
    QCOMPARE(test.startTime(), start);
    QCOMPARE(test.endTime(), start + seconds);
    QCOMPARE(test.speedTime(), speedTime);
    QCOMPARE(test.resultLine(), QStringLiteral("お疲れ様でした。ただ今の所要時間は") + speedTime
                                 + QStringLiteral("秒、入力ミスは%1回でした。").arg(misses));
    QCOMPARE(record.BestSpeedTime, newBest);
    QCOMPARE(test.bestTimeLine(), QStringLiteral("あなたの最高タイムは") + newBest + QStringLiteral("秒です"));
    // The learner's record keeps the attempt with the time the page shows.
    QVERIFY(last.effects.finishedAttempt);
    const AttemptRecord& r = *last.effects.finishedAttempt;
    QCOMPARE(r.screen, QStringLiteral("F_welcome"));
    QCOMPARE(r.pageId, QStringLiteral("00-01"));
    QCOMPARE(r.outcome, speedTime);
    QCOMPARE(r.durationMs, qint64(seconds) * 1000);
    QCOMPARE(r.misses, misses);
    QCOMPARE(r.accepted, int((sentence(0) + sentence(1) + sentence(2)).toUcs4().size()));
    QVERIFY(r.inputMethod);
}

void TestLesson0Logic::wrongFirstCharacterStartsNoClock()
{
    ProgressRecord record;
    ManualClock clock;
    SpeedTest test(record, clock);
    test.open();

    const KeyOutcome wrong = test.keyPress(0, U'子');
    QVERIFY(!wrong.accepted);
    QCOMPARE(test.misses(), 1);
    QCOMPARE(test.cursor(), 1);
    QVERIFY(!test.timingStarted());

    clock.advance(600); // the learner hesitates: none of it is timed
    const qint64 start = clock.nowSeconds();
    typeInto(test, 0, sentence(0).left(1));
    QVERIFY(test.timingStarted());
    QCOMPARE(test.startTime(), start);
    clock.advance(45);
    typeInto(test, 0, sentence(0).mid(1));
    typeInto(test, 1, sentence(1));
    typeInto(test, 2, sentence(2));
    QCOMPARE(test.speedTime(), QStringLiteral("00分45"));
    QCOMPARE(test.resultLine(), QStringLiteral("お疲れ様でした。ただ今の所要時間は00分45秒、入力ミスは1回でした。"));
}

void TestLesson0Logic::refusedKeysRemoveNothing_data()
{
    QTest::addColumn<uint>("key");
    QTest::newRow("Backspace") << uint(0x08);
    QTest::newRow("Enter") << uint(0x0D);
    QTest::newRow("half-width space for nothing") << uint(0x20);
    QTest::newRow("the character after the next") << uint(U'鉄');
}

void TestLesson0Logic::refusedKeysRemoveNothing()
{
    QFETCH(uint, key);
    ProgressRecord record;
    ManualClock clock;
    SpeedTest test(record, clock);
    test.open();
    typeInto(test, 0, sentence(0).left(3));

    QVERIFY(!test.keyPress(0, char32_t(key)).accepted);
    QCOMPARE(test.cursor(), 4);
    QCOMPARE(test.misses(), 1);
    typeInto(test, 0, sentence(0).mid(3, 1)); // the right one is still the next
}

void TestLesson0Logic::boxesTakeTheirTurn()
{
    ProgressRecord record;
    ManualClock clock;
    SpeedTest test(record, clock);
    test.open();

    // A later box takes nothing before its turn, and counts nothing.
    QVERIFY(!test.keyPress(1, sentence(1).front().unicode()).accepted);
    QVERIFY(!test.keyPress(2, U'x').accepted);
    QCOMPARE(test.misses(), 0);
    QVERIFY(!test.timingStarted());

    typeInto(test, 0, sentence(0).chopped(1));
    const KeyOutcome endOfFirst = test.keyPress(0, sentence(0).back().unicode());
    QCOMPARE(endOfFirst.line, 1); // Text2's turn
    QCOMPARE(test.currentBox(), 1);
    QCOMPARE(test.cursor(), 1);
    // The first box is done: it takes nothing more.
    QVERIFY(!test.keyPress(0, sentence(0).front().unicode()).accepted);

    clock.advance(10);
    typeInto(test, 1, sentence(1).chopped(1));
    QCOMPARE(test.keyPress(1, sentence(1).back().unicode()).line, 2); // Text3's turn
    QCOMPARE(test.currentBox(), 2);
    typeInto(test, 2, sentence(2));
    QCOMPARE(test.speedTime(), QStringLiteral("00分10"));

    // Typing on in the last box checks its sentence from the start again;
    // finishing again is timed from the first start.
    QCOMPARE(test.currentBox(), 2);
    QCOMPARE(test.cursor(), 1);
    clock.advance(20);
    typeInto(test, 2, sentence(2));
    QCOMPARE(test.speedTime(), QStringLiteral("00分30"));
    QCOMPARE(record.BestSpeedTime, QStringLiteral("00分10"));
}

void TestLesson0Logic::againStartsANewAttempt()
{
    ProgressRecord record;
    ManualClock clock;
    SpeedTest test(record, clock);
    test.open();
    typeInto(test, 0, sentence(0));
    typeInto(test, 1, sentence(1));
    typeInto(test, 2, sentence(2));
    const QString result = test.resultLine();

    test.restart();
    QCOMPARE(test.currentBox(), 0);
    QCOMPARE(test.cursor(), 1);
    QCOMPARE(test.misses(), 0);
    QVERIFY(!test.timingStarted());
    QCOMPARE(test.resultLine(), result); // the last result stays in sight

    // Half an attempt with a miss, then again: a clean start.
    typeInto(test, 0, sentence(0).left(5));
    QVERIFY(!test.keyPress(0, U'x').accepted);
    test.restart();
    QCOMPARE(test.cursor(), 1);
    QCOMPARE(test.misses(), 0);
    const qint64 start = clock.nowSeconds() + 5;
    clock.advance(5);
    typeInto(test, 0, sentence(0).left(1));
    QCOMPARE(test.startTime(), start);
}

void TestLesson0Logic::openingThePage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("furthest");
    QTest::addColumn<bool>("nextOpen");

    QTest::newRow("00-01, first visit") << 1 << "未" << "00-00" << false;
    QTest::newRow("00-01, practising") << 1 << "練習中" << "00-00" << false;
    QTest::newRow("00-01, passed before") << 1 << "練習中" << "00-01" << true;
    QTest::newRow("00-01, completed earlier") << 1 << "完了" << "00-00" << true;
    QTest::newRow("00-01, far ahead") << 1 << "練習中" << "05-03" << true;
    QTest::newRow("00-03, only 00-02 passed") << 3 << "練習中" << "00-02" << false;
    QTest::newRow("00-03, passed before") << 3 << "練習中" << "00-03" << true;
    QTest::newRow("00-03, completed earlier") << 3 << "完了" << "00-00" << true;
}

void TestLesson0Logic::openingThePage()
{
    QFETCH(int, page);
    QFETCH(QString, state);
    QFETCH(QString, furthest);
    QFETCH(bool, nextOpen);

    ProgressRecord record;
    record.LessonStates[0] = state;
    record.FurthestPage = furthest;
    QCOMPARE(Lesson0NextPageOpen(record, Lesson0Page(page)), nextOpen);

    if (page == 1) {
        ManualClock clock;
        SpeedTest test(record, clock);
        const ScreenEffects opened = test.open();
        QCOMPARE(test.nextPageOpen(), nextOpen);
        QCOMPARE(opened.clearBoxes, (QStringList{"Text1", "Text2", "Text3"}));
        // Opening the speed test makes a new lesson "練習中" in memory only:
        // the menu's row is not redrawn and nothing else changes.
        QVERIFY(!opened.rowStateShown);
        QVERIFY(!opened.save);
        QCOMPARE(record.LessonStates[0], state == QStringLiteral("未") ? QStringLiteral("練習中") : state);
        QCOMPARE(record.FurthestPage, furthest);
    }
}

void TestLesson0Logic::speedBands_data()
{
    QTest::addColumn<QString>("best");
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("firstLine");

    const QString band1 = QStringLiteral("なんとっ！　作者の私よりも速いとは！！　お見逸れ致しました。ﾍ(__ﾍ)");
    const QString band2 = QStringLiteral("いやぁ～、なかなか速いですね。(^_^)");
    const QString band3 = QStringLiteral("あなたは、かなりキーボードに慣れていらっしゃいますね。(^_^)");
    const QString band4 = QStringLiteral("ブラインドタッチは出来なくても、ほぼ不自由無いと感じておられるのでは？");
    const QString band5 = QStringLiteral("あなたは、あまりキーボードに慣れていらっしゃらない様ですね。");
    QTest::newRow("00分00") << "00分00" << 1 << band1;
    QTest::newRow("00分45") << "00分45" << 1 << band1;
    QTest::newRow("00分46") << "00分46" << 2 << band2;
    QTest::newRow("01分10") << "01分10" << 2 << band2;
    QTest::newRow("01分11") << "01分11" << 3 << band3;
    QTest::newRow("01分40") << "01分40" << 3 << band3;
    QTest::newRow("01分41") << "01分41" << 4 << band4;
    QTest::newRow("02分10") << "02分10" << 4 << band4;
    QTest::newRow("02分11") << "02分11" << 5 << band5;
    QTest::newRow("59分59") << "59分59" << 5 << band5;
    QTest::newRow("99分99") << "99分99" << 5 << band5;
    QTest::newRow("empty") << "" << 5 << band5;
}

void TestLesson0Logic::speedBands()
{
    QFETCH(QString, best);
    QFETCH(int, band);
    QFETCH(QString, firstLine);

    QCOMPARE(SpeedBand(best), band);
    const std::array<QString, 3> lines = SpeedBandLines(band);
    QCOMPARE(lines[0], firstLine);
    if (band >= 4) // band 5 shares its encouragement with band 4
        QCOMPARE(lines[2], QStringLiteral("下記の文をお読みになって、奮起されることを期待致します。(^_-)"));
    QCOMPARE(JudgedTimeLine(best),
             QStringLiteral("あなたの最高タイムは") + best + QStringLiteral("秒でした。(ちなみに作者の最高は00分46秒です。）"));
}

void TestLesson0Logic::homeRowSequence()
{
    ProgressRecord record;
    record.LessonStates[0] = QStringLiteral("練習中");
    HomeRowDrill drill(record);
    QCOMPARE(HomeRowSequence.size(), 16);

    for (const QChar c : HomeRowSequence.left(15))
        QVERIFY(drill.keyPress(c.unicode()).accepted);
    // A wrong key, a capital, Backspace: refused and counted; no completion.
    for (const char32_t wrong : {U':', U'F', U'\b'})
        QVERIFY(!drill.keyPress(wrong).accepted);
    QCOMPARE(drill.misses(), 3);
    QCOMPARE(record.LessonStates[0], QStringLiteral("練習中"));
    // The picture marks the key still expected; the line of the keys missed
    // most waits for the sequence to be typed through.
    QCOMPARE(drill.markedKey(), U';');
    QCOMPARE(drill.missedKeysLine(), QString());

    const KeyOutcome last = drill.keyPress(U';');
    QCOMPARE(drill.markedKey(), char32_t(0));
    QCOMPARE(drill.missedKeysLine(), QStringLiteral("よく間違えたキー：［;］３回"));
    QVERIFY(last.accepted);
    QVERIFY(last.effects.rowStateShown);
    QCOMPARE(last.effects.focus, QStringLiteral("Command1"));
    QCOMPARE(drill.praise(), QStringLiteral("ＯＫ！その調子です。"));
    QVERIFY(drill.nextPageOpen());
    QCOMPARE(record.LessonStates[0], QStringLiteral("完了"));

    // Typing on checks the sequence from its start again.
    QCOMPARE(drill.cursor(), 1);
    QVERIFY(!drill.keyPress(U';').accepted);
    QVERIFY(drill.keyPress(U'f').accepted);
}

QTEST_GUILESS_MAIN(TestLesson0Logic)
#include "tst_lesson0logic.moc"
