#pragma once

#include "core/AttemptRecord.h"
#include "core/KeyLayout.h"
#include "core/TypingAttempt.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace morvela {

// What the record window can show: the whole course, a lesson, or a page
// of its own (the practice page, the mock exam, the game).
struct RecordScope {
    QString caption; // "コース全体", "Lesson1", "卒業試験", or the page id
    QString prefix;  // "" for all, "01-" for a lesson, else the page id
    friend bool operator==(const RecordScope&, const RecordScope&) = default;
};

// The scopes of the pages that occur, in the order given (course order):
// the whole course first, then each lesson once, then every other page.
QList<RecordScope> RecordScopes(const QStringList& pageIds);

// Characters per minute: keystrokes with the input method off, committed
// characters with it on. Nothing for an attempt that took no time.
std::optional<double> SpeedPerMinute(int accepted, qint64 durationMs);

// The cells of the table of attempts.
QString AttemptDateCell(const AttemptRecord& a);   // "2026/12/11 16:05"
QString AttemptTimeCell(const AttemptRecord& a);   // "1:05", "1:02:03"
QString AttemptSpeedCell(const AttemptRecord& a);  // "123", "—"

// A key of the keyboard picture with the counts of every character it types.
struct KeyHeat {
    const KeyCap* key = nullptr;
    int expected = 0;
    int missed = 0;
    double rate() const { return expected > 0 ? double(missed) / expected : 0; }
};
// The keys of the picture that were expected at all.
QList<KeyHeat> KeyHeats(const QList<KeyCount>& totals);

// The characters missed most, most first (equal counts: in key order).
QList<MissTally> MostMissed(const QList<KeyCount>& totals, int most);

} // namespace morvela
