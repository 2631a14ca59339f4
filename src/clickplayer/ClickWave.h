#pragma once

#include <QList>

namespace morvela {

// The click the module carries, as mono samples at an output's `rate`, at
// the metronome's volume; empty if it cannot be read.
QList<float> ClickWaveAt(int rate);

} // namespace morvela
