// The game's rules played on explicit ticks: the numbers of each stage's
// speed, the key filter, whole stages from the first word to the clear, the
// game over, "Start" and the high score.

#include "GameDoubles.h"
#include "game/GameEngine.h"
#include "support/ManualClock.h"

#include <QTest>

using namespace morvela;
using morvela::test::MeasureByLength;
using morvela::test::ScriptedRandom;
using morvela::test::TenWords;

namespace {

QList<WordEntry> entries(const QStringList& lines)
{
    QList<WordEntry> words;
    for (const QString& line : lines)
        words << SplitWordEntry(line);
    return words;
}

// One opening of the game window, its run-long values beside it.
struct Game {
    explicit Game(const QList<WordEntry>& words = TenWords(), qint64 highScore = 0, bool marchPhase = false)
        : random(ScriptedRandom::wordsInOrder(int(words.size()))), highScore(highScore), marchPhase(marchPhase),
          engine(words, random, MeasureByLength, this->highScore, this->marchPhase, clock)
    {
        engine.open();
    }
    const InvaderView& target() const { return engine.screen().invaders[size_t(engine.currentTarget())]; }

    ScriptedRandom random;
    qint64 highScore;
    bool marchPhase;
    test::ManualClock clock;
    GameEngine engine;
};

// "1" for each character that went in, "0" for each refused.
QString type(GameEngine& engine, const QString& keys)
{
    QString verdicts;
    for (const uint c : keys.toUcs4())
        verdicts += engine.keyPress(char32_t(c)).accepted ? u'1' : u'0';
    return verdicts;
}

// Types the target's word and lets the beam land.
void shootTarget(Game& g)
{
    const QString word = g.target().caption;
    QCOMPARE(type(g.engine, word), QString(word.toUcs4().size(), u'1'));
    QVERIFY(g.engine.screen().timers.beam);
    g.engine.beamTick();
}

void clearStage(Game& g)
{
    for (int hit = 0; hit < InvaderCount; ++hit)
        shootTarget(g);
    QVERIFY(g.engine.stageCleared());
    g.engine.pauseTick();
}

// Descent ticks until the game is over; how many it took.
int ticksUntilGameOver(GameEngine& engine)
{
    int ticks = 0;
    while (!engine.gameOver() && ticks < 10000) {
        engine.descentTick();
        ++ticks;
    }
    return ticks;
}

} // namespace

class TestGameEngine : public QObject {
    Q_OBJECT
private slots:
    void speedOfEachStage_data();
    void speedOfEachStage();
    void hitPoints_data();
    void hitPoints();
    void keyFilter_data();
    void keyFilter();
    void wholeStageOnTicks();
    void nextTargetStartsNoHigherThanThePullDownLine();
    void halfTheColumnMovesAtEachTick();
    void emptyWordCannotBeHitAndEndsTheGame();
    void startAfterGameOverKeepsTheSpeed();
    void highScoreRisesOnlyAtAClearOrAGameOver();
    void beamStillFlyingAtGameOverMisses();
    void nothingGoesInDuringThePause();
    void aGameThatEndsIsRecorded();
};

void TestGameEngine::speedOfEachStage_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("perCharacter");
    QTest::addColumn<int>("next");
    QTest::newRow("stage 1") << 1500 << 457.2 << 180.7 << 66 << 1200;
    QTest::newRow("stage 2") << 1200 << 511.2 << 191.1 << 83 << 960;
    QTest::newRow("stage 3") << 960 << 571.5 << 202.1 << 104 << 768;
    QTest::newRow("stage 4") << 768 << 639.0 << 213.6 << 130 << 614;
    QTest::newRow("stage 5") << 614 << 714.7 << 225.9 << 162 << 491;
    QTest::newRow("stage 6") << 491 << 799.2 << 238.9 << 203 << 393;
    QTest::newRow("stage 9") << 251 << 1117.8 << 282.6 << 398 << 201;
    QTest::newRow("as fast as it gets") << 2 << 12522.0 << 945.7 << 50000 << 2;
}

