#pragma once

#include "core/AttemptRecord.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace morvela {

// One finished attempt as stored, with its row id.
struct StoredAttempt {
    qint64 id = 0;
    AttemptRecord attempt; // `keys` left empty by the listing queries
};

// One day of the chart: the attempts of that day, their speed (per minute)
// and accuracy (0..1) taken over all their characters.
struct DailyPoint {
    QDate day;
    int attempts = 0;
    double speedPerMinute = 0;
    double accuracy = 0;
    friend bool operator==(const DailyPoint&, const DailyPoint&) = default;
};

// The learner's record: every finished attempt in `morvela-history.sqlite`
// beside the learner's other files. Opened on the first use, never at
// start-up. A file that is not a database or is damaged is moved aside and
// a fresh one started; a record that cannot be written (locked, read-only,
// full disk) is said once through `tell`, and the course goes on without it.
class HistoryDatabase final : public AttemptLog {
public:
    using Tell = std::function<void(const QString& message)>;
    using Now = std::function<QDateTime()>;

    HistoryDatabase(QString filePath, Now now, Tell tell);
    ~HistoryDatabase() override;
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    static QString fileName() { return QStringLiteral("morvela-history.sqlite"); }

    // One transaction per attempt.
    void record(const AttemptRecord& attempt) override;

    // Newest first, at most `limit`.
    QList<StoredAttempt> recent(int limit) const;
    // The page ids that occur, in course order ("00-01" .. "09-01", then others).
    QStringList pageIds() const;
    // Per day, oldest first; `pagePrefix` "" for the whole course, else a
    // lesson's ("01-") or a page's id.
    QList<DailyPoint> daily(const QString& pagePrefix = {}) const;
    // The attempt with the best (shortest) time of a screen's attempts that
    // were not failed (outcome other than "不合格": the speed test has no
    // pass) that took any time at all; the earliest of equal times.
    std::optional<StoredAttempt> bestAttempt(const QString& screen) const;
    // Per expected character, summed over the newest `attempts` attempts.
    QList<KeyCount> keyTotals(int attempts) const;
    int attemptCount() const;

    // The whole record as UTF-8 CSV with a byte-order mark, lines ending
    // CR LF, written atomically; `error` in the learner's words.
    bool exportCsv(const QString& path, QString* error) const;
    // Every attempt gone; the file stays.
    bool clear(QString* error);

private:
    struct Impl;
    Impl* d;
};

} // namespace morvela
