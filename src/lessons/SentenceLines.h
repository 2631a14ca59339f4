#pragma once

#include "core/ScreenEffects.h"
#include "lessons/SentenceScripts.h"

namespace morvela {

// What the sentence screens (Lessons 7 and 8, the graduation exam) do with
// their boxes; the lines themselves are one attempt (LinesAttempt), typed
// one after another, each into its own box.

// A new attempt from the start: every box emptied, the focus in the first.
ScreenEffects SentenceBoxesEmptied(const SentenceScript& script);

// Closing the screen by "目次へ" saves nothing.
ScreenEffects LeaveSentenceScreen();

} // namespace morvela
