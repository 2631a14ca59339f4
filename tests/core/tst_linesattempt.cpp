// The attempt over several lines: a completed line hands over to the next,
// misses count over all lines, a run of characters (an input-method commit)
// goes on across a line's end, and the last line completes the attempt.

#include "core/LinesAttempt.h"

#include <QTest>

using namespace morvela;
using Step = LinesAttempt::Step;

Q_DECLARE_METATYPE(LinesAttempt::Step)

class TestLinesAttempt : public QObject {
    Q_OBJECT
private slots:
    void typing_data();
    void typing();
    void afterTheLastLine();
    void restartAndRewind();
    void onlyTheLineInTurnTakes();
};

void TestLinesAttempt::typing_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Step>("lastStep");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("misses");

    const QStringList three{QStringLiteral("親譲り"), QStringLiteral("の無"), QStringLiteral("鉄砲")};
    QTest::newRow("within the first line") << three << QStringLiteral("親譲") << Step::Accepted << 0 << 3 << 0;
    QTest::newRow("a completed line moves to the next, cursor at 1")
        << three << QStringLiteral("親譲り") << Step::LineDone << 1 << 1 << 0;
    QTest::newRow("a commit past a line's end goes on in the next")
        << three << QStringLiteral("親譲りの") << Step::Accepted << 1 << 2 << 0;
    QTest::newRow("misses carry over into the next line")
        << three << QStringLiteral("親x譲りyの") << Step::Accepted << 1 << 2 << 2;
    QTest::newRow("a word converted wrong costs a miss per character")
        << three << QStringLiteral("親譲り魚無") << Step::Refused << 1 << 1 << 2;
    QTest::newRow("the last line completes the attempt")
        << three << QStringLiteral("親譲りの無鉄砲") << Step::AllDone << 2 << 3 << 0;
    QTest::newRow("full-width and half-width differ")
        << QStringList{QStringLiteral("Ａ１"), QStringLiteral("　")} << QStringLiteral("A1Ａ１ ") << Step::Refused << 1
        << 1 << 3;
}

void TestLinesAttempt::typing()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, typed);
    LinesAttempt attempt(lines);
    Step step = Step::Refused;
    for (const char32_t c : typed.toUcs4())
        step = attempt.type(c);
    QTEST(step, "lastStep");
    QTEST(attempt.line(), "line");
    QTEST(attempt.cursor(), "cursor");
    QTEST(attempt.misses(), "misses");
}

void TestLinesAttempt::afterTheLastLine()
{
    LinesAttempt attempt({QStringLiteral("ab"), QStringLiteral("c")});
    for (const char32_t c : U"abc")
        if (c)
            attempt.type(c);
    QCOMPARE(attempt.type(U'a'), Step::Refused); // complete until restarted
    QCOMPARE(attempt.misses(), 1);
    QCOMPARE(attempt.line(), 1);
}

void TestLinesAttempt::restartAndRewind()
{
    LinesAttempt attempt({QStringLiteral("ab"), QStringLiteral("cd")});
    attempt.type(U'x');
    attempt.type(U'a');
    attempt.type(U'b');
    attempt.type(U'c');
    attempt.rewindLine();
    QCOMPARE(attempt.line(), 1);
    QCOMPARE(attempt.cursor(), 1);
    QCOMPARE(attempt.misses(), 1);
    attempt.restart();
    QCOMPARE(attempt.line(), 0);
    QCOMPARE(attempt.cursor(), 1);
    QCOMPARE(attempt.misses(), 0);
}

// A click into another box must neither count a miss nor move the cursor.
void TestLinesAttempt::onlyTheLineInTurnTakes()
{
    LinesAttempt attempt({QStringLiteral("ab"), QStringLiteral("c")});
    QCOMPARE(attempt.type(1, U'c'), Step::Refused); // line 2 before its turn
    QCOMPARE(attempt.type(0, U'a'), Step::Accepted);
    QCOMPARE(attempt.type(1, U'b'), Step::Refused);
    QCOMPARE(attempt.type(0, U'b'), Step::LineDone);
    QCOMPARE(attempt.type(0, U'a'), Step::Refused); // the first line's turn is over
    QCOMPARE(attempt.misses(), 0);
    QCOMPARE(attempt.type(1, U'x'), Step::Refused); // in turn: a miss
    QCOMPARE(attempt.misses(), 1);
    QCOMPARE(attempt.type(1, U'c'), Step::AllDone);
}

QTEST_GUILESS_MAIN(TestLinesAttempt)
#include "tst_linesattempt.moc"
