#pragma once

#include "core/TypingAttempt.h"

#include <QString>

namespace morvela {

// How a key is named to the learner: the character itself, or the name of
// a key that prints nothing ("スペース").
QString KeyCaption(char32_t c);

// The line under a page's judgement that names the keys missed most, e.g.
// "よく間違えたキー：［f］３回、［;］２回"; empty when nothing was missed.
QString MostMissedLine(const QList<MissTally>& most);

} // namespace morvela