void TestGameEngine::speedOfEachStage()
{
    QFETCH(int, interval);
    QFETCH(double, spacing);
    QFETCH(double, step);
    QFETCH(int, perCharacter);
    QFETCH(int, next);
    QVERIFY2(qAbs(InvaderSpacing(interval) - spacing) < 0.05, qPrintable(QString::number(InvaderSpacing(interval))));
    QVERIFY2(qAbs(DescentStep(interval) - step) < 0.05, qPrintable(QString::number(DescentStep(interval))));
    QCOMPARE(PointsPerCharacter(interval), perCharacter);
    QCOMPARE(NextDescentInterval(interval), next);
}

void TestGameEngine::hitPoints_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("characters");
    QTest::addColumn<double>("top");
    QTest::addColumn<qint64>("points");
    QTest::newRow("three characters at 3000 in stage 1") << 1500 << 3 << 3000.0 << qint64(297);
    QTest::newRow("at the top edge, no bonus") << 1200 << 1 << 0.0 << qint64(83);
    QTest::newRow("above the edge, rounded down") << 1500 << 2 << -180.0 << qint64(128); // 128.04
    QTest::newRow("low and fast") << 491 << 4 << 5000.0 << qint64(1488); // 1488.7
}

void TestGameEngine::hitPoints()
{
    QFETCH(int, interval);
    QFETCH(int, characters);
    QFETCH(double, top);
    QFETCH(qint64, points);
    QCOMPARE(HitPoints(interval, characters, top), points);
}

void TestGameEngine::keyFilter_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("verdicts");
    QTest::addColumn<QString>("text");
    QTest::newRow("the word, one character at a time") << "ねこ" << "ねこ" << "11" << "ねこ";
    QTest::newRow("a wrong character") << "ねこ" << "ぬねこ" << "011" << "ねこ";
    QTest::newRow("Backspace") << "ねこ" << "ね\bこ" << "101" << "ねこ";
    QTest::newRow("Enter") << "ねこ" << "\rねこ" << "011" << "ねこ";
    QTest::newRow("nothing after the whole word") << "ねこ" << "ねここね" << "1100" << "ねこ";
    QTest::newRow("katakana is not hiragana") << "ねこ" << "ネね" << "01" << "ね";
    QTest::newRow("full-width is not half-width") << "Ａb" << "AＡBb" << "0101" << "Ａb";
    QTest::newRow("a full-width space is not a space") << "a　b" << "a 　b" << "1011" << "a　b";
}

void TestGameEngine::keyFilter()
{
    QFETCH(QString, word);
    QFETCH(QString, keys);
    QFETCH(QString, verdicts);
    QFETCH(QString, text);
    Game g(entries({word + QStringLiteral(",よみ")}));
    QCOMPARE(type(g.engine, keys), verdicts);
    QCOMPARE(g.engine.screen().typedText, text);
    QCOMPARE(g.engine.typePosition(), int(text.toUcs4().size()) + 1);
    // The whole word fires the beam; a beginning does not.
    QCOMPARE(g.engine.screen().timers.beam, text == word);
}

