#pragma once

#include <QFont>

class QApplication;
class QPaintDevice;

namespace morvela {

// Japanese text renders with Japanese glyph forms, not the Chinese ones a
// bare fallback may pick.
void ApplyJapaneseFont(QApplication& app);

// The fixed-pitch font of the drill lines: a full-width character is exactly
// two half-width ones wide, so typed text stands under the text it answers.
// Screens use AlignedDrillFont, which checks that promise where it is drawn.
QFont DrillFont(qreal pointSize = 13.5);

// Whether `font` keeps that promise on this machine, drawn on `drawnOn`
// (measured on its own when there is none).
bool FullWidthIsTwoHalfWidths(const QFont& font, const QPaintDevice* drawnOn = nullptr);

// The drill font in a size near `pointSize` where it keeps the promise on
// `drawnOn`, the window that shows the lines: every screen that sets typed
// text under drill text uses this one. Points are turned into pixels at the
// resolution of that window, because a font measured on its own may take
// another one (Qt on Wayland resolves it at the output's physical 100 dpi
// while its widgets draw at 96). The font returned has a pixel size, so it
// measures the same wherever it goes.
QFont AlignedDrillFont(const QPaintDevice* drawnOn, qreal pointSize = 15);

} // namespace morvela
