#pragma once

#include <QByteArray>
#include <QList>

namespace morvela {

// The click's samples for an output: read from its WAV file and brought to
// the output's rate and volume.
struct ClickSamples {
    // Mono samples of a 16-bit PCM WAV file (its first channel), in -1..1,
    // and its rate; empty when the file is not one.
    static QList<float> fromWav(const QByteArray& wav, int* sampleRate);
    // Linear interpolation is plenty for a 30 ms click.
    static QList<float> resampled(const QList<float>& samples, int fromRate, int toRate);
};

} // namespace morvela
