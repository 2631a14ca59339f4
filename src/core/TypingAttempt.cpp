#include "core/TypingAttempt.h"

#include <algorithm>

namespace morvela {

void TypingAttempt::setText(const QString& text)
{
    loadText(text);
    restart();
}

void TypingAttempt::continueWith(const QString& text)
{
    loadText(text);
    rewind();
}

void TypingAttempt::loadText(const QString& text)
{
    m_text = text;
    m_codePoints.clear();
    for (const char32_t c : text.toUcs4())
        m_codePoints << c;
}

void TypingAttempt::restart()
{
    m_cursor = 1;
    m_misses = 0;
    m_tally.clear();
    m_marked = 0;
    m_keys.clear();
    m_accepted = 0;
    m_startMs = -1;
}

char32_t TypingAttempt::expected() const
{
    return m_cursor <= length() ? m_codePoints[m_cursor - 1] : 0;
}

TypingAttempt::Result TypingAttempt::type(char32_t typed)
{
    KeyCount* count = nullptr;
    if (const char32_t next = expected()) {
        auto it = std::find_if(m_keys.begin(), m_keys.end(), [next](const KeyCount& k) { return k.key == next; });
        if (it == m_keys.end()) {
            m_keys.append({next, 0, 0});
            it = m_keys.end() - 1;
        }
        ++it->expected;
        count = &*it;
    }
    if (m_cursor > length() || typed != m_codePoints[m_cursor - 1]) {
        if (count)
            ++count->missed;
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
    ++m_accepted;
    if (m_startMs < 0 && m_clock)
        m_startMs = m_clock->nowMs();
    return m_cursor > length() ? Result::Completed : Result::Accepted;
}

qint64 TypingAttempt::elapsedMs() const
{
    return started() && m_clock ? m_clock->nowMs() - m_startMs : 0;
}

AttemptRecord TypingAttempt::figures() const
{
    AttemptRecord record;
    record.durationMs = elapsedMs();
    record.accepted = m_accepted;
    record.misses = m_misses;
    record.keys = m_keys;
    return record;
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
