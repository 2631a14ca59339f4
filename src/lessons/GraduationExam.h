#pragma once

#include "core/ProgressRecord.h"
#include "core/ScreenEffects.h"
#include "lessons/SentenceLines.h"
#include "core/TimedLinesAttempt.h"

#include <QString>

namespace morvela {

// An attempt passes when its time sorts below this.
inline const QString GraduationPassLine = QStringLiteral("07分00");

// The graduation exam: Lesson 7's lines against the clock, from the first
// accepted character to the completion of the last line. Misses only cost
// time. Every completed attempt updates the best time and saves; a pass
// graduates the learner. The result window is shown (and waited for) before
// the new state is shown and saved, as the effects' order says.
class GraduationExam {
public:
    GraduationExam(ProgressRecord& record, const Clock& clock);

    // The window opens: empty boxes; "未" becomes "挑戦中" (in memory only).
    ScreenEffects open();

    // A character typed or committed into the box of `line` (0-based); only
    // the line whose turn it is takes it. `line` of the outcome is the line
    // whose turn it is after it.
    KeyOutcome keyPress(int line, char32_t typed);

    ScreenEffects again(); // Command3: the attempt dropped, boxes emptied
    ScreenEffects toMenu() { return LeaveSentenceScreen(); } // Command1

    const SentenceScript& script() const { return m_script; }
    int line() const { return m_attempt.line(); }
    int cursor() const { return m_attempt.cursor(); }
    int misses() const { return m_attempt.misses(); }
    const TypingAttempt& attempt() const { return m_attempt.attempt(); }
    bool examStarted() const { return m_attempt.timingStarted(); }
    qint64 examStartTime() const { return m_attempt.startTime(); }
    qint64 examEndTime() const { return m_attempt.endTime(); }
    // "mm分ss" of the last completed attempt; the result windows show it.
    QString examTime() const { return m_attempt.time(); }

private:
    ScreenEffects finish();

    ProgressRecord& m_record;
    const SentenceScript& m_script;
    TimedLinesAttempt m_attempt;
};

} // namespace morvela
