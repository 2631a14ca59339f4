#include "record/HistoryDatabase.h"

#include "core/FileError.h"
#include "core/ProgramFolder.h"
#include "core/SafeFile.h"
#include "record/HistoryDatabaseCsv.h"
#include "record/HistoryDatabaseSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <algorithm>

namespace morvela {
namespace {

// How long a write waits for another program's lock before the attempt
// goes unrecorded: short, since the learner waits for it.
constexpr int BusyTimeoutMs = 250;

// Up to this size the file is checked whole when it is opened (about 7,000
// attempts, some 20 ms).
constexpr qint64 WholeCheckLimit = 4 * 1024 * 1024;

// How often in one run a damaged file is kept aside and a fresh one begun.
constexpr int MostRecoveries = 3;

const QString StoredTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

// What SQLite's primary result code says about the file.
enum class Fault { None, Damaged, Locked, ReadOnly, Disk, Other };

Fault FaultOf(const QSqlError& e)
{
    if (!e.isValid())
        return Fault::None;
    bool number = false;
    const int code = e.nativeErrorCode().toInt(&number) & 0xff;
    if (!number)
        return Fault::Other;
    switch (code) {
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return Fault::Damaged;
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return Fault::Locked;
    case 3:  // SQLITE_PERM
    case 8:  // SQLITE_READONLY
    case 14: // SQLITE_CANTOPEN
    case 23: // SQLITE_AUTH
        return Fault::ReadOnly;
    case 10: // SQLITE_IOERR
    case 13: // SQLITE_FULL
        return Fault::Disk;
    default:
        return Fault::Other;
    }
}

QString ReasonOf(const QSqlError& e)
{
    QString reason;
    switch (FaultOf(e)) {
    case Fault::Locked:
        reason = QStringLiteral("ほかのプログラムが使用中です。");
        break;
    case Fault::ReadOnly:
        reason = QStringLiteral("書き込みが許可されていません（読み取り専用）。");
        break;
    case Fault::Disk:
        reason = QStringLiteral("ディスクに空きがないか、ディスクの読み書きに失敗しました。");
        break;
    case Fault::Damaged:
        reason = QStringLiteral("ファイルが壊れています。");
        break;
    default:
        break;
    }
    const QString detail = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
    return detail.isEmpty() ? reason : QStringLiteral("%1（%2）").arg(reason, detail);
}

// Attempts' page ids in course order: the course's pages ("00-01" ..
// "09-01") first, then any other id (a game, the practice page).
bool CourseOrder(const QString& a, const QString& b)
{
    static const QRegularExpression page(QStringLiteral("^\\d\\d-\\d\\d$"));
    const bool pa = page.match(a).hasMatch();
    const bool pb = page.match(b).hasMatch();
    if (pa != pb)
        return pa;
    return a < b;
}

// An attempt's keys with each character once (a character listed twice is
// counted once, its counts added).
QList<KeyCount> Merged(const QList<KeyCount>& keys)
{
    QMap<char32_t, KeyCount> byKey;
    for (const KeyCount& k : keys) {
        KeyCount& m = byKey[k.key];
        m.key = k.key;
        m.expected += k.expected;
        m.missed += k.missed;
    }
    return byKey.values();
}

AttemptRecord AttemptOf(const QSqlQuery& q)
{
    // Columns as ListedColumns names them.
    AttemptRecord a;
    a.endedAt = QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs);
    a.screen = q.value(2).toString();
    a.pageId = q.value(3).toString();
    a.durationMs = q.value(4).toLongLong();
    a.accepted = q.value(5).toInt();
    a.misses = q.value(6).toInt();
    a.level = q.value(7).toInt();
    a.tempoMs = q.value(8).toInt();
    a.inputMethod = q.value(9).toBool();
    a.outcome = q.value(10).toString();
    return a;
}

const QString ListedColumns = QStringLiteral(
    "id, ended_at, screen, page_id, duration_ms, accepted, misses, level, tempo_ms, input_method, outcome");

// Qt binds a null string as SQL NULL; the record's texts are never NULL.
QVariant Text(const QString& s)
{
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

QString UniqueConnectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("morvela-history-%1").arg(next++);
}

} // namespace

