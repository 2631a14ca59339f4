#include "clickplayer/ClickWave.h"

#include "core/ClickSamples.h"

#include <QFile>

namespace morvela {

namespace {

constexpr float Volume = 0.8f;

} // namespace

QList<float> ClickWaveAt(int rate)
{
    QFile file(QStringLiteral(":/morvela/click.wav"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    int wavRate = 0;
    QList<float> click = ClickSamples::fromWav(file.readAll(), &wavRate);
    for (float& s : click)
        s *= Volume;
    return ClickSamples::resampled(click, wavRate, rate);
}

} // namespace morvela
