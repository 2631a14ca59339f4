#include "core/ClickTrack.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace morvela {

int ClickTrack::Format::bytesPerFrame() const
{
    const int bytes = sample == SampleType::UInt8 ? 1 : sample == SampleType::Int16 ? 2 : 4;
    return bytes * channels;
}

ClickTrack::ClickTrack(const Format& format, QList<float> click, const BeatClock& clock, QObject* parent)
    : QIODevice(parent), m_format(format), m_click(std::move(click)), m_clock(clock)
{
    // Unbuffered: a read-ahead inside QIODevice would hand the output frames
    // before their clicks are known.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void ClickTrack::played(qint64 playedFrames)
{
    played(playedFrames, m_clock.nowNs());
}

void ClickTrack::played(qint64 playedFrames, qint64 atNs)
{
    if (playedFrames <= 0)
        return;
    const double zero = double(atNs) - double(playedFrames) * 1e9 / m_format.sampleRate;
    if (m_anchored)
        watchBreaks(zero, atNs);
    m_reports.add(double(atNs), zero);
    m_placed = true;
    if (!m_anchored)
        m_zeroNs = m_reports.zeroAt(double(m_clock.nowNs()));
}

void ClickTrack::watchBreaks(double zeroNs, qint64 atNs)
{
    const double off = zeroNs - m_zeroNs;
    const int side = std::abs(off) <= double(BreakNs) ? 0 : off > 0 ? 1 : -1;
    if (side == 0 || side != m_breakSide) {
        m_breakSide = side;
        m_breakReports = 0;
        m_breakSinceNs = atNs;
    }
    if (side != 0 && ++m_breakReports >= 2 && atNs - m_breakSinceNs >= BreakPersistNs) {
        unplace();
        return;
    }

    if (m_windowReports == 0) {
        m_windowStartNs = atNs;
        m_windowNearestNs = off;
    }
    m_windowNearestNs = std::min(m_windowNearestNs, off);
    if (++m_windowReports < 4 || atNs - m_windowStartNs < SlipWindowNs)
        return;
    m_windowReports = 0;
    if (!m_nearestKnown) {
        m_nearestKnown = true;
        m_nearestNs = m_windowNearestNs;
    } else if (std::abs(m_windowNearestNs - m_nearestNs) > double(SlipNs)) {
        // The line through the reports before the slip would pull the
        // anchor back: it starts again from the reports after it.
        m_zeroNs += m_windowNearestNs - m_nearestNs;
        m_reports.clear();
    }
}

void ClickTrack::underflow()
{
    unplace();
}

void ClickTrack::unplace()
{
    m_reports.clear();
    m_placed = false;
    m_anchored = false;
    m_breakSide = 0;
    m_breakReports = 0;
    m_windowReports = 0;
    m_nearestKnown = false;
    m_guessing = false;
    m_guessed = false;
}

bool ClickTrack::beat(qint64 firstTickNs, qint64 beatNs)
{
    const bool earlierBeatHeardLater = !stop();
    m_firstTickNs = firstTickNs;
    m_beatNs = std::max<qint64>(beatNs, 1);
    m_nextTick = nextTickAfter(m_clock.nowNs(), m_firstTickNs, m_beatNs);
    const bool nextTickLate = m_placed && frameOf(tickAt(m_nextTick)) < m_written;
    return !earlierBeatHeardLater && !nextTickLate;
}

bool ClickTrack::stop()
{
    m_beatNs = 0;
    while (!m_pending.empty() && m_pending.back() >= m_written)
        m_pending.pop_back();
    return !(m_anyPlaced && m_lastPlacedTickNs > m_clock.nowNs());
}

void ClickTrack::restart()
{
    m_written = 0;
    m_pending.clear();
    unplace();
    m_anyPlaced = false;
    m_nextTick = 0;
    if (m_beatNs > 0) // the beat goes on from its next tick in the new stream
        m_nextTick = nextTickAfter(m_clock.nowNs(), m_firstTickNs, m_beatNs);
}

qint64 ClickTrack::nextTickAfter(qint64 nowNs, qint64 firstTickNs, qint64 beatNs)
{
    // Division truncates toward zero: a first tick still ahead would count
    // as past.
    if (nowNs < firstTickNs)
        return 0;
    return (nowNs - firstTickNs) / beatNs + 1;
}

qint64 ClickTrack::frameOf(qint64 tickNs) const
{
    return std::llround((double(tickNs) - m_zeroNs) * m_format.sampleRate / 1e9);
}

double ClickTrack::correctedZero(qint64 nowNs) const
{
    if (!m_anchored || !m_reports.lineKnown())
        return m_zeroNs;
    const double off = m_reports.zeroAt(double(nowNs)) - m_zeroNs;
    const double band = std::max(double(DeadbandNs), 2 * m_reports.uncertaintyAt(double(nowNs)));
    if (std::abs(off) <= band)
        return m_zeroNs;
    // Only as far as the band's edge: a clock that runs off moves the
    // anchor by its own small amount at each click.
    const double slew = double(maxSlewNs(m_beatNs));
    return m_zeroNs + std::clamp(off > 0 ? off - band : off + band, -slew, slew);
}

void ClickTrack::placeClicks(qint64 end)
{
    const qint64 now = m_clock.nowNs();
    if (!m_placed && !m_guessed) {
        // The output has not said where it is: take what is handed over now
        // as heard now, the soonest it can be (a stream starting, or one
        // that ran dry and played all it had), but for the latency the
        // stream before it showed, until it says. Once: what is handed over
        // later queues behind it.
        m_zeroNs = double(now) - double(m_written) * 1e9 / m_format.sampleRate + m_startLatencyNs;
        m_guessed = true;
        if (m_written == 0) {
            m_startGuessNs = m_zeroNs - m_startLatencyNs;
            m_guessing = true;
        }
    }
    while (m_beatNs > 0) {
        const qint64 tick = tickAt(m_nextTick);
        const double zero = correctedZero(now);
        const qint64 frame = std::llround((double(tick) - zero) * m_format.sampleRate / 1e9);
        if (frame >= end)
            break;
        m_zeroNs = zero;
        if (m_placed && !m_anchored && m_guessing) {
            m_startLatencyNs = std::clamp(zero - m_startGuessNs, 0.0, double(BreakNs));
            m_guessing = false;
        }
        m_anchored = m_placed;
        // A tick whose frame was already handed over sounds as soon as it can.
        m_pending.push_back(std::max(frame, m_written));
        m_lastPlacedTickNs = tick;
        m_anyPlaced = true;
        ++m_nextTick;
    }
}

qint64 ClickTrack::bytesAvailable() const
{
    // Endless: a second's worth at any moment.
    return qint64(m_format.sampleRate) * m_format.bytesPerFrame() + QIODevice::bytesAvailable();
}

qint64 ClickTrack::readData(char* data, qint64 maxSize)
{
    const qint64 frames = maxSize / m_format.bytesPerFrame();
    if (frames <= 0)
        return 0;
    const qint64 end = m_written + frames;
    placeClicks(end);
    m_mix.assign(size_t(frames), 0.0f);
    const qint64 length = m_click.size();
    for (qint64 start : m_pending) {
        if (start >= end)
            break;
        const qint64 from = std::max(start, m_written);
        const qint64 to = std::min(start + length, end);
        for (qint64 f = from; f < to; ++f)
            m_mix[size_t(f - m_written)] += m_click[f - start];
    }
    while (!m_pending.empty() && m_pending.front() + length <= end)
        m_pending.pop_front();
    encode(data, frames);
    m_written = end;
    return frames * m_format.bytesPerFrame();
}

void ClickTrack::encode(char* out, qint64 frames) const
{
    const int channels = m_format.channels;
    for (qint64 f = 0; f < frames; ++f) {
        const float x = std::clamp(m_mix[size_t(f)], -1.0f, 1.0f);
        for (int c = 0; c < channels; ++c) {
            switch (m_format.sample) {
            case SampleType::UInt8:
                *reinterpret_cast<quint8*>(out) = quint8(std::lround(128 + x * 127));
                out += 1;
                break;
            case SampleType::Int16: {
                const qint16 v = qint16(std::lround(x * 32767));
                std::memcpy(out, &v, 2);
                out += 2;
                break;
            }
            case SampleType::Int32: {
                const qint32 v = qint32(std::llround(double(x) * 2147483647.0));
                std::memcpy(out, &v, 4);
                out += 4;
                break;
            }
            case SampleType::Float:
                std::memcpy(out, &x, 4);
                out += 4;
                break;
            }
        }
    }
}

} // namespace morvela