void TestGameEngine::wholeStageOnTicks()
{
    Game g;
    const GameScreen& s = g.engine.screen();
    QCOMPARE(g.random.reseeds, 1);
    QCOMPARE(s.title, QStringLiteral("ステージ 1　[ねこ]"));
    QCOMPARE(s.timers, (GameTimers{true, 1500, false, false, false}));
    QVERIFY(s.typingEnabled);
    QVERIFY(!s.startEnabled);
    for (int i = 0; i < InvaderCount; ++i) {
        const InvaderView& invader = s.invaders[size_t(i)];
        QCOMPARE(invader.caption, TenWords()[i].Word);
        QCOMPARE(g.engine.targetHint(i), TenWords()[i].Hint);
        QVERIFY(invader.visible);
        QCOMPARE(invader.target, i == 0);
        QCOMPARE(invader.top, -InvaderSpacing(1500) * i);
    }

    qint64 expected = 0;
    for (int hit = 0; hit < InvaderCount; ++hit) {
        QCOMPARE(g.engine.currentTarget(), hit);
        QCOMPARE(s.title, StageTitle(1, TenWords()[hit].Hint));
        const QString word = g.target().caption;
        QCOMPARE(type(g.engine, word), QString(word.size(), u'1'));
        QVERIFY(s.beamVisible);
        QCOMPARE(s.beamLeft, g.target().centre());
        QCOMPARE(s.beamTop, GroundLine);
        g.engine.descentTick(); // the column marches on while the beam flies
        const InvaderView hitNow = g.target();
        expected += HitPoints(1500, int(word.size()), hitNow.top);
        g.engine.beamTick();

        QVERIFY(!s.invaders[size_t(hit)].visible);
        QVERIFY(!s.beamVisible);
        QVERIFY(s.beamTop <= hitNow.bottom() && s.beamTop > hitNow.bottom() - BeamStep);
        QVERIFY(s.explosionVisible);
        QCOMPARE(s.explosionLeft + ExplosionWidth / 2.0, hitNow.centre());
        QCOMPARE(s.explosionTop, hitNow.top);
        QVERIFY(s.scoreVisible);
        QCOMPARE(s.scoreCaption, QString::number(HitPoints(1500, int(word.size()), hitNow.top)));
        QCOMPARE(s.scoreTop, hitNow.top + PointsLabelOffset);
        QCOMPARE(s.scoreCentre, hitNow.centre());
        QCOMPARE(g.engine.stageScore(), expected);
        QCOMPARE(s.typedText, QString());
        QCOMPARE(g.engine.typePosition(), 1);
        QVERIFY(s.timers.cleanUp);
        g.engine.cleanUpTick();
        QVERIFY(!s.explosionVisible && !s.scoreVisible && !s.timers.cleanUp);

        // Cleared exactly at the tenth hit.
        QCOMPARE(g.engine.stageCleared(), hit == InvaderCount - 1);
        QCOMPARE(s.stageClearVisible, hit == InvaderCount - 1);
    }

    QCOMPARE(s.timers, (GameTimers{false, 1500, false, false, true}));
    QVERIFY(s.scoreLabelsVisible);
    QCOMPARE(g.engine.totalScore(), expected);
    QCOMPARE(g.highScore, expected);
    QCOMPARE(s.stageScoreText, QStringLiteral("STAGE SCORE:%1").arg(expected));
    QCOMPARE(s.totalScoreText, QStringLiteral("TOTAL SCORE:%1").arg(expected));
    QCOMPARE(s.highScoreText, QStringLiteral("HIGH  SCORE:%1").arg(expected));

    g.engine.pauseTick();
    QCOMPARE(g.engine.stageNumber(), 2);
    QCOMPARE(g.engine.stageScore(), 0);
    QCOMPARE(g.engine.totalScore(), expected);
    QCOMPARE(g.random.reseeds, 2);
    QCOMPARE(s.title, QStringLiteral("ステージ 2　[ねこ]"));
    QCOMPARE(s.timers, (GameTimers{true, 1200, false, false, false}));
    QVERIFY(!s.stageClearVisible && !s.scoreLabelsVisible);
    for (int i = 0; i < InvaderCount; ++i)
        QCOMPARE(s.invaders[size_t(i)].top, -InvaderSpacing(1200) * i);
    QVERIFY(s.invaders[0].target && !s.invaders[9].target);
}

void TestGameEngine::nextTargetStartsNoHigherThanThePullDownLine()
{
    Game g;
    const GameScreen& s = g.engine.screen();
    shootTarget(g);
    // invader 1 waited 457.2 above the edge: it comes down to -180, the rest with it.
    for (int i = 1; i < InvaderCount; ++i)
        QCOMPARE(s.invaders[size_t(i)].top, PullDownLine - InvaderSpacing(1500) * (i - 1));

    // A target already lower than the line stays where it is.
    for (int tick = 0; tick < 6; ++tick)
        g.engine.descentTick();
    const double lowered = s.invaders[2].top;
    QVERIFY(lowered > PullDownLine);
    shootTarget(g);
    QCOMPARE(s.invaders[2].top, lowered);
}

