// The timed attempt of the speed test and the graduation exam: when the
// clock starts and stops, which box takes characters, the "mm分ss" time, and
// the best time it leaves.

#include "core/TimedLinesAttempt.h"

#include "support/ManualClock.h"

#include <QTest>

using namespace morvela;

class TestTimedLinesAttempt : public QObject {
    Q_OBJECT
private slots:
    void attempt_data();
    void attempt();
};

// Each step: "+N" moves the clock N seconds on, "L:text" types `text` into
// the box of line L, "rewind" and "restart" call those.
void TestTimedLinesAttempt::attempt_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("timingStarted");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("best"); // after keepBestTime on "01分00"

    QTest::newRow("the clock starts at the first accepted character")
        << QStringList{"+7", "0:x", "+3", "0:a", "+20", "0:b", "1:c"} << true << "00分20" << 1 << 1 << "00分20";
    QTest::newRow("a wrong first key starts no clock")
        << QStringList{"0:x", "+5"} << false << "" << 0 << 1 << "01分00";
    QTest::newRow("a box out of turn takes nothing and counts nothing")
        << QStringList{"1:c", "+5", "0:a", "+4", "0:b", "0:b", "1:c"} << true << "00分04" << 1 << 0 << "00分04";
    QTest::newRow("a slower attempt leaves the best time")
        << QStringList{"0:a", "+61", "0:b", "1:c"} << true << "01分01" << 1 << 0 << "01分00";
    QTest::newRow("an hour or more reads 59分59, never a short time")
        << QStringList{"0:a", "+3723", "0:b", "1:c"} << true << "59分59" << 1 << 0 << "01分00";
    QTest::newRow("typing on after the end is timed from the first start")
        << QStringList{"0:a", "+10", "0:b", "1:c", "rewind", "+5", "1:xc"} << true << "00分15" << 1 << 1 << "00分15";
    QTest::newRow("a restarted attempt is timed from its own start")
        << QStringList{"0:a", "+10", "0:b", "1:c", "restart", "+100", "0:a", "+5", "0:b", "1:c"} << true << "00分05" << 1
        << 0 << "00分05";
    QTest::newRow("a restart stops the clock and keeps the last time")
        << QStringList{"0:a", "+10", "0:b", "1:c", "restart", "0:x"} << false << "00分10" << 0 << 1 << "00分10";
}

void TestTimedLinesAttempt::attempt()
{
    QFETCH(QStringList, steps);
    test::ManualClock clock;
    TimedLinesAttempt attempt({QStringLiteral("ab"), QStringLiteral("c")}, clock);
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1Char('+'))) {
            clock.advance(step.mid(1).toLongLong());
        } else if (step == QLatin1String("rewind")) {
            attempt.rewindLine();
        } else if (step == QLatin1String("restart")) {
            attempt.restart();
        } else {
            const int line = step.section(QLatin1Char(':'), 0, 0).toInt();
            for (const char32_t c : step.section(QLatin1Char(':'), 1).toUcs4())
                attempt.type(line, c);
        }
    }
    QTEST(attempt.timingStarted(), "timingStarted");
    QTEST(attempt.time(), "time");
    QTEST(attempt.line(), "line");
    QTEST(attempt.misses(), "misses");
    QString best = QStringLiteral("01分00");
    attempt.keepBestTime(best);
    QTEST(best, "best");
}

QTEST_GUILESS_MAIN(TestTimedLinesAttempt)
#include "tst_timedlinesattempt.moc"
