#pragma once

#include "record/LearnerRecord.h"

#include <QMap>

namespace morvela::test {

// A record held in memory: what the record window is handed in tests, and
// what it asked of it.
class FakeLearnerRecord final : public LearnerRecord {
public:
    QList<StoredAttempt> attempts; // newest first
    QList<DailyPoint> days;
    QMap<QString, StoredAttempt> bests; // by screen
    QList<KeyCount> keys;
    QString exportError, clearError; // non-empty: that operation fails so

    mutable QList<int> recentLimits;
    mutable QStringList dailyPrefixes;
    mutable QStringList exportedTo;

    QList<StoredAttempt> recent(int limit) const override
    {
        recentLimits.append(limit);
        return attempts.mid(0, limit);
    }
    QStringList pageIds() const override
    {
        QStringList ids;
        for (const StoredAttempt& a : attempts)
            ids.append(a.attempt.pageId);
        ids.removeDuplicates();
        ids.sort();
        return ids;
    }
    QList<DailyPoint> daily(const QString& pagePrefix) const override
    {
        dailyPrefixes.append(pagePrefix);
        return days;
    }
    std::optional<StoredAttempt> bestAttempt(const QString& screen) const override
    {
        return bests.contains(screen) ? std::optional<StoredAttempt>(bests[screen]) : std::nullopt;
    }
    QList<KeyCount> keyTotals(int) const override { return keys; }
    int attemptCount() const override { return int(attempts.size()); }
    bool exportCsv(const QString& path, QString* error) const override
    {
        exportedTo.append(path);
        *error = exportError;
        return exportError.isEmpty();
    }
    bool clear(QString* error) override
    {
        *error = clearError;
        if (!clearError.isEmpty())
            return false;
        attempts.clear();
        days.clear();
        keys.clear();
        bests.clear();
        return true;
    }

    // The best attempt of `screen`, also among the attempts.
    void addBest(const QString& screen, const QString& pageId, const QDateTime& at, qint64 durationMs, int accepted)
    {
        add(pageId, at, durationMs, accepted, 0, QString());
        attempts.first().attempt.screen = screen;
        bests[screen] = attempts.first();
    }

    // An attempt ending at `at` on `pageId`.
    void add(const QString& pageId, const QDateTime& at, qint64 durationMs = 60000, int accepted = 64, int misses = 2,
             const QString& outcome = QStringLiteral("合格"))
    {
        StoredAttempt a;
        a.id = attempts.size() + 1;
        a.attempt.endedAt = at;
        a.attempt.screen = QStringLiteral("F_les1_1");
        a.attempt.pageId = pageId;
        a.attempt.durationMs = durationMs;
        a.attempt.accepted = accepted;
        a.attempt.misses = misses;
        a.attempt.outcome = outcome;
        attempts.prepend(a);
    }
};

} // namespace morvela::test
