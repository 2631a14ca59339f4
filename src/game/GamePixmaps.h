#pragma once

#include <QPixmap>

namespace morvela {

// The game's pictures, drawn at build time and built into the program:
// "background" (539 x 414), "beam" (11 x 402), "explosion" (84 x 44), in
// those sizes whatever the screen. On a screen of more than one device
// pixel to the pixel the twice-as-large drawing is given, carrying its
// ratio, so the pictures are as sharp as the text.
QPixmap GamePixmap(const QString& name, qreal devicePixelRatio = 1.0);

} // namespace morvela
