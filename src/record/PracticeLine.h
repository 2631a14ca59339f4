#pragma once

#include "core/AttemptRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace morvela {

// Below this many expected keystrokes the record says too little about a
// learner's keys to single any out.
inline constexpr int PracticeMinimumKeystrokes = 50;
// The weakest keys a practice line is built round.
inline constexpr int PracticeWeakKeyCount = 5;
// Characters of a practice line, about one drill line of the course.
inline constexpr int PracticeLineLength = 60;

// The line of the weakest-key practice, or why there is none.
struct PracticeLine {
    enum class Basis {
        WeakKeys,         // built from the weakest keys
        TooLittleHistory, // fewer than PracticeMinimumKeystrokes keystrokes
        NothingMissed,    // no key of the course's romaji was ever missed
    };
    Basis basis = Basis::TooLittleHistory;
    // The line to type; the home row where there is no record to go by.
    QString line;
    // The keys it practises, weakest first (empty without a record).
    QList<KeyCount> weakKeys;
};

// The words and syllables of the course's romaji texts, each once, in the
// order they first appear: the texts split at blanks, a line that repeats
// one piece (a Lesson 1 drill) cut to that piece. Only what can be typed
// with the input method off is kept.
QStringList PracticeCandidates(const QStringList& courseTexts);

// Builds the practice line from the record's key totals: candidates that
// contain the weakest keys (by error rate), drawn with weights by the error
// rate of the keys they hold, until `length` characters are used. Each weak
// key is taken up before any is repeated. The same totals, candidates and
// seed always give the same line, whatever the order of `totals`.
PracticeLine MakePracticeLine(const QList<KeyCount>& totals, const QStringList& candidates, const QString& homeRow,
                              quint64 seed, int length = PracticeLineLength);

} // namespace morvela
