#pragma once

#include "core/LinesAttempt.h"
#include "core/ProgressRecord.h"
#include "core/ScreenEffects.h"
#include "lessons/PagedLesson.h"
#include "lessons/SentenceLines.h"

namespace morvela {

// A sentence lesson (Lessons 7 and 8): misses counted over the whole text,
// one verdict when the last line is complete. A pass completes the lesson
// and saves; the boxes keep their text and the next character starts a new
// attempt at the first line.
class SentenceLesson {
public:
    // `clock` times each attempt for the learner's record.
    SentenceLesson(const SentenceScript& script, ProgressRecord& record, const Clock& clock);

    // The window opens: empty boxes; "未" becomes "練習中" (in memory only).
    ScreenEffects open();

    // A character typed or committed into the box of `line` (0-based); only
    // the line whose turn it is takes it. `line` of the outcome is the line
    // whose turn it is after it.
    KeyOutcome keyPress(int line, char32_t typed);

    ScreenEffects again(); // Command3
    ScreenEffects toMenu() { return LeaveSentenceScreen(); } // Command1

    const SentenceScript& script() const { return m_script; }
    int line() const { return m_attempt.line(); }
    int cursor() const { return m_attempt.cursor(); }
    int misses() const { return m_attempt.misses(); }
    const TypingAttempt& attempt() const { return m_attempt.attempt(); }

private:
    ScreenEffects judge();

    const SentenceScript& m_script;
    PagedLesson m_lesson;
    LinesAttempt m_attempt;
};

} // namespace morvela
