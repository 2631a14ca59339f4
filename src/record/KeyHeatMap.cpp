#include "record/KeyHeatMap.h"

#include <algorithm>

namespace morvela {

QColor HeatColour(double rate)
{
    const double t = std::clamp(rate / HeatFullRate, 0.0, 1.0);
    // Hue 120 (green) down to 0 (red).
    return QColor::fromHsvF(float((1 - t) / 3), 0.85f, 0.95f, 0.55f);
}

QList<KeyOverlay> HeatFills(const QList<KeyHeat>& heats)
{
    // The fingers' colours washed out first, so that only the heat shows.
    QList<KeyOverlay> fills;
    for (const KeyCap& key : JisKeyboard::Keys())
        fills.append({&key, QColor(255, 255, 255, 170)});
    for (const KeyHeat& heat : heats)
        fills.append({heat.key, HeatColour(heat.rate())});
    return fills;
}

} // namespace morvela
