#include "ui/ClickTrack.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace morvela {

namespace {

constexpr qint64 Ms = 1'000'000;
// The pulls of the last second show how far ahead the output keeps its
// buffer: a sound server refills it every 10 to 120 ms, in bursts of
// varying size.
constexpr qint64 PullHistory = 1000 * Ms;
// No pull for this long: the output had stopped (a stream's start, or the
// machine too busy to feed it), and what it did before says nothing now.
constexpr qint64 Stalled = 250 * Ms;
// The offset comes down to the buffer only when it is this much too far
// ahead: less is the refills' own jitter, which must not reach the beat.
constexpr qint64 LowerBeyond = 20 * Ms;
// It comes down by this much a tick, too little to hear, instead of in one
// jump that shortens a single beat.
constexpr qint64 LowerPerTick = 1 * Ms;
// After this long without a tick there is no beat to keep even: the next
// click takes the offset the output has now.
constexpr qint64 FreshBeat = 2000 * Ms;

} // namespace

int ClickTrack::Format::bytesPerFrame() const
{
    const int bytes = sample == SampleType::UInt8 ? 1 : sample == SampleType::Int16 ? 2 : 4;
    return bytes * channels;
}

ClickTrack::ClickTrack(const Format& format, QList<float> click, NowNs now, QObject* parent)
    : QIODevice(parent), m_format(format), m_click(std::move(click)), m_now(std::move(now)), m_epochNs(m_now())
{
    // Unbuffered: a read-ahead inside QIODevice would hand the output frames
    // before their clicks are known.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 ClickTrack::steadyNs()
{
    return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
}

double ClickTrack::clockFrames(qint64 ns) const
{
    return double(ns - m_epochNs) * m_format.sampleRate / 1e9;
}

bool ClickTrack::stalled(qint64 ns) const
{
    return m_pulls.empty() || ns - m_pulls.back().ns > Stalled;
}

double ClickTrack::recentLead(qint64 ns) const
{
    // Stalled, or not started: the next frame the output asks for is the
    // soonest a click can sound.
    if (stalled(ns))
        return double(m_written) - clockFrames(ns);
    double lead = m_pulls.front().lead;
    for (const Pull& p : m_pulls)
        lead = std::max(lead, p.lead);
    return lead;
}

qint64 ClickTrack::click(qint64 tickNs)
{
    const double perNs = m_format.sampleRate / 1e9;
    const bool guess = stalled(m_now());
    const double wanted = recentLead(tickNs) + double(MarginNs) * perNs;
    // The last offset was a guess while the output did not pull: now that
    // it does, the beat can begin properly.
    if (!m_anchored || tickNs - m_lastTickNs > FreshBeat || (m_guessed && !guess)) {
        m_offset = wanted;
        m_lowering = false;
    } else {
        const double excess = m_offset - wanted;
        if (excess > double(LowerBeyond) * perNs)
            m_lowering = true;
        if (m_lowering) {
            m_offset -= std::clamp(excess, 0.0, double(LowerPerTick) * perNs);
            m_lowering = excess > double(LowerPerTick) * perNs;
        }
    }
    // Up it goes only when the output now holds past where an on-time click
    // would go: a single large refill that overtakes no click must not move
    // the beat.
    const double leadNow = double(m_written) - clockFrames(m_now());
    if (leadNow > m_offset)
        m_offset = leadNow + double(MarginNs) * perNs;
    m_anchored = true;
    m_guessed = guess;
    m_lastTickNs = tickNs;

    // A tick that comes after its frame was handed over (the window was
    // busy) sounds as soon as it can.
    const qint64 frame = std::max(qint64(std::llround(clockFrames(tickNs) + m_offset)), m_written);
    m_pending.insert(std::upper_bound(m_pending.begin(), m_pending.end(), frame), frame);
    return frame;
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
    m_mix.assign(size_t(frames), 0.0f);
    const qint64 end = m_written + frames;
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

    const qint64 now = m_now();
    if (stalled(now))
        m_pulls.clear();
    m_pulls.push_back({now, double(m_written) - clockFrames(now)});
    while (m_pulls.front().ns < now - PullHistory)
        m_pulls.pop_front();
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
