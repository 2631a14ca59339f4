#include "core/TypingAttempt.h"

#include <algorithm>

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
    const QList<MissTally> tally = m_tally;
    setText(text);
    m_misses = misses;
    m_tally = tally;
}

void TypingAttempt::restart()
{
    m_cursor = 1;
    m_misses = 0;
    m_tally.clear();
    m_marked = 0;
}

char32_t TypingAttempt::expected() const
{
    return m_cursor <= length() ? m_codePoints[m_cursor - 1] : 0;
}

TypingAttempt::Result TypingAttempt::type(char32_t typed)
{
    if (m_cursor > length() || typed != m_codePoints[m_cursor - 1]) {
        ++m_misses;
        m_marked = expected();
        if (m_marked) {
            auto it = std::find_if(m_tally.begin(), m_tally.end(),
                                   [this](const MissTally& t) { return t.expected == m_marked; });
            if (it == m_tally.end())
                m_tally.append({m_marked, 1});
            else
                ++it->count;
        }
        return Result::Refused;
    }
    m_marked = 0;
    ++m_cursor;
    return m_cursor > length() ? Result::Completed : Result::Accepted;
}

QList<MissTally> TypingAttempt::mostMissed(int most) const
{
    QList<MissTally> ranked = m_tally;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const MissTally& a, const MissTally& b) { return a.count > b.count; });
    if (ranked.size() > most)
        ranked.resize(qMax(0, most));
    return ranked;
}

} // namespace morvela
