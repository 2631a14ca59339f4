#include "record/HistoryDatabaseSchema.h"

#include <QSqlQuery>
#include <QVariant>

#include <iterator>

namespace morvela {
namespace {

// The statements that take a file from version N-1 to version N, at index
// N-1. A new version appends its step; steps once released never change.
const char* const Steps[][6] = {
    // 1: every finished attempt, and per attempt each expected character's
    // counts (clustered by attempt: an attempt's keys lie together).
    {"CREATE TABLE attempts ("
     " id INTEGER PRIMARY KEY,"
     " ended_at TEXT NOT NULL," // local time, yyyy-MM-ddTHH:mm:ss.zzz
     " screen TEXT NOT NULL,"
     " page_id TEXT NOT NULL,"
     " duration_ms INTEGER NOT NULL,"
     " accepted INTEGER NOT NULL,"
     " misses INTEGER NOT NULL,"
     " level INTEGER NOT NULL,"
     " tempo_ms INTEGER NOT NULL,"
     " input_method INTEGER NOT NULL,"
     " outcome TEXT NOT NULL)",
     "CREATE TABLE attempt_keys ("
     " attempt_id INTEGER NOT NULL REFERENCES attempts(id),"
     " key INTEGER NOT NULL," // the character's code point
     " expected INTEGER NOT NULL,"
     " missed INTEGER NOT NULL,"
     " PRIMARY KEY (attempt_id, key)) WITHOUT ROWID",
     nullptr, nullptr},
    // 2: what the record window asks for: the newest attempts, a screen's
    // best time, the pages, and the chart's days read in day order from
    // the index alone (its expression is the one the chart groups by;
    // replaced by the day sums of version 3).
    {"CREATE INDEX attempts_by_time ON attempts (ended_at, id)",
     "CREATE INDEX attempts_by_screen ON attempts (screen, duration_ms)",
     "CREATE INDEX attempts_by_page ON attempts (page_id)",
     "CREATE INDEX attempts_by_day ON attempts (substr(ended_at, 1, 10), page_id, accepted, misses, duration_ms)",
     nullptr},
    // 3: the chart's days summed per day and page as attempts come and go,
    // so the chart reads a few hundred rows, not every attempt. Triggers
    // keep the sums, so whatever program adds or deletes attempts keeps
    // them true; the sums start from the attempts already there.
    {"CREATE TABLE attempt_days ("
     " day TEXT NOT NULL," // yyyy-MM-dd of ended_at
     " page_id TEXT NOT NULL,"
     " attempts INTEGER NOT NULL,"
     " accepted INTEGER NOT NULL,"
     " misses INTEGER NOT NULL,"
     " duration_ms INTEGER NOT NULL,"
     " PRIMARY KEY (day, page_id)) WITHOUT ROWID",
     "INSERT INTO attempt_days (day, page_id, attempts, accepted, misses, duration_ms)"
     " SELECT substr(ended_at, 1, 10), page_id, count(*), sum(accepted), sum(misses), sum(duration_ms)"
     " FROM attempts GROUP BY 1, 2",
     "CREATE TRIGGER attempts_add_to_days AFTER INSERT ON attempts BEGIN"
     " INSERT INTO attempt_days (day, page_id, attempts, accepted, misses, duration_ms)"
     " VALUES (substr(NEW.ended_at, 1, 10), NEW.page_id, 1, NEW.accepted, NEW.misses, NEW.duration_ms)"
     " ON CONFLICT (day, page_id) DO UPDATE SET attempts = attempts + 1, accepted = accepted + excluded.accepted,"
     " misses = misses + excluded.misses, duration_ms = duration_ms + excluded.duration_ms;"
     " END",
     "CREATE TRIGGER attempts_leave_days AFTER DELETE ON attempts BEGIN"
     " UPDATE attempt_days SET attempts = attempts - 1, accepted = accepted - OLD.accepted,"
     " misses = misses - OLD.misses, duration_ms = duration_ms - OLD.duration_ms"
     " WHERE day = substr(OLD.ended_at, 1, 10) AND page_id = OLD.page_id;"
     " DELETE FROM attempt_days WHERE day = substr(OLD.ended_at, 1, 10) AND page_id = OLD.page_id"
     " AND attempts <= 0;"
     " END",
     // The days' index has no reader left; it only slowed each attempt.
     "DROP INDEX attempts_by_day",
     nullptr},
};
static_assert(std::size(Steps) == HistorySchemaVersion);

QSqlError Run(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        return q.lastError();
    return {};
}

} // namespace

QSqlError MigrateHistorySchema(QSqlDatabase& db)
{
    QSqlQuery version(db);
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next())
        return version.lastError();
    const int from = version.value(0).toInt();
    version.finish();
    if (from >= HistorySchemaVersion)
        return {};

    if (QSqlError e = Run(db, QStringLiteral("BEGIN IMMEDIATE")); e.isValid())
        return e;
    // Another copy of the program may have brought it up to date meanwhile.
    int current = from;
    {
        QSqlQuery again(db);
        if (again.exec(QStringLiteral("PRAGMA user_version")) && again.next())
            current = again.value(0).toInt();
    }
    for (int v = current; v < HistorySchemaVersion; ++v) {
        for (const char* statement : Steps[v]) {
            if (!statement)
                break;
            if (QSqlError e = Run(db, QString::fromLatin1(statement)); e.isValid()) {
                Run(db, QStringLiteral("ROLLBACK"));
                return e;
            }
        }
    }
    if (current < HistorySchemaVersion) {
        if (QSqlError e = Run(db, QStringLiteral("PRAGMA user_version = %1").arg(HistorySchemaVersion)); e.isValid()) {
            Run(db, QStringLiteral("ROLLBACK"));
            return e;
        }
    }
    if (QSqlError e = Run(db, QStringLiteral("COMMIT")); e.isValid()) {
        Run(db, QStringLiteral("ROLLBACK"));
        return e;
    }
    return {};
}

} // namespace morvela
