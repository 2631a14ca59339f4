#pragma once

#include <QtGlobal>

namespace morvela {

// When a metronome's tick was due, from when its timer got round to it. A
// precise timer's ticks lie on a grid of its interval from its start; each
// fires on its point or a little after, by however long the event loop was
// busy. The click belongs on the point, so the beat heard stays even.
class BeatGrid {
public:
    // The due time of a tick that fired at `firedNs` of a beat every
    // `beatNs`. A new beat, a restart or a tick far off the grid starts a
    // new grid at this tick.
    qint64 due(qint64 firedNs, qint64 beatNs);

private:
    qint64 m_beatNs = 0;
    qint64 m_originNs = 0;
    qint64 m_lastNs = 0;
};

} // namespace morvela
