#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace morvela {

// How often one character was expected in an attempt (each key offered
// while it was the next one: accepted or refused) and how often it was missed.
struct KeyCount {
    char32_t key = 0;
    int expected = 0;
    int missed = 0;
    friend bool operator==(const KeyCount&, const KeyCount&) = default;
};

// One attempt that ended, as the learner's record keeps it: a judged page,
// the speed test, a sentence lesson, the graduation exam, a mock-exam
// comparison, a game. Counted in memory while the learner types; written
// once, when it ends.
struct AttemptRecord {
    QDateTime endedAt;       // local time; filled by the record when left invalid
    QString screen;          // the window's name, e.g. "F_les1_1"
    QString pageId;          // e.g. "01-01"; the screen's own id where it has no pages
    qint64 durationMs = 0;   // from the first accepted character to the end
    int accepted = 0;        // characters accepted
    int misses = 0;
    int level = -1;          // the speed level, -1 where there is none
    int tempoMs = 0;         // the beat's interval, 0 where there is none
    bool inputMethod = false; // typed through the input method: speed counts committed characters
    QString outcome;         // "合格" / "不合格", or the judgement shown
    QList<KeyCount> keys;    // per expected character
    friend bool operator==(const AttemptRecord&, const AttemptRecord&) = default;
};

// The outcome of a judged page or text.
inline QString PassOutcome(bool passed)
{
    return passed ? QStringLiteral("合格") : QStringLiteral("不合格");
}

// Where finished attempts go. The record writes them to disk; tests collect
// them; where there is no record they are dropped.
class AttemptLog {
public:
    virtual ~AttemptLog() = default;
    virtual void record(const AttemptRecord& attempt) = 0;
};

class NoAttemptLog final : public AttemptLog {
public:
    void record(const AttemptRecord&) override {}
};

} // namespace morvela
