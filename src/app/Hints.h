#pragma once

#include <QString>

#include <array>

namespace morvela {

// One page of input hints: its window title and its twelve lines, one per
// label (an empty line is an empty label).
struct HintPage {
    QString title;
    std::array<QString, 12> lines;
};

// Hints 1 to 10 at [0] to [9].
const std::array<HintPage, 10>& HintPages();

// Hint 5 recommends a clipboard tool and offers its download page.
constexpr int ToolHint = 5;

} // namespace morvela
