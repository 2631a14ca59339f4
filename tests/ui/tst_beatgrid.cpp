// Where a metronome's tick was due: on its timer's grid however late it
// fired, and on a new grid whenever the timer started anew.

#include "ui/BeatGrid.h"

#include <QTest>

#include <cmath>

using namespace morvela;

class TestBeatGrid : public QObject {
    Q_OBJECT
private slots:
    void due_data();
    void due();
};

void TestBeatGrid::due_data()
{
    // Times in milliseconds; each tick has its beat, its firing and the time
    // it was due.
    QTest::addColumn<QList<int>>("beats");
    QTest::addColumn<QList<double>>("fired");
    QTest::addColumn<QList<double>>("due");
    QTest::newRow("late ticks go back on the grid")
        << QList<int>{250, 250, 250, 250, 250} << QList<double>{1000, 1250.3, 1503.8, 1750.1, 2000}
        << QList<double>{1000, 1250, 1500, 1750, 2000};
    QTest::newRow("a late first tick sets the phase")
        << QList<int>{250, 250, 250} << QList<double>{1002, 1250.2, 1500.1} << QList<double>{1002, 1252, 1502};
    QTest::newRow("a new tempo starts a new grid")
        << QList<int>{650, 650, 500, 500} << QList<double>{1000, 1650.5, 2151.2, 2651.3}
        << QList<double>{1000, 1650, 2151.2, 2651.2};
    QTest::newRow("stopped and started again")
        << QList<int>{650, 650, 650, 650} << QList<double>{1000, 1650.4, 3000.7, 3650.9}
        << QList<double>{1000, 1650, 3000.7, 3650.7};
    QTest::newRow("restarted in the middle of a beat")
        << QList<int>{650, 650, 650, 650} << QList<double>{1000, 1650, 2000, 2650.2}
        << QList<double>{1000, 1650, 2000, 2650};
    QTest::newRow("a tick held up past the next one")
        << QList<int>{250, 250, 250, 250} << QList<double>{1000, 1250, 1750.2, 2000.4}
        << QList<double>{1000, 1250, 1750.2, 2000.2};
}

void TestBeatGrid::due()
{
    QFETCH(QList<int>, beats);
    QFETCH(QList<double>, fired);
    QFETCH(QList<double>, due);
    BeatGrid grid;
    auto ns = [](double ms) { return qint64(std::llround(ms * 1e6)); };
    for (int i = 0; i < fired.size(); ++i)
        QCOMPARE(grid.due(ns(fired[i]), qint64(beats[i]) * 1'000'000), ns(due[i]));
}

QTEST_GUILESS_MAIN(TestBeatGrid)
#include "tst_beatgrid.moc"
