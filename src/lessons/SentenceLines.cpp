#include "lessons/SentenceLines.h"

namespace morvela {

LinesAttempt::Step SentenceLines::type(int line, char32_t typed)
{
    if (line != m_attempt.line())
        return LinesAttempt::Step::Refused;
    return m_attempt.type(typed);
}

ScreenEffects SentenceLines::fromTheStart()
{
    restart();
    ScreenEffects effects;
    effects.clearBoxes = m_script.boxNames();
    effects.focus = firstBox();
    return effects;
}

ScreenEffects SentenceLines::toMenu()
{
    ScreenEffects effects;
    effects.close = true;
    return effects;
}

} // namespace morvela
