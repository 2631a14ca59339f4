#pragma once

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

    // A new text starts a new attempt.
    void setText(const QString& text);
    // Back to the first character with no misses.
    void restart();
    // Back to the first character; the misses so far stay counted (a text
    // typed through starts over, or the next line of the same attempt).
    void rewind()
    {
        m_cursor = 1;
        m_marked = 0;
    }
    // The next line of the same attempt: a new text, misses kept.
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

private:
    QString m_text;
    QList<char32_t> m_codePoints;
    int m_cursor = 1;
    int m_misses = 0;
    QList<MissTally> m_tally; // in the order of each character's first miss
    char32_t m_marked = 0;
};

} // namespace morvela
