#pragma once

#include "core/Clock.h"
#include "core/LinesAttempt.h"
#include "core/ProgressRecord.h"

#include <QString>
#include <QStringList>

namespace morvela {

// One attempt at several lines against the clock (the speed test, the
// graduation exam). The clock starts at the first accepted character, so a
// wrong first key never starts it, and stops when the last line is complete;
// the attempt's time then reads "mm分ss", the form best times are kept in.
class TimedLinesAttempt {
public:
    TimedLinesAttempt(const QStringList& lines, const Clock& clock) : m_lines(lines), m_clock(clock)
    {
        m_lines.setClock(&clock);
    }

    // A new attempt: the first line, no misses, the clock not started. The
    // time of the last completed attempt stays.
    void restart();
    // The last line from its start again, misses and the clock kept: the
    // learner types on after finishing, and finishing again is timed from
    // the first start.
    void rewindLine() { m_lines.rewindLine(); }

    // A character offered to the box of `line` (0-based); only the line
    // whose turn it is takes it. AllDone has stopped the clock and set time().
    LinesAttempt::Step type(int line, char32_t typed);

    // The best time `stored` takes the last completed attempt's time when it
    // is greater as text ("99分99" = none yet); with no attempt completed it
    // stays. True when it was replaced.
    bool keepBestTime(QString& stored) const;

    int line() const { return m_lines.line(); }
    int cursor() const { return m_lines.cursor(); }
    int misses() const { return m_lines.misses(); }
    const TypingAttempt& attempt() const { return m_lines.attempt(); }
    bool timingStarted() const { return m_timingStarted; }
    qint64 startTime() const { return m_startTime; }
    qint64 endTime() const { return m_endTime; }
    // "mm分ss" of the last completed attempt; "" before the first.
    QString time() const { return m_time; }

private:
    LinesAttempt m_lines;
    const Clock& m_clock;
    bool m_timingStarted = false;
    qint64 m_startTime = 0;
    qint64 m_endTime = 0;
    QString m_time;
};

} // namespace morvela