struct HistoryDatabase::Impl {
    Impl(QString p, Now n, Tell t) : path(std::move(p)), now(std::move(n)), tell(std::move(t)) {}

    QString path;
    Now now;
    Tell tell;
    QString connection = UniqueConnectionName();
    QSqlDatabase db;
    bool open = false;
    bool schemaReady = false;
    bool givenUp = false; // a file that can never be opened this run
    int recoveries = 0;
    bool toldUnwritable = false;

    QString shownPath() const { return QDir::toNativeSeparators(path); }

    void sayUnwritableOnce(const QString& reason)
    {
        if (toldUnwritable)
            return;
        toldUnwritable = true;
        if (tell)
            tell(QStringLiteral("学習記録のファイル %1 に書き込めません。%2\n"
                                "練習はこのまま続けられますが、書き込めない間の練習は記録されません。")
                     .arg(shownPath(), reason));
    }

    void close()
    {
        if (db.isValid())
            db.close();
        open = false;
        schemaReady = false;
    }

    bool ensureOpen(bool afterRecovery = false)
    {
        if (open)
            return true;
        if (givenUp)
            return false;
        int systemError = 0;
        switch (KindOfNative(QFile::encodeName(path), &systemError)) {
        case FileKind::Other:
            // SQLite would block on a FIFO and cannot use a folder.
            givenUp = true;
            sayUnwritableOnce(NotARegularFileReason);
            return false;
        case FileKind::Unreachable:
            sayUnwritableOnce(FileErrorReason(systemError));
            return false;
        case FileKind::Missing:
        case FileKind::Regular:
            break;
        }
        if (!db.isValid()) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        }
        if (!db.open()) {
            sayUnwritableOnce(ReasonOf(db.lastError()));
            return false;
        }
        // A damaged file is found before anything is added to it.
        QStringList findings;
        const QSqlError checkError = check(&findings);
        if (checkError.isValid() && FaultOf(checkError) != Fault::Damaged) {
            close();
            sayUnwritableOnce(ReasonOf(checkError));
            return false;
        }
        if (checkError.isValid() || !findings.isEmpty()) {
            close();
            if (afterRecovery) { // a fresh file that reads as damaged: give up
                givenUp = true;
                sayUnwritableOnce(ReasonOf(checkError));
                return false;
            }
            return recoverFromDamage();
        }
        // Write-ahead logging: a commit appends to the log, which is synced
        // at checkpoints only; a power cut may lose the newest attempt but
        // never damages the file.
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        open = true;
        return true;
    }

    // What is wrong with the file: SQLite's findings, or an error that
    // stopped the check. A small file is checked whole; a large one (the
    // whole check reads every page: a second for 100,000 attempts, when
    // the learner waits for the end of an attempt) by its header, its schema
    // and its length, and later by any error while reading it.
    QSqlError check(QStringList* findings)
    {
        QSqlQuery q(db);
        const qint64 size = QFileInfo(path).size();
        if (size <= WholeCheckLimit) {
            if (q.exec(QStringLiteral("PRAGMA quick_check"))) {
                while (q.next())
                    *findings << q.value(0).toString();
                if (*findings == QStringList{QStringLiteral("ok")})
                    findings->clear();
            }
            return q.lastError();
        }
        if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_schema")) || !q.next())
            return q.lastError();
        qint64 pageSize = 0;
        qint64 pages = 0;
        if (q.exec(QStringLiteral("PRAGMA page_size")) && q.next())
            pageSize = q.value(0).toLongLong();
        if (q.exec(QStringLiteral("PRAGMA page_count")) && q.next())
            pages = q.value(0).toLongLong();
        if (q.lastError().isValid())
            return q.lastError();
        // Pages not yet folded in from the log lie in the log, not the file.
        if (!QFile::exists(path + QStringLiteral("-wal")) && pages * pageSize > size)
            *findings << QStringLiteral("the file is shorter than its pages");
        return {};
    }

    bool ensureSchema()
    {
        if (!ensureOpen())
            return false;
        if (schemaReady)
            return true;
        const QSqlError e = MigrateHistorySchema(db);
        if (e.isValid()) {
            if (FaultOf(e) == Fault::Damaged) {
                close();
                return recoverFromDamage() && ensureSchema();
            }
            sayUnwritableOnce(ReasonOf(e));
            return false;
        }
        schemaReady = true;
        return true;
    }

    // A free name beside the file for keeping the damaged one.
    QString backupPath() const
    {
        const QString base = path + QStringLiteral(".damaged-") + now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString candidate = base;
        for (int n = 2; QFile::exists(candidate) || QFile::exists(candidate + QStringLiteral("-wal")); ++n)
            candidate = base + QStringLiteral("-%1").arg(n);
        return candidate;
    }

    // The damaged file goes aside with its log and index (a log left
    // behind would be played into the fresh file), and a fresh one starts.
    bool recoverFromDamage()
    {
        close();
        // A folder where every fresh file reads as damaged again would
        // otherwise fill with backups.
        if (++recoveries > MostRecoveries) {
            givenUp = true;
            sayUnwritableOnce(QStringLiteral("新しく始めたファイルも壊れていると読めます。"));
            return false;
        }
        const QString backup = backupPath();
        QFile main(path);
        if (main.exists() && !main.rename(backup)) {
            givenUp = true;
            sayUnwritableOnce(QStringLiteral("ファイルが壊れていますが、別の名前で残せませんでした（%1）。").arg(main.errorString()));
            return false;
        }
        for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            if (QFile::exists(path + suffix) && !QFile::rename(path + suffix, backup + suffix))
                QFile::remove(path + suffix);
        }
        if (tell)
            tell(QStringLiteral("学習記録のファイル %1 が壊れていたため、同じフォルダに %2 という名前で残し、新しい記録を始めました。"
                                "これまでの記録は新しい記録には含まれません。")
                     .arg(shownPath(), QFileInfo(backup).fileName()));
        return ensureOpen(true);
    }

    // A failed statement: damage is recovered from (true: the caller may
    // go on with the fresh file), anything else is the caller's to report.
    bool recovered(const QSqlError& e)
    {
        if (FaultOf(e) != Fault::Damaged)
            return false;
        close();
        return recoverFromDamage() && ensureSchema();
    }

    QSqlError write(const AttemptRecord& a)
    {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return q.lastError();
        QSqlError e;
        q.prepare(QStringLiteral("INSERT INTO attempts (ended_at, screen, page_id, duration_ms, accepted, misses,"
                                 " level, tempo_ms, input_method, outcome) VALUES (?,?,?,?,?,?,?,?,?,?)"));
        const QDateTime endedAt = a.endedAt.isValid() ? a.endedAt : now();
        q.addBindValue(endedAt.toLocalTime().toString(StoredTimeFormat));
        q.addBindValue(Text(a.screen));
        q.addBindValue(Text(a.pageId));
        q.addBindValue(a.durationMs);
        q.addBindValue(a.accepted);
        q.addBindValue(a.misses);
        q.addBindValue(a.level);
        q.addBindValue(a.tempoMs);
        q.addBindValue(a.inputMethod ? 1 : 0);
        q.addBindValue(Text(a.outcome));
        if (!q.exec())
            e = q.lastError();
        const qint64 id = q.lastInsertId().toLongLong();
        if (!e.isValid() && !a.keys.isEmpty()) {
            QSqlQuery keys(db);
            keys.prepare(QStringLiteral("INSERT INTO attempt_keys (attempt_id, key, expected, missed) VALUES (?,?,?,?)"));
            for (const KeyCount& k : Merged(a.keys)) {
                keys.bindValue(0, id);
                keys.bindValue(1, uint(k.key));
                keys.bindValue(2, k.expected);
                keys.bindValue(3, k.missed);
                if (!keys.exec()) {
                    e = keys.lastError();
                    break;
                }
            }
        }
        QSqlQuery end(db);
        if (!e.isValid() && !end.exec(QStringLiteral("COMMIT")))
            e = end.lastError();
        if (e.isValid())
            end.exec(QStringLiteral("ROLLBACK"));
        return e;
    }

    // A query to read with; none where the record cannot be read.
    std::optional<QSqlQuery> select(const QString& sql, const QVariantList& values = {})
    {
        for (int round = 0; round < 2; ++round) {
            if (!ensureOpen())
                return std::nullopt;
            ensureSchema(); // an old file that cannot be brought up to date still reads
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.prepare(sql);
            for (qsizetype i = 0; i < values.size(); ++i)
                q.bindValue(int(i), values[i]);
            if (q.exec())
                return q;
            if (!recovered(q.lastError()))
                return std::nullopt;
        }
        return std::nullopt;
    }

    // After reading every row: damage found on the way is recovered from.
    void finished(const QSqlQuery& q)
    {
        recovered(q.lastError());
    }
};