void TestGameEngine::halfTheColumnMovesAtEachTick()
{
    bool marchPhase = false;
    qint64 highScore = 0;
    ScriptedRandom random;
    const auto topsAfterOneTick = [&] {
        test::ManualClock clock;
        GameEngine engine(TenWords(), random, MeasureByLength, highScore, marchPhase, clock);
        engine.open();
        const GameScreen before = engine.screen();
        engine.descentTick();
        QList<int> moved;
        for (int i = 0; i < InvaderCount; ++i) {
            if (engine.screen().invaders[size_t(i)].top != before.invaders[size_t(i)].top)
                moved << i;
        }
        return moved;
    };
    // The first tick of the run moves the odd ones; the next opening of the
    // window goes on from there.
    QCOMPARE(topsAfterOneTick(), (QList<int>{1, 3, 5, 7, 9}));
    QVERIFY(marchPhase);
    QCOMPARE(topsAfterOneTick(), (QList<int>{0, 2, 4, 6, 8}));
    QVERIFY(!marchPhase);
}

void TestGameEngine::emptyWordCannotBeHitAndEndsTheGame()
{
    Game g(entries({QStringLiteral(",から")}));
    const GameScreen& s = g.engine.screen();
    QCOMPARE(g.target().caption, QString());
    QCOMPARE(s.title, QStringLiteral("ステージ 1　[から]"));
    QCOMPARE(type(g.engine, QStringLiteral("から\r")), QStringLiteral("000"));
    QVERIFY(!s.timers.beam);

    // invader 0 moves every other tick, 180.7 at a time, from the top edge
    // until its lower edge (480 below its top) passes the ground line.
    const int moves = int(std::floor((GroundLine - 480) / DescentStep(1500))) + 1;
    QCOMPARE(ticksUntilGameOver(g.engine), 2 * moves);
    QVERIFY(g.target().bottom() > GroundLine);
    QVERIFY(s.gameOverVisible && s.scoreLabelsVisible);
    QCOMPARE(s.timers, (GameTimers{false, 1500, false, false, false}));
    QVERIFY(!s.typingEnabled);
    QVERIFY(s.startEnabled);
    QVERIFY(s.invaders[0].visible); // the invaders stay where they are
    QCOMPARE(s.totalScoreText, QStringLiteral("TOTAL SCORE:0"));
}

void TestGameEngine::startAfterGameOverKeepsTheSpeed()
{
    Game g;
    for (int stage = 1; stage <= 3; ++stage)
        clearStage(g);
    QCOMPARE(g.engine.stageNumber(), 4);
    QCOMPARE(g.engine.descentInterval(), 768);
    ticksUntilGameOver(g.engine);
    QVERIFY(g.engine.gameOver());
    const qint64 total = g.engine.totalScore();

    const ScreenEffects effects = g.engine.start();
    const GameScreen& s = g.engine.screen();
    QCOMPARE(effects.focus, QStringLiteral("Text1"));
    QCOMPARE(g.engine.stageNumber(), 1);
    QCOMPARE(s.title, QStringLiteral("ステージ 1　[ねこ]"));
    QCOMPARE(g.engine.descentInterval(), 768);
    QCOMPARE(s.timers, (GameTimers{true, 768, false, false, false}));
    QCOMPARE(g.engine.stageScore(), 0);
    QCOMPARE(g.engine.totalScore(), 0);
    QCOMPARE(g.highScore, total);
    QVERIFY(!s.gameOverVisible && !s.scoreLabelsVisible);
    QVERIFY(s.typingEnabled && !s.startEnabled);
    for (int i = 0; i < InvaderCount; ++i)
        QCOMPARE(s.invaders[size_t(i)].top, -InvaderSpacing(768) * i);

    // "Start" does nothing while a game is on.
    shootTarget(g);
    g.engine.start();
    QCOMPARE(g.engine.currentTarget(), 1);
}

