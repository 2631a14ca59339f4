// The learner's history: what is written reads back, the queries of the
// record window on a small record, the CSV export, clearing, the schema's
// upgrade, and a file that is damaged, locked, read-only or on a full disk.

#include "record/HistoryDatabase.h"
#include "support/DiskFull.h"
#include "support/TestFolder.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <functional>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace morvela;
using morvela::test::DiskFull;
using morvela::test::TestFolder;

namespace {

const QDateTime Now(QDate(2026, 12, 11), QTime(9, 30, 15));

AttemptRecord Attempt(const QString& endedAt, const QString& pageId, qint64 durationMs, int accepted, int misses,
                      const QString& outcome = QStringLiteral("合格"), const QList<KeyCount>& keys = {})
{
    AttemptRecord a;
    a.endedAt = QDateTime::fromString(endedAt, Qt::ISODate);
    a.screen = pageId.startsWith(QStringLiteral("08")) ? QStringLiteral("F_sotsugyo")
        : pageId == QStringLiteral("ゲーム")            ? QStringLiteral("F_game")
                                                         : QStringLiteral("F_les1_1");
    a.pageId = pageId;
    a.durationMs = durationMs;
    a.accepted = accepted;
    a.misses = misses;
    a.outcome = outcome;
    a.keys = keys;
    return a;
}

// A history file in a test folder, and what it said to the learner.
struct History {
    explicit History(const QString& folder)
        : path(QDir(folder).filePath(HistoryDatabase::fileName()))
        , db(path, [] { return Now; }, [this](const QString& m) { told << m; })
    {
    }
    QString path;
    QStringList told;
    HistoryDatabase db;
};

// Five attempts over three days, two lessons and a game.
void FillFixture(HistoryDatabase& db)
{
    db.record(Attempt("2026-12-09T10:00:00", "01-02", 60000, 100, 0, "合格", {{U'a', 10, 0}, {U's', 5, 2}}));
    db.record(Attempt("2026-12-09T11:00:00", "01-01", 30000, 50, 50, "不合格", {{U'a', 4, 1}, {U'd', 3, 3}}));
    db.record(Attempt("2026-12-10T09:00:00", "02-01", 120000, 300, 100, "合格", {{U's', 7, 0}}));
    db.record(Attempt("2026-12-11T08:00:00", "ゲーム", 0, 0, 0, QStringLiteral("ゲームオーバー")));
    db.record(Attempt("2026-12-11T09:00:00", "08-01", 45000, 90, 10, "合格", {{U'あ', 2, 1}}));
}

// An SQL statement on a connection of the test's own.
struct RawConnection {
    explicit RawConnection(const QString& path, const QString& name = QStringLiteral("raw"))
        : name(name)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection()
    {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    bool exec(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(name, false));
        return q.exec(sql);
    }
    QVariant value(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(name, false));
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
    QString name;
};

// A folder whose files cannot be changed: permissions for an ordinary user;
// root, whom permissions do not stop, gets a file system mounted read-only.
// `prepare` puts the files in place while it can still be written.
class ReadOnlyFolder {
public:
    ReadOnlyFolder(const QString& path, const std::function<void()>& prepare)
        : m_path(path)
        , m_native(QFile::encodeName(path))
    {
        QDir().mkpath(path);
        m_mounted = geteuid() == 0 && ::mount("tmpfs", m_native.constData(), "tmpfs", 0, "size=1m") == 0;
        if (geteuid() == 0 && !m_mounted)
            return;
        prepare();
        if (m_mounted) {
            m_ready = ::mount(nullptr, m_native.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        } else {
            for (const QString& name : QDir(path).entryList(QDir::Files))
                QFile::setPermissions(QDir(path).filePath(name), QFileDevice::ReadOwner);
            m_ready = QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted)
            ::umount2(m_native.constData(), MNT_DETACH);
        else
            QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool ready() const { return m_ready; }

private:
    QString m_path;
    QByteArray m_native;
    bool m_mounted = false;
    bool m_ready = false;
};

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestHistoryDatabase : public QObject {
    Q_OBJECT
private slots:
    void openedOnFirstUse();
    void attemptReadsBack();
    void daily_data();
    void daily();
    void dailyFollowsDeletedAttempts();
    void pageIdsInCourseOrder();
    void bestTime_data();
    void bestTime();
    void keyTotals_data();
    void keyTotals();
    void csvExport();
    void csvQuoting_data();
    void csvQuoting();
    void clearKeepsTheFile();
    void firstVersionIsUpgraded();
    void damagedFileIsKeptAside_data();
    void damagedFileIsKeptAside();
    void lockedFileIsSaidOnce();
    void readOnlyFileIsSaidOnce();
    void damagedFileThatCannotBeKeptAside();
    void notARegularFile_data();
    void notARegularFile();
    void fullDiskIsSaidOnce();
};

void TestHistoryDatabase::openedOnFirstUse()
{
    TestFolder folder(false);
    History h(folder.path());
    QVERIFY(!QFile::exists(h.path));
    QCOMPARE(h.db.attemptCount(), 0);
    QVERIFY(QFile::exists(h.path));
    QVERIFY(h.told.isEmpty());
}

void TestHistoryDatabase::attemptReadsBack()
{
    TestFolder folder(false);
    AttemptRecord full = Attempt("2026-12-10T21:05:07.250", "03-04", 83456, 120, 7, "合格");
    full.level = 3;
    full.tempoMs = 400;
    full.inputMethod = true;
    AttemptRecord undated = Attempt({}, "01-01", 1000, 5, 0);
    {
        History h(folder.path());
        h.db.record(full);
        h.db.record(undated);
        QVERIFY(h.told.isEmpty());
    }
    History reopened(folder.path());
    const QList<StoredAttempt> recent = reopened.db.recent(10);
    QCOMPARE(recent.size(), 2);
    // The undated attempt ended now, after the other one.
    undated.endedAt = Now;
    QCOMPARE(recent[0].attempt, undated);
    QCOMPARE(recent[1].attempt, full); // listing leaves keys out
    QVERIFY(recent[0].id != recent[1].id);
    QCOMPARE(reopened.db.recent(1).size(), 1);
    QCOMPARE(reopened.db.recent(0).size(), 0);
}

void TestHistoryDatabase::daily_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("upgraded"); // written by the second version, then opened
    QTest::addColumn<QList<DailyPoint>>("expected");
    for (const bool upgraded : {false, true}) {
        const char* how = upgraded ? ", upgraded" : "";
        // Speed: accepted characters per minute; accuracy accepted / (accepted + misses).
        QTest::addRow("whole course%s", how) << QString() << upgraded << QList<DailyPoint>{
            {QDate(2026, 12, 9), 2, 150 * 60000.0 / 90000, 150.0 / 200},
            {QDate(2026, 12, 10), 1, 150, 0.75},
            {QDate(2026, 12, 11), 2, 120, 0.9},
        };
        QTest::addRow("one lesson%s", how) << QStringLiteral("01-") << upgraded << QList<DailyPoint>{
            {QDate(2026, 12, 9), 2, 100, 0.75},
        };
        QTest::addRow("one page%s", how) << QStringLiteral("01-01") << upgraded << QList<DailyPoint>{
            {QDate(2026, 12, 9), 1, 100, 0.5},
        };
        QTest::addRow("no characters%s", how) << QStringLiteral("ゲーム") << upgraded << QList<DailyPoint>{
            {QDate(2026, 12, 11), 1, 0, 0},
        };
        QTest::addRow("none%s", how) << QStringLiteral("05-") << upgraded << QList<DailyPoint>{};
    }
}

void TestHistoryDatabase::daily()
{
    QFETCH(QString, prefix);
    QFETCH(bool, upgraded);
    QFETCH(QList<DailyPoint>, expected);
    TestFolder folder(false);
    {
        History h(folder.path());
        FillFixture(h.db);
    }
    if (upgraded) {
        // Back to the second version's schema, which had no day sums: they
        // are made from the attempts when the file is opened again.
        RawConnection raw(folder.file(HistoryDatabase::fileName()));
        QVERIFY(raw.exec("DROP TRIGGER attempts_add_to_days"));
        QVERIFY(raw.exec("DROP TRIGGER attempts_leave_days"));
        QVERIFY(raw.exec("DROP TABLE attempt_days"));
        QVERIFY(raw.exec("CREATE INDEX attempts_by_day ON attempts"
                         " (substr(ended_at, 1, 10), page_id, accepted, misses, duration_ms)"));
        QVERIFY(raw.exec("PRAGMA user_version = 2"));
    }
    History h(folder.path());
    QCOMPARE(h.db.daily(prefix), expected);
    QVERIFY(h.told.isEmpty());
}

void TestHistoryDatabase::dailyFollowsDeletedAttempts()
{
    TestFolder folder(false);
    History h(folder.path());
    FillFixture(h.db);
    {
        // Attempts deleted by any program, not only by clearing the record.
        RawConnection raw(h.path);
        QVERIFY(raw.exec("DELETE FROM attempts WHERE page_id IN ('01-01', '02-01')"));
    }
    QCOMPARE(h.db.daily(), (QList<DailyPoint>{
                               {QDate(2026, 12, 9), 1, 100, 1.0},
                               {QDate(2026, 12, 11), 2, 120, 0.9},
                           }));
    QString error;
    QVERIFY2(h.db.clear(&error), qPrintable(error));
    QCOMPARE(h.db.daily(), QList<DailyPoint>{});
    h.db.record(Attempt("2026-12-11T10:00:00", "01-01", 60000, 5, 0));
    QCOMPARE(h.db.daily(), (QList<DailyPoint>{{QDate(2026, 12, 11), 1, 5, 1.0}}));
}

void TestHistoryDatabase::pageIdsInCourseOrder()
{
    TestFolder folder(false);
    History h(folder.path());
    FillFixture(h.db);
    h.db.record(Attempt("2026-12-11T10:00:00", "苦手キー練習", 1000, 5, 0));
    h.db.record(Attempt("2026-12-11T10:00:01", "00-01", 1000, 5, 0));
    QCOMPARE(h.db.pageIds(), (QStringList{"00-01", "01-01", "01-02", "02-01", "08-01", "ゲーム", "苦手キー練習"}));
    QCOMPARE(h.db.attemptCount(), 7);
}

void TestHistoryDatabase::bestTime_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<qint64>("best"); // -1: none
    QTest::addColumn<QString>("endedAt");
    QTest::addColumn<QString>("pageId");
    QTest::newRow("failed attempt not counted")
        << QStringLiteral("F_les1_1") << qint64(60000) << QStringLiteral("2026-12-09T10:00:00") << QStringLiteral("01-02");
    QTest::newRow("only attempt") << QStringLiteral("F_sotsugyo") << qint64(45000)
                                  << QStringLiteral("2026-12-11T09:00:00") << QStringLiteral("08-01");
    QTest::newRow("earliest of equal times") << QStringLiteral("F_welcome") << qint64(50000)
                                             << QStringLiteral("2026-12-10T12:00:00") << QStringLiteral("00-01");
    QTest::newRow("no attempts") << QStringLiteral("F_les9_1") << qint64(-1) << QString() << QString();
    QTest::newRow("no time taken") << QStringLiteral("F_game") << qint64(-1) << QString() << QString();
}

void TestHistoryDatabase::bestTime()
{
    QFETCH(QString, screen);
    QFETCH(qint64, best);
    QFETCH(QString, endedAt);
    QFETCH(QString, pageId);
    TestFolder folder(false);
    History h(folder.path());
    FillFixture(h.db);
    h.db.record(Attempt("2026-12-11T10:00:00", "02-02", 20000, 10, 40, "不合格"));
    // The speed test, twice in the same time: the record stays with the first.
    for (const auto& [at, ms] : {std::pair{"2026-12-10T12:00:00", 50000}, std::pair{"2026-12-11T07:00:00", 70000},
                                 std::pair{"2026-12-11T08:30:00", 50000}}) {
        AttemptRecord speedTest = Attempt(at, "00-01", ms, 500, 3, QString());
        speedTest.screen = QStringLiteral("F_welcome");
        h.db.record(speedTest);
    }
    const std::optional<StoredAttempt> found = h.db.bestAttempt(screen);
    QCOMPARE(found ? found->attempt.durationMs : -1, best);
    if (found) {
        QCOMPARE(found->attempt.endedAt, QDateTime::fromString(endedAt, Qt::ISODate));
        QCOMPARE(found->attempt.pageId, pageId);
        QCOMPARE(found->attempt.screen, screen);
    }
}

void TestHistoryDatabase::keyTotals_data()
{
    QTest::addColumn<int>("attempts");
    QTest::addColumn<QList<KeyCount>>("expected");
    QTest::newRow("newest only") << 1 << QList<KeyCount>{{U'あ', 2, 1}};
    QTest::newRow("newest three, one without keys")
        << 3 << QList<KeyCount>{{U's', 7, 0}, {U'あ', 2, 1}};
    QTest::newRow("all, summed per key")
        << 100 << QList<KeyCount>{{U'a', 14, 1}, {U'd', 3, 3}, {U's', 12, 2}, {U'あ', 2, 1}};
    QTest::newRow("none") << 0 << QList<KeyCount>{};
}

void TestHistoryDatabase::keyTotals()
{
    QFETCH(int, attempts);
    QFETCH(QList<KeyCount>, expected);
    TestFolder folder(false);
    History h(folder.path());
    FillFixture(h.db);
    QCOMPARE(h.db.keyTotals(attempts), expected);
}

void TestHistoryDatabase::csvExport()
{
    TestFolder folder(false);
    History h(folder.path());
    AttemptRecord a = Attempt("2026-12-10T21:05:07", "01-01", 1500, 3, 1, "合格",
                              {{U'a', 2, 1}, {U' ', 1, 0}, {U'a', 1, 0}}); // a key listed twice is counted once
    a.level = 2;
    h.db.record(a);
    AttemptRecord b = Attempt("2026-12-11T08:00:00", "ゲーム", 2000, 4, 0, "得点 \"12\", 2位");
    b.inputMethod = true;
    h.db.record(b);
    const QString csv = folder.file(QStringLiteral("record.csv"));
    QString error;
    QVERIFY2(h.db.exportCsv(csv, &error), qPrintable(error));
    const QByteArray expected = QByteArray("\xEF\xBB\xBF")
        + QStringLiteral("日時,画面,ページ,時間(ミリ秒),入力文字数,ミス,レベル,テンポ(ミリ秒),かな漢字変換,結果,キー別(文字 出題数/ミス数)\r\n"
                         "2026-12-10 21:05:07,F_les1_1,01-01,1500,3,1,2,,オフ,合格,  1/0 a 3/1\r\n"
                         "2026-12-11 08:00:00,F_game,ゲーム,2000,4,0,,,オン,\"得点 \"\"12\"\", 2位\",\r\n")
              .toUtf8();
    QCOMPARE(ReadAll(csv), expected);

    // A file that cannot be written is said, and nothing is left of it.
    QVERIFY(!h.db.exportCsv(folder.file(QStringLiteral("no-such-folder/record.csv")), &error));
    QVERIFY(error.contains(QStringLiteral("record.csv")));
}

void TestHistoryDatabase::csvQuoting_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << QStringLiteral("合格") << QStringLiteral("合格").toUtf8();
    QTest::newRow("comma") << QStringLiteral("a,b") << QByteArray("\"a,b\"");
    QTest::newRow("quote") << QStringLiteral("say \"hi\"") << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("line break") << QStringLiteral("a\r\nb") << QByteArray("\"a\r\nb\"");
    QTest::newRow("lone LF") << QStringLiteral("a\nb") << QByteArray("\"a\nb\"");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestHistoryDatabase::csvQuoting()
{
    QFETCH(QString, field);
    QFETCH(QByteArray, written);
    TestFolder folder(false);
    History h(folder.path());
    AttemptRecord a = Attempt("2026-12-10T21:05:07", "01-01", 1500, 3, 1, field);
    h.db.record(a);
    const QString csv = folder.file(QStringLiteral("record.csv"));
    QVERIFY(h.db.exportCsv(csv, nullptr));
    QVERIFY(ReadAll(csv).endsWith("2026-12-10 21:05:07,F_les1_1,01-01,1500,3,1,,,オフ," + written + ",\r\n"));
}

void TestHistoryDatabase::clearKeepsTheFile()
{
    TestFolder folder(false);
    History h(folder.path());
    FillFixture(h.db);
    QString error;
    QVERIFY2(h.db.clear(&error), qPrintable(error));
    QVERIFY(QFile::exists(h.path));
    QCOMPARE(h.db.attemptCount(), 0);
    QCOMPARE(h.db.keyTotals(100), QList<KeyCount>{});
    h.db.record(Attempt("2026-12-11T10:00:00", "01-01", 1000, 5, 0));
    QCOMPARE(h.db.attemptCount(), 1);
}

void TestHistoryDatabase::firstVersionIsUpgraded()
{
    TestFolder folder(false);
    const QString path = folder.file(HistoryDatabase::fileName());
    {
        // The first version's schema, as a first release of the program left it.
        RawConnection raw(path);
        QVERIFY(raw.exec("CREATE TABLE attempts (id INTEGER PRIMARY KEY, ended_at TEXT NOT NULL, screen TEXT NOT NULL,"
                         " page_id TEXT NOT NULL, duration_ms INTEGER NOT NULL, accepted INTEGER NOT NULL,"
                         " misses INTEGER NOT NULL, level INTEGER NOT NULL, tempo_ms INTEGER NOT NULL,"
                         " input_method INTEGER NOT NULL, outcome TEXT NOT NULL)"));
        QVERIFY(raw.exec("CREATE TABLE attempt_keys (attempt_id INTEGER NOT NULL REFERENCES attempts(id),"
                         " key INTEGER NOT NULL, expected INTEGER NOT NULL, missed INTEGER NOT NULL,"
                         " PRIMARY KEY (attempt_id, key)) WITHOUT ROWID"));
        QVERIFY(raw.exec("INSERT INTO attempts VALUES (7, '2026-12-01T10:00:00.000', 'F_les1_1', '01-01',"
                         " 30000, 60, 2, -1, 0, 0, '合格')"));
        QVERIFY(raw.exec("INSERT INTO attempt_keys VALUES (7, 97, 5, 2)"));
        QVERIFY(raw.exec("PRAGMA user_version = 1"));
    }
    {
        History h(folder.path());
        QCOMPARE(h.db.attemptCount(), 1);
        QCOMPARE(h.db.keyTotals(1), (QList<KeyCount>{{U'a', 5, 2}}));
        h.db.record(Attempt("2026-12-11T10:00:00", "01-02", 1000, 5, 0));
        QCOMPARE(h.db.recent(5).size(), 2);
        QVERIFY(h.told.isEmpty());
    }
    RawConnection raw(path);
    QCOMPARE(raw.value("PRAGMA user_version").toInt(), 3);
    QCOMPARE(raw.value("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name LIKE 'attempts_by_%'").toInt(), 3);
    QCOMPARE(raw.value("SELECT count(*) FROM sqlite_master WHERE type = 'trigger'").toInt(), 2);
    QCOMPARE(raw.value("PRAGMA journal_mode").toString(), QStringLiteral("wal"));
}

void TestHistoryDatabase::damagedFileIsKeptAside_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("not a database") << QStringLiteral("garbage");
    QTest::newRow("truncated") << QStringLiteral("truncated");
    QTest::newRow("page overwritten") << QStringLiteral("overwritten");
    // Too large to be checked whole when opened.
    QTest::newRow("large, not a database") << QStringLiteral("large garbage");
    QTest::newRow("large, shorter than its pages") << QStringLiteral("large truncated");
}

