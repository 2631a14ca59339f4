// Which Lesson 0 page follows which, and when leaving a page passes it:
// every button of every page, on a record that has or has not passed it.

#include "intro/Lesson0PageOrder.h"

#include <QTest>

using namespace morvela;

class TestLesson0PageOrder : public QObject {
    Q_OBJECT
private slots:
    void leavingAPage_data();
    void leavingAPage();
    void closedPageResult_data();
    void closedPageResult();
};

void TestLesson0PageOrder::leavingAPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("turn");
    QTest::addColumn<QString>("furthest");
    QTest::addColumn<int>("next");
    QTest::addColumn<QString>("furthestAfter");
    QTest::addColumn<bool>("save");

    const int next = int(Lesson0Turn::Next), back = int(Lesson0Turn::Previous), menu = int(Lesson0Turn::Menu);
    QTest::newRow("00-01 next, first time") << 1 << next << "00-00" << 2 << "00-01" << true;
    QTest::newRow("00-01 next, passed before") << 1 << next << "00-01" << 2 << "00-01" << false;
    QTest::newRow("00-01 menu") << 1 << menu << "00-00" << 0 << "00-00" << false;
    QTest::newRow("00-01 back is the menu") << 1 << back << "00-00" << 0 << "00-00" << false;
    QTest::newRow("00-02 next") << 2 << next << "00-01" << 3 << "00-02" << true;
    QTest::newRow("00-02 next, far ahead") << 2 << next << "05-03" << 3 << "05-03" << false;
    QTest::newRow("00-02 back") << 2 << back << "00-01" << 1 << "00-01" << false;
    QTest::newRow("00-02 menu") << 2 << menu << "00-01" << 0 << "00-01" << false;
    QTest::newRow("00-03 next leaves the lesson") << 3 << next << "00-02" << 0 << "00-03" << true;
    QTest::newRow("00-03 next again") << 3 << next << "00-03" << 0 << "00-03" << false;
    QTest::newRow("00-03 back, not passed") << 3 << back << "00-02" << 2 << "00-02" << false;
    QTest::newRow("00-03 menu, not passed") << 3 << menu << "00-02" << 0 << "00-02" << false;
}

void TestLesson0PageOrder::leavingAPage()
{
    QFETCH(int, page);
    QFETCH(int, turn);
    QFETCH(QString, furthest);
    QFETCH(int, next);
    QFETCH(QString, furthestAfter);
    QFETCH(bool, save);

    ProgressRecord record;
    record.FurthestPage = furthest;
    const Lesson0Leave leave = LeaveLesson0Page(record, Lesson0Page(page), Lesson0Turn(turn));
    QCOMPARE(int(leave.next), next);
    QCOMPARE(record.FurthestPage, furthestAfter);
    ScreenEffects expected;
    expected.save = save;
    QCOMPARE(leave.effects, expected);
}

void TestLesson0PageOrder::closedPageResult_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("page");
    QTest::newRow("window closed") << 0 << 0;
    QTest::newRow("00-01") << 1 << 1;
    QTest::newRow("00-03") << 3 << 3;
    QTest::newRow("past the last page") << 4 << 0;
    QTest::newRow("negative") << -1 << 0;
}

void TestLesson0PageOrder::closedPageResult()
{
    QFETCH(int, result);
    QFETCH(int, page);
    QCOMPARE(int(Lesson0PageFromResult(result)), page);
}

QTEST_APPLESS_MAIN(TestLesson0PageOrder)
#include "tst_lesson0pageorder.moc"
