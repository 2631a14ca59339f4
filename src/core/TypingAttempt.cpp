#include "core/TypingAttempt.h"

namespace morvela {

void TypingAttempt::setText(const QString& text)
{
    m_text = text;
    m_codePoints.clear();
    for (const char32_t c : text.toUcs4())
        m_codePoints << c;
    restart();
}

void TypingAttempt::continueWith(const QString& text)
{
    const int misses = m_misses;
    setText(text);
    m_misses = misses;
}

void TypingAttempt::restart()
{
    m_cursor = 1;
    m_misses = 0;
}

char32_t TypingAttempt::expected() const
{
    return m_cursor <= length() ? m_codePoints[m_cursor - 1] : 0;
}

TypingAttempt::Result TypingAttempt::type(char32_t typed)
{
    if (m_cursor > length() || typed != m_codePoints[m_cursor - 1]) {
        ++m_misses;
        return Result::Refused;
    }
    ++m_cursor;
    return m_cursor > length() ? Result::Completed : Result::Accepted;
}

} // namespace morvela
