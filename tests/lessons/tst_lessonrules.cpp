// The rules every lesson of the course shares: how misses are judged, and
// what opening a lesson, passing a page and leaving it forward do to the
// learner's record.

#include "lessons/MissJudgement.h"
#include "lessons/PagedLesson.h"

#include <QTest>

using namespace morvela;

Q_DECLARE_METATYPE(morvela::MissBand)

namespace {

// A lesson of three pages, "03-01" to "03-03", with its "次ページ>>".
PagedLesson threePages(ProgressRecord& record)
{
    return PagedLesson(record, 3, {QStringLiteral("03-01"), QStringLiteral("03-02"), QStringLiteral("03-03")},
                       QStringLiteral("Command4"));
}

} // namespace

class TestLessonRules : public QObject {
    Q_OBJECT
private slots:
    void missBands_data();
    void missBands();
    void start_data();
    void start();
    void pass_data();
    void pass();
    void passedBefore_data();
    void passedBefore();
};

void TestLessonRules::missBands_data()
{
    QTest::addColumn<int>("misses");
    QTest::addColumn<MissBand>("band");
    QTest::addColumn<bool>("sentencePassed");
    QTest::newRow("none") << 0 << MissBand::FewerThanFive << true;
    QTest::newRow("4, the most a drill page passes with") << 4 << MissBand::FewerThanFive << true;
    QTest::newRow("5") << 5 << MissBand::FiveToNine << true;
    QTest::newRow("9, the most a sentence lesson passes with") << 9 << MissBand::FiveToNine << true;
    QTest::newRow("10") << 10 << MissBand::TenOrMore << false;
    QTest::newRow("many") << 250 << MissBand::TenOrMore << false;
}

void TestLessonRules::missBands()
{
    QFETCH(int, misses);
    QTEST(JudgeMisses(misses), "band");
    QTEST(SentencePassed(misses), "sentencePassed");
}

void TestLessonRules::start_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("shown");
    QTest::newRow("not started") << "未" << "練習中" << true;
    QTest::newRow("practising") << "練習中" << "練習中" << false;
    QTest::newRow("completed stays completed") << "完了" << "完了" << false;
}

void TestLessonRules::start()
{
    QFETCH(QString, state);
    ProgressRecord record;
    record.LessonStates[3] = state;
    const ProgressRecord before = record;
    PagedLesson lesson = threePages(record);
    QTEST(lesson.start(), "shown");
    QTEST(record.LessonStates[3], "after");
    record.LessonStates[3] = before.LessonStates[3];
    QCOMPARE(record, before); // nothing else changes
}

void TestLessonRules::pass_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("furthest");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("furthestAfter");
    QTest::addColumn<QString>("stateAfter");
    QTest::addColumn<bool>("rowShown");

    QTest::newRow("a first page raises the furthest page")
        << 1 << "02-07" << "練習中" << "03-01" << "練習中" << false;
    QTest::newRow("a page passed before saves all the same")
        << 2 << "03-02" << "練習中" << "03-02" << "練習中" << false;
    QTest::newRow("a page far behind leaves the furthest page")
        << 1 << "05-04" << "練習中" << "05-04" << "練習中" << false;
    QTest::newRow("the last page completes the lesson")
        << 3 << "03-02" << "練習中" << "03-03" << "完了" << true;
    QTest::newRow("the last page again: still completed, shown again")
        << 3 << "06-01" << "完了" << "06-01" << "完了" << true;
}

void TestLessonRules::pass()
{
    QFETCH(int, page);
    QFETCH(QString, furthest);
    QFETCH(QString, state);
    ProgressRecord record;
    record.FurthestPage = furthest;
    record.LessonStates[3] = state;
    PagedLesson lesson = threePages(record);

    const ScreenEffects effects = lesson.pass(page);
    QTEST(record.FurthestPage, "furthestAfter");
    QTEST(record.LessonStates[3], "stateAfter");
    QTEST(effects.rowStateShown, "rowShown");
    QVERIFY(effects.save); // on every pass, raised or not
    QCOMPARE(effects.focus, QStringLiteral("Command4"));
    QVERIFY(effects.message.isEmpty() && effects.clearBoxes.isEmpty() && !effects.close);
}

void TestLessonRules::passedBefore_data()
{
    QTest::addColumn<QString>("furthest");
    QTest::addColumn<QList<bool>>("passed"); // pages 1 to 3
    QTest::newRow("a new record") << "00-00" << QList<bool>{false, false, false};
    QTest::newRow("the lesson before completed") << "02-07" << QList<bool>{false, false, false};
    QTest::newRow("within the lesson") << "03-02" << QList<bool>{true, true, false};
    QTest::newRow("a later lesson") << "04-01" << QList<bool>{true, true, true};
}

void TestLessonRules::passedBefore()
{
    QFETCH(QString, furthest);
    QFETCH(QList<bool>, passed);
    ProgressRecord record;
    record.FurthestPage = furthest;
    const PagedLesson lesson = threePages(record);
    for (int page = 1; page <= 3; ++page)
        QCOMPARE(lesson.passedBefore(page), passed[page - 1]);
}

QTEST_GUILESS_MAIN(TestLessonRules)
#include "tst_lessonrules.moc"