HistoryDatabase::HistoryDatabase(QString filePath, Now now, Tell tell)
    : d(new Impl(std::move(filePath), std::move(now), std::move(tell)))
{
}

HistoryDatabase::~HistoryDatabase()
{
    const QString connection = d->connection;
    const bool added = d->db.isValid();
    d->close();
    delete d;
    if (added)
        QSqlDatabase::removeDatabase(connection);
}

void HistoryDatabase::record(const AttemptRecord& attempt)
{
    if (!d->ensureSchema())
        return;
    QSqlError e = d->write(attempt);
    if (e.isValid() && d->recovered(e))
        e = d->write(attempt);
    if (e.isValid())
        d->sayUnwritableOnce(ReasonOf(e));
}

QList<StoredAttempt> HistoryDatabase::recent(int limit) const
{
    QList<StoredAttempt> list;
    if (limit <= 0)
        return list;
    auto q = d->select(QStringLiteral("SELECT %1 FROM attempts ORDER BY ended_at DESC, id DESC LIMIT ?").arg(ListedColumns),
                       {limit});
    if (!q)
        return list;
    while (q->next())
        list.append({q->value(0).toLongLong(), AttemptOf(*q)});
    d->finished(*q);
    return list;
}

QStringList HistoryDatabase::pageIds() const
{
    QStringList ids;
    auto q = d->select(QStringLiteral("SELECT DISTINCT page_id FROM attempts"));
    if (!q)
        return ids;
    while (q->next())
        ids << q->value(0).toString();
    d->finished(*q);
    std::sort(ids.begin(), ids.end(), CourseOrder);
    return ids;
}

