#include "core/LinesAttempt.h"

namespace morvela {

void LinesAttempt::setLines(const QStringList& lines)
{
    m_lines = lines;
    restart();
}

void LinesAttempt::restart()
{
    m_line = 0;
    m_attempt.setText(m_lines.value(0));
}

LinesAttempt::Step LinesAttempt::type(char32_t typed)
{
    switch (m_attempt.type(typed)) {
    case TypingAttempt::Result::Refused:
        return Step::Refused;
    case TypingAttempt::Result::Accepted:
        return Step::Accepted;
    case TypingAttempt::Result::Completed:
        break;
    }
    if (m_line + 1 >= lineCount())
        return Step::AllDone;
    ++m_line;
    m_attempt.continueWith(m_lines[m_line]);
    return Step::LineDone;
}

LinesAttempt::Step LinesAttempt::type(int line, char32_t typed)
{
    if (line != m_line)
        return Step::Refused;
    return type(typed);
}

} // namespace morvela