void TestHistoryDatabase::damagedFileIsKeptAside()
{
    QFETCH(QString, damage);
    TestFolder folder(false);
    const QString path = folder.file(HistoryDatabase::fileName());
    if (damage == QLatin1String("garbage")) {
        folder.write(HistoryDatabase::fileName(), QByteArray("This is not a database at all.\n").repeated(200));
    } else if (damage == QLatin1String("large garbage")) {
        folder.write(HistoryDatabase::fileName(), QByteArray(5 * 1024 * 1024, 'x'));
    } else if (damage == QLatin1String("large truncated")) {
        {
            History h(folder.path());
            FillFixture(h.db);
        }
        // A file of 2,000 pages, of which only the first 1,200 are there.
        QByteArray bytes = ReadAll(path);
        bytes[28] = 0;
        bytes[29] = 0;
        bytes[30] = char(2000 >> 8);
        bytes[31] = char(2000 & 0xff);
        bytes.append(QByteArray(1200 * 4096 - bytes.size(), '\0'));
        folder.write(HistoryDatabase::fileName(), bytes);
    } else {
        {
            History h(folder.path());
            for (int i = 0; i < 80; ++i)
                FillFixture(h.db);
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.size() > 8 * 4096);
        if (damage == QLatin1String("truncated")) {
            QVERIFY(f.resize(f.size() / 2 + 100));
        } else {
            f.seek(3 * 4096);
            f.write(QByteArray(4096, '\x5a'));
        }
    }
    const QByteArray damaged = ReadAll(path);

    History h(folder.path());
    h.db.record(Attempt("2026-12-11T10:00:00", "01-01", 1000, 5, 0));
    QCOMPARE(h.told.size(), 1);
    const QString backupName = HistoryDatabase::fileName() + QStringLiteral(".damaged-20261211-093015");
    QVERIFY2(h.told[0].contains(HistoryDatabase::fileName()) && h.told[0].contains(backupName), qPrintable(h.told[0]));
    QCOMPARE(ReadAll(folder.file(backupName)), damaged);
    // The course went on: the attempt is in a fresh record.
    QCOMPARE(h.db.attemptCount(), 1);
    h.db.record(Attempt("2026-12-11T10:00:01", "01-01", 1000, 5, 0));
    QCOMPARE(h.db.attemptCount(), 2);
    QCOMPARE(h.told.size(), 1);
}