QList<DailyPoint> HistoryDatabase::daily(const QString& pagePrefix) const
{
    QList<DailyPoint> days;
    // The day sums the schema's triggers keep, a row per day and page.
    auto q = d->select(QStringLiteral("SELECT day, sum(attempts), sum(accepted), sum(misses),"
                                      " sum(duration_ms) FROM attempt_days"
                                      " WHERE ? = '' OR substr(page_id, 1, length(?)) = ?"
                                      " GROUP BY day ORDER BY day"),
                       {Text(pagePrefix), Text(pagePrefix), Text(pagePrefix)});
    if (!q)
        return days;
    while (q->next()) {
        DailyPoint p;
        p.day = QDate::fromString(q->value(0).toString(), Qt::ISODate);
        p.attempts = q->value(1).toInt();
        const double accepted = q->value(2).toDouble();
        const double misses = q->value(3).toDouble();
        const double durationMs = q->value(4).toDouble();
        p.speedPerMinute = durationMs > 0 ? accepted * 60000.0 / durationMs : 0;
        p.accuracy = accepted + misses > 0 ? accepted / (accepted + misses) : 0;
        days << p;
    }
    d->finished(*q);
    return days;
}

std::optional<StoredAttempt> HistoryDatabase::bestAttempt(const QString& screen) const
{
    // Of equal times, the first one made holds the record.
    auto q = d->select(QStringLiteral("SELECT %1 FROM attempts WHERE screen = ? AND outcome <> ? AND duration_ms > 0"
                                      " ORDER BY duration_ms, id LIMIT 1")
                           .arg(ListedColumns),
                       {Text(screen), QStringLiteral("不合格")});
    std::optional<StoredAttempt> best;
    if (!q)
        return best;
    if (q->next())
        best = StoredAttempt{q->value(0).toLongLong(), AttemptOf(*q)};
    d->finished(*q);
    return best;
}

