#pragma once

// Typing a text into an engine as a learner would: each character in turn,
// with a number of wrong ones in between.

#include "core/ScreenEffects.h"

#include <QString>

namespace morvela::test {

// A character no text ever expects: Backspace.
constexpr char32_t WrongKey = 0x08;

// Types `text` through `key` (a callable taking a char32_t and returning a
// KeyOutcome), with `misses` wrong keys before the first characters.
// Returns the outcome of the last character.
template <class Key>
KeyOutcome TypeText(const QString& text, int misses, Key&& key)
{
    KeyOutcome last;
    for (; misses > 0; --misses)
        last = key(WrongKey);
    for (const char32_t c : text.toUcs4())
        last = key(c);
    return last;
}

} // namespace morvela::test
