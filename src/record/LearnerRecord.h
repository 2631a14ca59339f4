#pragma once

#include "record/HistoryDatabase.h"

namespace morvela {

// The learner's record as the record window reads and changes it. The
// program hands it the history database; tests hand it a few attempts
// held in memory.
class LearnerRecord {
public:
    virtual ~LearnerRecord() = default;
    virtual QList<StoredAttempt> recent(int limit) const = 0;
    virtual QStringList pageIds() const = 0;
    virtual QList<DailyPoint> daily(const QString& pagePrefix) const = 0;
    virtual std::optional<StoredAttempt> bestAttempt(const QString& screen) const = 0;
    virtual QList<KeyCount> keyTotals(int attempts) const = 0;
    virtual int attemptCount() const = 0;
    virtual bool exportCsv(const QString& path, QString* error) const = 0;
    virtual bool clear(QString* error) = 0;
};

// The history database beside the learner's files.
class HistoryRecord final : public LearnerRecord {
public:
    explicit HistoryRecord(HistoryDatabase& db) : m_db(db) {}
    QList<StoredAttempt> recent(int limit) const override { return m_db.recent(limit); }
    QStringList pageIds() const override { return m_db.pageIds(); }
    QList<DailyPoint> daily(const QString& pagePrefix) const override { return m_db.daily(pagePrefix); }
    std::optional<StoredAttempt> bestAttempt(const QString& screen) const override { return m_db.bestAttempt(screen); }
    QList<KeyCount> keyTotals(int attempts) const override { return m_db.keyTotals(attempts); }
    int attemptCount() const override { return m_db.attemptCount(); }
    bool exportCsv(const QString& path, QString* error) const override { return m_db.exportCsv(path, error); }
    bool clear(QString* error) override { return m_db.clear(error); }

private:
    HistoryDatabase& m_db;
};

} // namespace morvela
