#pragma once

#include "core/AppState.h"
#include "core/ScreenEffects.h"

namespace morvela {

// What the options dialog shows and the learner chooses. OptionCode holds
// both settings: the speed (1 to 3), plus 3 when the word lines of the
// conversion drill use half-width spaces.
struct OptionChoice {
    int speed = 0;              // Option1..Option3; 0 = none selected
    bool halfWidthSpaces = false; // Check2 "全角ｽﾍﾟｰｽを使わない"
    bool clearRecords = false;  // Check1 "練習記録をクリヤする", never ticked on opening

    friend bool operator==(const OptionChoice&, const OptionChoice&) = default;
};

// The dialog's controls when it opens for `optionCode`. A code outside 1 to
// 6 selects no speed.
OptionChoice OptionChoiceFor(double optionCode);

// OK: the code from the choice (kept as it is when no speed is selected),
// the records cleared when asked, the intervals and word lists derived
// anew; the record is saved and the dialog closes.
ScreenEffects ConfirmOptions(AppState& state, const OptionChoice& choice);

} // namespace morvela
