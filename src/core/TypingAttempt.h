#pragma once

#include "core/AttemptRecord.h"
#include "core/Clock.h"

#include <QList>
#include <QString>

namespace morvela {

// How often one expected character was missed in an attempt.
struct MissTally {
    char32_t expected = 0;
    int count = 0;
    friend bool operator==(const MissTally&, const MissTally&) = default;
};

// One attempt at typing a text: each character is compared by code point
// with the next expected one; a match advances the cursor, anything else
// (Backspace U+0008 and Enter U+000D included) is refused and counted.
class TypingAttempt {
public:
    enum class Result { Refused, Accepted, Completed };

    explicit TypingAttempt(const QString& text = {}) { setText(text); }

    // The clock the attempt is timed on, from its first accepted character;
    // without one its time stays 0.
    void setClock(const Clock* clock) { m_clock = clock; }

    // A new text starts a new attempt.
    void setText(const QString& text);
    // Back to the first character with no misses, no counts and no time.
    void restart();
    // Back to the first character; the misses so far stay counted (a text
    // typed through starts over, or the next line of the same attempt).
    void rewind()
    {
        m_cursor = 1;
        m_marked = 0;
    }
    // The next line of the same attempt: a new text; misses, counts and
    // time kept.
    void continueWith(const QString& text);

    Result type(char32_t typed);

    QString text() const { return m_text; }
    char32_t expected() const;   // 0 once the text is complete
    int cursor() const { return m_cursor; } // 1-based, next expected
    int misses() const { return m_misses; }
    int length() const { return int(m_codePoints.size()); }

    // The character whose key the keyboard picture marks: the one still
    // expected after a refused key, until the next accepted one; 0 while the
    // learner types correctly.
    char32_t markedKey() const { return m_marked; }
    // The expected characters missed most in this attempt, at most `most`,
    // the most missed first; of two missed as often, the one missed first.
    QList<MissTally> mostMissed(int most = 3) const;

    // Per expected character, in the order each was first expected: how
    // often a key was offered while it was the next one, and how often that
    // key was wrong. Over the whole attempt, as the misses are.
    const QList<KeyCount>& keyCounts() const { return m_keys; }
    // Characters accepted in the whole attempt (every line, every rewind).
    int acceptedCount() const { return m_accepted; }
    bool started() const { return m_startMs >= 0; }
    // Milliseconds since the first accepted character; 0 before it.
    qint64 elapsedMs() const;
    // The attempt's figures as the learner's record keeps them, its time
    // taken now: the screen fills in what it is, where, and how it ended.
    AttemptRecord figures() const;

private:
    // The text alone; what was counted so far stays.
    void loadText(const QString& text);

    QString m_text;
    QList<char32_t> m_codePoints;
    int m_cursor = 1;
    int m_misses = 0;
    QList<MissTally> m_tally; // in the order of each character's first miss
    char32_t m_marked = 0;
    QList<KeyCount> m_keys;
    int m_accepted = 0;
    const Clock* m_clock = nullptr;
    qint64 m_startMs = -1; // -1: no character accepted yet
};

} // namespace morvela