void TestHistoryDatabase::lockedFileIsSaidOnce()
{
    TestFolder folder(false);
    History h(folder.path());
    FillFixture(h.db);
    {
        RawConnection other(h.path, QStringLiteral("other"));
        QVERIFY(other.exec("BEGIN EXCLUSIVE"));
        h.db.record(Attempt("2026-12-11T10:00:00", "01-01", 1000, 5, 0));
        h.db.record(Attempt("2026-12-11T10:00:01", "01-01", 1000, 5, 0));
        QCOMPARE(h.told.size(), 1);
        QVERIFY2(h.told[0].contains(HistoryDatabase::fileName()) && h.told[0].contains(QStringLiteral("使用中")),
                 qPrintable(h.told[0]));
        // Reading goes on beside the other program's write.
        QCOMPARE(h.db.attemptCount(), 5);
        QVERIFY(other.exec("ROLLBACK"));
    }
    h.db.record(Attempt("2026-12-11T10:00:02", "01-01", 1000, 5, 0));
    QCOMPARE(h.db.attemptCount(), 6);
    QCOMPARE(h.told.size(), 1);
    QVERIFY(!QDir(folder.path()).entryList({QStringLiteral("*.damaged-*")}).size());
}

void TestHistoryDatabase::readOnlyFileIsSaidOnce()
{
    TestFolder folder(false);
    const QString dir = folder.file(QStringLiteral("ro"));
    ReadOnlyFolder readOnly(dir, [&] {
        History h(dir);
        FillFixture(h.db);
    });
    if (!readOnly.ready())
        QSKIP("root writes into read-only folders, and no read-only file system can be mounted here");
    History h(dir);
    h.db.record(Attempt("2026-12-11T10:00:00", "01-01", 1000, 5, 0));
    h.db.record(Attempt("2026-12-11T10:00:01", "01-01", 1000, 5, 0));
    QCOMPARE(h.told.size(), 1);
    QVERIFY2(h.told[0].contains(HistoryDatabase::fileName()) && h.told[0].contains(QStringLiteral("読み取り専用")),
             qPrintable(h.told[0]));
    QString error;
    QVERIFY(!h.db.clear(&error));
    QVERIFY(!error.isEmpty());
}

