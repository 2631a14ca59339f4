#pragma once

#include "core/LinesAttempt.h"
#include "core/ScreenEffects.h"
#include "core/TypingAttempt.h"

namespace morvela {

// How every typing screen answers a character offered to its box: it goes
// in unless the attempt refuses it, and the character that completes the
// text brings the screen's verdict, `completed()`, as its effects.

// A box of one text (the rhythm and word drills, the home-row drill).
template<typename Completed>
KeyOutcome OfferToText(TypingAttempt& attempt, char32_t typed, Completed&& completed)
{
    KeyOutcome outcome;
    const TypingAttempt::Result result = attempt.type(typed);
    outcome.accepted = result != TypingAttempt::Result::Refused;
    if (result == TypingAttempt::Result::Completed)
        outcome.effects = completed();
    return outcome;
}

// The box of `line` on a screen of several lines (a LinesAttempt or a
// TimedLinesAttempt); the outcome's line is the one whose turn it is after
// the verdict.
template<typename Attempt, typename Completed>
KeyOutcome OfferToLines(Attempt& attempt, int line, char32_t typed, Completed&& completed)
{
    KeyOutcome outcome;
    const LinesAttempt::Step step = attempt.type(line, typed);
    outcome.accepted = step != LinesAttempt::Step::Refused;
    if (step == LinesAttempt::Step::AllDone)
        outcome.effects = completed();
    outcome.line = attempt.line();
    return outcome;
}

} // namespace morvela
