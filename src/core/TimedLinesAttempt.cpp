#include "core/TimedLinesAttempt.h"

namespace morvela {

void TimedLinesAttempt::restart()
{
    m_lines.restart();
    m_timingStarted = false;
}

LinesAttempt::Step TimedLinesAttempt::type(int line, char32_t typed)
{
    const LinesAttempt::Step step = m_lines.type(line, typed);
    if (step == LinesAttempt::Step::Refused)
        return step;
    if (!m_timingStarted) {
        m_startTime = m_clock.nowSeconds();
        m_timingStarted = true;
    }
    if (step == LinesAttempt::Step::AllDone) {
        m_endTime = m_clock.nowSeconds();
        m_time = FormatBestTime(m_endTime - m_startTime);
    }
    return step;
}

bool TimedLinesAttempt::keepBestTime(QString& stored) const
{
    return !m_time.isEmpty() && ApplyBestTime(stored, m_time);
}

} // namespace morvela
