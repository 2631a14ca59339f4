#pragma once

#include <QFont>

class QApplication;

namespace morvela {

// Japanese text renders with Japanese glyph forms, not the Chinese ones a
// bare fallback may pick.
void ApplyJapaneseFont(QApplication& app);

// The fixed-pitch font of the drill lines: a full-width character is exactly
// two half-width ones wide, so typed text stands under the text it answers.
// Screens use AlignedDrillFont, which checks that promise on this machine.
QFont DrillFont(qreal pointSize = 13.5);

// Whether `font` keeps that promise on this machine.
bool FullWidthIsTwoHalfWidths(const QFont& font);

// The drill font in a size near `pointSize` where it keeps the promise here:
// every screen that sets typed text under drill text uses this one.
QFont AlignedDrillFont(qreal pointSize = 15);

} // namespace morvela
