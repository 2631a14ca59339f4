#include "lessons/SentenceLines.h"

namespace morvela {

ScreenEffects SentenceBoxesEmptied(const SentenceScript& script)
{
    ScreenEffects effects;
    effects.clearBoxes = script.boxNames();
    effects.focus = script.boxName(0);
    return effects;
}

ScreenEffects LeaveSentenceScreen()
{
    ScreenEffects effects;
    effects.close = true;
    return effects;
}

} // namespace morvela
