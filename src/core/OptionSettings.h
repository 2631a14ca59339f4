#pragma once

#include <QString>

#include <array>

namespace morvela {

// Settings derived from OptionCode, kept in memory only.
struct DerivedSettings {
    // Metronome interval in ms of speed levels 1 (slowest) to 5 (fastest).
    // They start at the normal speed, so an unknown OptionCode never leaves
    // the metronome at 0 ms.
    std::array<int, 5> RhythmInterval{1300, 1000, 800, 600, 500};
    std::array<QString, 6> WordList; // drill lines of Lesson 6
};

// Intervals from the tempo table when the code is 1 to 6 (else unchanged);
// word lists with half-width spaces when the code is above 3.
void ApplyOptionCode(DerivedSettings& settings, double optionCode);

} // namespace morvela
