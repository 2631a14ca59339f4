#include "app/Options.h"

namespace morvela {

OptionChoice OptionChoiceFor(double optionCode)
{
    OptionChoice choice;
    choice.halfWidthSpaces = optionCode >= 4;
    for (int code = 1; code <= 6; ++code) {
        if (optionCode == code)
            choice.speed = (code - 1) % 3 + 1;
    }
    return choice;
}

ScreenEffects ConfirmOptions(AppState& state, const OptionChoice& choice)
{
    if (choice.speed >= 1 && choice.speed <= 3)
        state.progress.setOptionCode(choice.speed + (choice.halfWidthSpaces ? 3 : 0));
    if (choice.clearRecords)
        state.progress.clearPracticeRecords();
    ApplyOptionCode(state.settings, state.progress.optionCodeValue());
    ScreenEffects effects;
    effects.save = true; // a failure is shown; the new settings stay in effect
    effects.close = true;
    return effects;
}

} // namespace morvela
