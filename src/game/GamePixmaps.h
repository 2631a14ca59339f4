#pragma once

#include <QPixmap>

namespace morvela {

// The game's pictures, drawn at build time and built into the program:
// "background" (539 x 414), "beam" (11 x 402), "explosion" (84 x 44).
QPixmap GamePixmap(const QString& name);

} // namespace morvela
