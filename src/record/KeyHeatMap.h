#pragma once

#include "record/RecordFigures.h"
#include "ui/PictureBox.h"

namespace morvela {

// Error rates at or above this show in the strongest colour.
inline constexpr double HeatFullRate = 0.2;

// The colour of a key missed at `rate`: green for none, through yellow, to
// red at HeatFullRate; translucent, so the key's legend shows through.
QColor HeatColour(double rate);

// The keyboard picture washed out, each key that was expected coloured by
// its error rate (the last fill of a key is its heat).
QList<KeyOverlay> HeatFills(const QList<KeyHeat>& heats);

} // namespace morvela
