#pragma once

#include "core/ProgressRecord.h"
#include "core/ScreenEffects.h"
#include "lessons/SentenceLines.h"
#include "core/Clock.h"

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

    // A character typed or committed into the box of `line` (0-based).
    // `line` of the outcome is the line whose turn it is after it.
    KeyOutcome keyPress(int line, char32_t typed);

    ScreenEffects again(); // Command3: the attempt dropped, boxes emptied
    ScreenEffects toMenu() { return SentenceLines::toMenu(); } // Command1

    const SentenceScript& script() const { return m_lines.script(); }
    int line() const { return m_lines.line(); }
    int CursorPos() const { return m_lines.CursorPos(); }
    int MissCount() const { return m_lines.MissCount(); }
    bool ExamStarted() const { return m_started; }
    qint64 ExamStartTime() const { return m_startTime; }
    qint64 ExamEndTime() const { return m_endTime; }
    // "mm分ss" of the last completed attempt; the result windows show it.
    QString ExamTime() const { return m_examTime; }

private:
    ScreenEffects finish();

    ProgressRecord& m_record;
    const Clock& m_clock;
    SentenceLines m_lines;
    bool m_started = false;
    qint64 m_startTime = 0;
    qint64 m_endTime = 0;
    QString m_examTime;
};

} // namespace morvela