QList<KeyCount> HistoryDatabase::keyTotals(int attempts) const
{
    QList<KeyCount> totals;
    if (attempts <= 0)
        return totals;
    auto q = d->select(QStringLiteral("SELECT key, sum(expected), sum(missed) FROM attempt_keys WHERE attempt_id IN"
                                      " (SELECT id FROM attempts ORDER BY ended_at DESC, id DESC LIMIT ?)"
                                      " GROUP BY key ORDER BY key"),
                       {attempts});
    if (!q)
        return totals;
    while (q->next())
        totals.append({char32_t(q->value(0).toUInt()), q->value(1).toInt(), q->value(2).toInt()});
    d->finished(*q);
    return totals;
}

int HistoryDatabase::attemptCount() const
{
    auto q = d->select(QStringLiteral("SELECT count(*) FROM attempts"));
    int count = 0;
    if (!q)
        return count;
    if (q->next())
        count = q->value(0).toInt();
    d->finished(*q);
    return count;
}

bool HistoryDatabase::exportCsv(const QString& path, QString* error) const
{
    const QString shown = QDir::toNativeSeparators(path);
    auto cannotRead = [&] {
        if (error)
            *error = QStringLiteral("学習記録のファイル %1 を読めないため、%2 を書き出せませんでした。")
                         .arg(d->shownPath(), shown);
        return false;
    };
    auto attempts = d->select(QStringLiteral("SELECT %1 FROM attempts ORDER BY id").arg(ListedColumns));
    if (!attempts)
        return cannotRead();
    auto keys = d->select(QStringLiteral("SELECT attempt_id, key, expected, missed FROM attempt_keys"
                                         " ORDER BY attempt_id, key"));
    if (!keys)
        return cannotRead();

    QByteArray csv = CsvByteOrderMark;
    csv += CsvLine(HistoryCsvHeader());
    bool moreKeys = keys->next();
    while (attempts->next()) {
        const qint64 id = attempts->value(0).toLongLong();
        AttemptRecord a = AttemptOf(*attempts);
        qint64 keyOf = moreKeys ? keys->value(0).toLongLong() : 0;
        while (moreKeys && keyOf <= id) {
            if (keyOf == id)
                a.keys.append({char32_t(keys->value(1).toUInt()), keys->value(2).toInt(), keys->value(3).toInt()});
            moreKeys = keys->next();
            keyOf = moreKeys ? keys->value(0).toLongLong() : 0;
        }
        csv += CsvLine(HistoryCsvFields(a));
    }
    if (attempts->lastError().isValid() || keys->lastError().isValid()) {
        d->finished(*attempts);
        d->finished(*keys);
        return cannotRead();
    }
    QString writeError;
    if (!WriteFileAtomically(path, csv, &writeError)) {
        if (error)
            *error = QStringLiteral("%1 を書き出せませんでした。%2").arg(shown, writeError);
        return false;
    }
    return true;
}

bool HistoryDatabase::clear(QString* error)
{
    if (!d->ensureSchema()) {
        if (error)
            *error = QStringLiteral("学習記録のファイル %1 を開けないため、記録を消去できませんでした。").arg(d->shownPath());
        return false;
    }
    QSqlQuery q(d->db);
    if (q.exec(QStringLiteral("BEGIN IMMEDIATE")) && q.exec(QStringLiteral("DELETE FROM attempt_keys"))
        && q.exec(QStringLiteral("DELETE FROM attempts")) && q.exec(QStringLiteral("COMMIT"))) {
        // Give the space back, and leave nothing of the record readable in
        // the file's free pages.
        q.exec(QStringLiteral("VACUUM"));
        return true;
    }
    const QSqlError e = q.lastError();
    q.exec(QStringLiteral("ROLLBACK"));
    // A damaged record is kept aside; the fresh one is empty already.
    if (d->recovered(e))
        return true;
    if (error)
        *error = QStringLiteral("学習記録のファイル %1 の記録を消去できませんでした。%2").arg(d->shownPath(), ReasonOf(e));
    return false;
}

} // namespace morvela