void TestGameEngine::highScoreRisesOnlyAtAClearOrAGameOver()
{
    Game g(TenWords(), 100);
    for (int hit = 0; hit < InvaderCount - 1; ++hit)
        shootTarget(g);
    QVERIFY(g.engine.stageScore() > 100);
    QCOMPARE(g.highScore, 100); // not while the stage is played
    shootTarget(g);
    const qint64 firstStage = g.engine.totalScore();
    QCOMPARE(g.highScore, firstStage);

    g.engine.pauseTick();
    shootTarget(g);
    QCOMPARE(g.highScore, firstStage);
    ticksUntilGameOver(g.engine);
    QVERIFY(g.engine.totalScore() > firstStage);
    QCOMPARE(g.highScore, g.engine.totalScore());
    QCOMPARE(g.engine.screen().highScoreText, QStringLiteral("HIGH  SCORE:%1").arg(g.highScore));

    // A lower total leaves it.
    const qint64 best = g.highScore;
    g.engine.start();
    ticksUntilGameOver(g.engine);
    QCOMPARE(g.engine.totalScore(), 0);
    QCOMPARE(g.highScore, best);
    QCOMPARE(g.engine.screen().highScoreText, QStringLiteral("HIGH  SCORE:%1").arg(best));
}

void TestGameEngine::beamStillFlyingAtGameOverMisses()
{
    Game g;
    // Let invader 0 fall to just above the ground line, then shoot it.
    while (g.target().bottom() + DescentStep(1500) <= GroundLine)
        g.engine.descentTick();
    QCOMPARE(type(g.engine, QStringLiteral("猫")), QStringLiteral("1"));
    ticksUntilGameOver(g.engine);
    QVERIFY(g.engine.gameOver());
    QVERIFY(!g.engine.screen().timers.beam);
    QVERIFY(!g.engine.screen().beamVisible);

    g.engine.beamTick(); // a tick already on its way changes nothing
    QCOMPARE(g.engine.stageScore(), 0);
    QCOMPARE(g.engine.currentTarget(), 0);
    QVERIFY(g.engine.screen().invaders[0].visible);
}

void TestGameEngine::nothingGoesInDuringThePause()
{
    Game g;
    for (int hit = 0; hit < InvaderCount; ++hit)
        shootTarget(g);
    const qint64 total = g.engine.totalScore();
    QCOMPARE(type(g.engine, QStringLiteral("海")), QStringLiteral("0")); // the last word, again
    QVERIFY(!g.engine.screen().timers.beam);
    g.engine.pauseTick();
    QCOMPARE(g.engine.totalScore(), total);
    QCOMPARE(g.engine.stageNumber(), 2);
}

void TestGameEngine::aGameThatEndsIsRecorded()
{
    Game g;
    const QString first = g.target().caption;
    g.clock.advance(7); // the time runs from the first character that goes in
    QCOMPARE(type(g.engine, QStringLiteral("\b") + first), QStringLiteral("0") + QString(first.size(), u'1'));
    type(g.engine, QStringLiteral("\b")); // the word is in: keys wait for the next target, uncounted
    g.engine.beamTick();
    const QString second = g.target().caption;
    type(g.engine, second.left(1) + QStringLiteral("\b"));
    g.clock.advanceMs(12500);
    ScreenEffects end;
    while (!g.engine.gameOver())
        end = g.engine.descentTick();
    QVERIFY(end.finishedAttempt);
    const AttemptRecord& r = *end.finishedAttempt;
    QCOMPARE(r.screen, QStringLiteral("F_game"));
    QCOMPARE(r.pageId, QStringLiteral("F_game"));
    QCOMPARE(r.durationMs, qint64(12500));
    QCOMPARE(r.accepted, int(first.size()) + 1);
    QCOMPARE(r.misses, 2);
    QCOMPARE(r.outcome, g.engine.screen().totalScoreText);
    QVERIFY(r.inputMethod);
    QCOMPARE(r.keys.first().key, char32_t(first.at(0).unicode()));
    QCOMPARE(r.keys.first().missed, 1);

    // A new game is a new attempt: nothing carried over.
    g.engine.start();
    QCOMPARE(g.engine.attempt().acceptedCount(), 0);
    QCOMPARE(g.engine.attempt().misses(), 0);
    QVERIFY(g.engine.attempt().keyCounts().isEmpty());
}

QTEST_GUILESS_MAIN(TestGameEngine)
#include "tst_gameengine.moc"