void TestHistoryDatabase::damagedFileThatCannotBeKeptAside()
{
    TestFolder folder(false);
    const QString dir = folder.file(QStringLiteral("ro"));
    const QByteArray garbage = QByteArray("not a database\n").repeated(100);
    ReadOnlyFolder readOnly(dir, [&] {
        QFile f(QDir(dir).filePath(HistoryDatabase::fileName()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    });
    if (!readOnly.ready())
        QSKIP("root writes into read-only folders, and no read-only file system can be mounted here");
    History h(dir);
    h.db.record(Attempt("2026-12-11T10:00:00", "01-01", 1000, 5, 0));
    QCOMPARE(h.db.attemptCount(), 0);
    h.db.record(Attempt("2026-12-11T10:00:01", "01-01", 1000, 5, 0));
    QCOMPARE(h.told.size(), 1);
    QVERIFY2(h.told[0].contains(HistoryDatabase::fileName()) && h.told[0].contains(QStringLiteral("壊れて")),
             qPrintable(h.told[0]));
    QCOMPARE(ReadAll(h.path), garbage);
}

void TestHistoryDatabase::notARegularFile_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("folder") << false;
    QTest::newRow("FIFO") << true; // opening one would wait for a writer forever
}

void TestHistoryDatabase::notARegularFile()
{
    QFETCH(bool, fifo);
    TestFolder folder(false);
    const QString path = folder.file(HistoryDatabase::fileName());
    if (fifo)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QDir().mkdir(path));
    History h(folder.path());
    h.db.record(Attempt("2026-12-11T10:00:00", "01-01", 1000, 5, 0));
    QCOMPARE(h.db.attemptCount(), 0);
    QCOMPARE(h.db.recent(5).size(), 0);
    h.db.record(Attempt("2026-12-11T10:00:01", "01-01", 1000, 5, 0));
    QCOMPARE(h.told.size(), 1);
    QVERIFY(h.told[0].contains(HistoryDatabase::fileName()));
    QCOMPARE(QFileInfo(path).isDir(), !fifo);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 1);
}

void TestHistoryDatabase::fullDiskIsSaidOnce()
{
    TestFolder folder(false);
    History h(folder.path());
    h.db.record(Attempt("2026-12-11T09:00:00", "01-01", 1000, 5, 0));
    {
        DiskFull full(1024);
        for (int i = 0; i < 20; ++i)
            FillFixture(h.db);
        QCOMPARE(h.told.size(), 1);
        QVERIFY2(h.told[0].contains(HistoryDatabase::fileName()) && h.told[0].contains(QStringLiteral("空き")),
                 qPrintable(h.told[0]));
    }
    // Nothing was damaged: the record reads, and records again with room.
    QVERIFY(h.db.attemptCount() >= 1);
    h.db.record(Attempt("2026-12-11T10:00:00", "01-02", 1000, 5, 0));
    QVERIFY(h.db.pageIds().contains(QStringLiteral("01-02")));
    QVERIFY(!QDir(folder.path()).entryList({QStringLiteral("*.damaged-*")}).size());
}

QTEST_GUILESS_MAIN(TestHistoryDatabase)
#include "tst_historydatabase.moc"
