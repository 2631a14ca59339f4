#pragma once

#include "core/TypingAttempt.h"

#include <QStringList>

namespace morvela {

// One attempt at typing several lines in turn (the speed test, the sentence
// lessons, the graduation exam): one cursor for the line being typed, back
// to 1 when a line is complete, and one miss count over all lines. Each line
// has its own box, and only the box of the line whose turn it is takes
// characters: a click into another box can neither scramble the cursor nor
// complete the text out of order.
class LinesAttempt {
public:
    enum class Step { Refused, Accepted, LineDone, AllDone };

    explicit LinesAttempt(const QStringList& lines = {}) { setLines(lines); }

    // The clock the attempt is timed on (see TypingAttempt).
    void setClock(const Clock* clock) { m_attempt.setClock(clock); }

    // New lines start a new attempt.
    void setLines(const QStringList& lines);
    // Back to the first character of the first line with no misses.
    void restart();
    // Back to the first character of the line being typed; misses stay.
    void rewindLine() { m_attempt.rewind(); }

    // A character judged against the line being typed. The line after a
    // LineDone is the next one; after AllDone the attempt stays complete
    // (refusing everything) until the caller restarts or rewinds it.
    Step type(char32_t typed);
    // A character offered to the box of `line` (0-based): refused without a
    // miss when it is not that line's turn, else judged as above.
    Step type(int line, char32_t typed);

    int line() const { return m_line; } // 0-based: the line being typed
    int lineCount() const { return int(m_lines.size()); }
    const QStringList& lines() const { return m_lines; }
    int cursor() const { return m_attempt.cursor(); }
    int misses() const { return m_attempt.misses(); }
    // The whole attempt over all lines: counts, time, figures.
    const TypingAttempt& attempt() const { return m_attempt; }

private:
    QStringList m_lines;
    TypingAttempt m_attempt;
    int m_line = 0;
};

} // namespace morvela
