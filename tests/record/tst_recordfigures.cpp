// What the record window shows of a record: the scopes of its charts, the
// cells of its table, and the keys of its heat map.

#include "record/RecordFigures.h"

#include <QTest>

using namespace morvela;

class TestRecordFigures : public QObject {
    Q_OBJECT
private slots:
    void scopes_data();
    void scopes();
    void cells_data();
    void cells();
    void heatAddsTheCharactersOfOneKey();
    void mostMissed();
};

void TestRecordFigures::scopes_data()
{
    QTest::addColumn<QStringList>("pageIds");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("prefixes");
    QTest::newRow("no record") << QStringList{} << QStringList{QStringLiteral("コース全体")} << QStringList{QString()};
    QTest::newRow("pages grouped by lesson, in the order given")
        << QStringList{QStringLiteral("00-01"), QStringLiteral("01-01"), QStringLiteral("01-07"), QStringLiteral("09-01")}
        << QStringList{QStringLiteral("コース全体"), QStringLiteral("Lesson0"), QStringLiteral("Lesson1"),
                       QStringLiteral("卒業試験")}
        << QStringList{QString(), QStringLiteral("00-"), QStringLiteral("01-"), QStringLiteral("09-")};
    QTest::newRow("screens under their own name, as the menu names them")
        << QStringList{QStringLiteral("05-02"), QStringLiteral("F_kentei"), QStringLiteral("F_game"),
                       QStringLiteral("苦手キー練習")}
        << QStringList{QStringLiteral("コース全体"), QStringLiteral("Lesson5"), QStringLiteral("ワープロ検定模試"),
                       QStringLiteral("ゲーム"), QStringLiteral("苦手キー練習")}
        << QStringList{QString(), QStringLiteral("05-"), QStringLiteral("F_kentei"), QStringLiteral("F_game"),
                       QStringLiteral("苦手キー練習")};
    QTest::newRow("not quite a page id") << QStringList{QStringLiteral("1-01"), QStringLiteral("01-01x")}
                                         << QStringList{QStringLiteral("コース全体"), QStringLiteral("1-01"),
                                                        QStringLiteral("01-01x")}
                                         << QStringList{QString(), QStringLiteral("1-01"), QStringLiteral("01-01x")};
}

void TestRecordFigures::scopes()
{
    QFETCH(QStringList, pageIds);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, prefixes);
    QStringList gotCaptions, gotPrefixes;
    for (const RecordScope& s : RecordScopes(pageIds)) {
        gotCaptions << s.caption;
        gotPrefixes << s.prefix;
    }
    QCOMPARE(gotCaptions, captions);
    QCOMPARE(gotPrefixes, prefixes);
}

void TestRecordFigures::cells_data()
{
    QTest::addColumn<qint64>("durationMs");
    QTest::addColumn<int>("accepted");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("speed");
    QTest::newRow("a minute") << qint64(60000) << 120 << QStringLiteral("1:00") << QStringLiteral("120");
    QTest::newRow("seconds cut, speed rounded") << qint64(45999) << 100 << QStringLiteral("0:45")
                                                << QStringLiteral("130");
    QTest::newRow("an hour and more") << qint64(3723000) << 400 << QStringLiteral("1:02:03") << QStringLiteral("6");
    QTest::newRow("no time at all") << qint64(0) << 5 << QStringLiteral("0:00") << QStringLiteral("—");
    QTest::newRow("a negative time from a damaged record") << qint64(-5000) << 5 << QStringLiteral("0:00")
                                                           << QStringLiteral("—");
}

void TestRecordFigures::cells()
{
    QFETCH(qint64, durationMs);
    QFETCH(int, accepted);
    QFETCH(QString, time);
    QFETCH(QString, speed);
    AttemptRecord a;
    a.durationMs = durationMs;
    a.accepted = accepted;
    QCOMPARE(AttemptTimeCell(a), time);
    QCOMPARE(AttemptSpeedCell(a), speed);
}

void TestRecordFigures::heatAddsTheCharactersOfOneKey()
{
    // "-" and "=" are one key; "あ" none of the picture's; a count of
    // misses above the expected (a damaged record) is held to it.
    const QList<KeyHeat> heats =
        KeyHeats({{U'-', 10, 1}, {U'k', 20, 5}, {U'=', 10, 3}, {U'あ', 5, 5}, {U'j', 4, 9}, {U'f', 0, 0}});
    QCOMPARE(heats.size(), 3);
    QCOMPARE(heats[0].key, JisKeyboard::KeyFor(U'-'));
    QCOMPARE(heats[0].expected, 20);
    QCOMPARE(heats[0].missed, 4);
    QCOMPARE(heats[1].rate(), 0.25);
    QCOMPARE(heats[2].rate(), 1.0);
}

void TestRecordFigures::mostMissed()
{
    const QList<MissTally> most = MostMissed({{U'k', 20, 5}, {U'a', 9, 5}, {U'j', 9, 7}, {U'f', 9, 0}, {U'k', 3, 1}}, 3);
    QCOMPARE(most, (QList<MissTally>{{U'j', 7}, {U'k', 6}, {U'a', 5}}));
}

QTEST_APPLESS_MAIN(TestRecordFigures)
#include "tst_recordfigures.moc"
