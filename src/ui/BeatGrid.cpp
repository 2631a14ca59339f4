#include "ui/BeatGrid.h"

#include <algorithm>
#include <cmath>

namespace morvela {

qint64 BeatGrid::due(qint64 firedNs, qint64 beatNs)
{
    // Later than this is no longer the event loop's delay but a timer
    // started anew; a gap of more than a beat and a half means a stop.
    const qint64 tolerance = std::min<qint64>(20'000'000, beatNs / 4);
    if (beatNs == m_beatNs && beatNs > 0 && firedNs - m_lastNs < beatNs + beatNs / 2) {
        const qint64 n = std::llround(double(firedNs - m_originNs) / double(beatNs));
        const qint64 point = m_originNs + n * beatNs;
        if (n > 0 && std::abs(firedNs - point) < tolerance) {
            m_lastNs = firedNs;
            return point;
        }
    }
    m_beatNs = beatNs;
    m_originNs = firedNs;
    m_lastNs = firedNs;
    return firedNs;
}

} // namespace morvela
