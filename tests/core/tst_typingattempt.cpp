// What an attempt counts for the learner's record and the live strip: per
// expected character how often it came up and how often it was missed, the
// characters accepted, and its time from the first accepted character.

#include "core/LinesAttempt.h"
#include "core/LiveStats.h"
#include "core/TypingAttempt.h"

#include "support/ManualClock.h"

#include <QTest>

using namespace morvela;

namespace {

// "a 2/1, b 1/0": each key with how often it was expected / missed.
QString describe(const QList<KeyCount>& keys)
{
    QStringList parts;
    for (const KeyCount& k : keys)
        parts << QStringLiteral("%1 %2/%3").arg(QString::fromUcs4(&k.key, 1)).arg(k.expected).arg(k.missed);
    return parts.join(QStringLiteral(", "));
}

} // namespace

class TestTypingAttempt : public QObject {
    Q_OBJECT
private slots:
    void keyCounts_data();
    void keyCounts();
    void timedFromTheFirstAcceptedCharacter_data();
    void timedFromTheFirstAcceptedCharacter();
    void linesCountOverTheWholeAttempt();
    void liveLine_data();
    void liveLine();
};

// Each step types its characters, except "restart", "rewind" and
// "continue:TEXT" / "set:TEXT", which call those.
void TestTypingAttempt::keyCounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("accepted");

    QTest::newRow("typed through without a miss") << "aba" << QStringList{"aba"} << "a 2/0, b 1/0" << 3;
    QTest::newRow("a miss counts against the expected key, not the typed one")
        << "ab" << QStringList{"xab"} << "a 2/1, b 1/0" << 2;
    QTest::newRow("every wrong key while it is next counts")
        << "ab" << QStringList{"a\b\b\rb"} << "a 1/0, b 4/3" << 2;
    QTest::newRow("keys in the order they were first expected")
        << "fj f" << QStringList{"fj", "j", " f"} << "f 2/0, j 1/0,   2/1" << 4;
    QTest::newRow("a key after the end is missed but expects nothing")
        << "a" << QStringList{"a", "z"} << "a 1/0" << 1;
    QTest::newRow("a restart drops the counts") << "ab" << QStringList{"xa", "restart", "a"} << "a 1/0" << 1;
    QTest::newRow("a new text drops the counts") << "ab" << QStringList{"xa", "set:cd", "c"} << "c 1/0" << 1;
    QTest::newRow("a rewind keeps them") << "ab" << QStringList{"xab", "rewind", "a"} << "a 3/1, b 1/0" << 3;
    QTest::newRow("the next line keeps them")
        << "ab" << QStringList{"xab", "continue:ba", "yb"} << "a 2/1, b 3/1" << 3;
}

void TestTypingAttempt::keyCounts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, steps);
    TypingAttempt attempt(text);
    for (const QString& step : steps) {
        if (step == QLatin1String("restart"))
            attempt.restart();
        else if (step == QLatin1String("rewind"))
            attempt.rewind();
        else if (step.startsWith(QLatin1String("continue:")))
            attempt.continueWith(step.mid(9));
        else if (step.startsWith(QLatin1String("set:")))
            attempt.setText(step.mid(4));
        else
            for (const char32_t c : step.toUcs4())
                attempt.type(c);
    }
    QTEST(describe(attempt.keyCounts()), "keys");
    QTEST(attempt.acceptedCount(), "accepted");
    QCOMPARE(attempt.figures().keys, attempt.keyCounts());
}

// Steps: "+N" moves the clock N ms on; "restart"; other steps are typed.
void TestTypingAttempt::timedFromTheFirstAcceptedCharacter_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<bool>("started");

    QTest::newRow("nothing typed") << QStringList{"+500"} << qint64(0) << false;
    QTest::newRow("a wrong first key starts nothing") << QStringList{"x", "+700"} << qint64(0) << false;
    QTest::newRow("from the first accepted character")
        << QStringList{"x", "+300", "a", "+1250", "b"} << qint64(1250) << true;
    QTest::newRow("it runs on after the text is complete")
        << QStringList{"a", "+400", "bc", "+600"} << qint64(1000) << true;
    QTest::newRow("a restart starts the time afresh")
        << QStringList{"a", "+900", "restart", "+100", "a", "+50"} << qint64(50) << true;
}

void TestTypingAttempt::timedFromTheFirstAcceptedCharacter()
{
    QFETCH(QStringList, steps);
    test::ManualClock clock;
    TypingAttempt attempt(QStringLiteral("abc"));
    attempt.setClock(&clock);
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1Char('+')))
            clock.advanceMs(step.mid(1).toLongLong());
        else if (step == QLatin1String("restart"))
            attempt.restart();
        else
            for (const char32_t c : step.toUcs4())
                attempt.type(c);
    }
    QTEST(attempt.elapsedMs(), "elapsedMs");
    QTEST(attempt.started(), "started");
    QCOMPARE(attempt.figures().durationMs, attempt.elapsedMs());
}

void TestTypingAttempt::linesCountOverTheWholeAttempt()
{
    test::ManualClock clock;
    LinesAttempt lines({QStringLiteral("ab"), QStringLiteral("ba")});
    lines.setClock(&clock);
    for (const char32_t c : QStringLiteral("axb").toUcs4())
        lines.type(0, c);
    clock.advanceMs(2000);
    for (const char32_t c : QStringLiteral("bya").toUcs4())
        lines.type(1, c);
    const AttemptRecord figures = lines.attempt().figures();
    QCOMPARE(describe(figures.keys), QStringLiteral("a 3/1, b 3/1"));
    QCOMPARE(figures.accepted, 4);
    QCOMPARE(figures.misses, 2);
    QCOMPARE(figures.durationMs, qint64(2000));
}

void TestTypingAttempt::liveLine_data()
{
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<int>("accepted");
    QTest::addColumn<int>("misses");
    QTest::addColumn<bool>("inputMethod");
    QTest::addColumn<QString>("line");

    QTest::newRow("nothing typed yet") << qint64(0) << 0 << 0 << false << "時間 0:00　速度 － 打/分　ミス 0　正確さ －";
    QTest::newRow("under a second says no speed")
        << qint64(999) << 3 << 0 << false << "時間 0:00　速度 － 打/分　ミス 0　正確さ 100%";
    QTest::newRow("keystrokes count misses too")
        << qint64(12000) << 18 << 2 << false << "時間 0:12　速度 100 打/分　ミス 2　正確さ 90%";
    QTest::newRow("with the input method, characters that went in")
        << qint64(30000) << 20 << 5 << true << "時間 0:30　速度 40 字/分　ミス 5　正確さ 80%";
    QTest::newRow("one miss in many is never 100%")
        << qint64(60000) << 999 << 1 << false << "時間 1:00　速度 1000 打/分　ミス 1　正確さ 99%";
    QTest::newRow("minutes beyond an hour stay minutes")
        << qint64(3725000) << 0 << 4 << false << "時間 62:05　速度 0 打/分　ミス 4　正確さ 0%";
}

void TestTypingAttempt::liveLine()
{
    QFETCH(qint64, elapsedMs);
    QFETCH(int, accepted);
    QFETCH(int, misses);
    QFETCH(bool, inputMethod);
    QTEST(LiveLine({elapsedMs, accepted, misses, inputMethod}), "line");
}

QTEST_GUILESS_MAIN(TestTypingAttempt)
#include "tst_typingattempt.moc"
