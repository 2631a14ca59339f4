#pragma once

#include <QIODevice>
#include <QList>

#include <deque>
#include <functional>
#include <vector>

namespace morvela {

// The metronome's sound as one endless stream: silence, with a click placed
// at the frame where each tick falls. The audio output pulls the stream as
// it needs it; a click's frame follows from the tick's time on the steady
// clock, so the beat heard is as even as the ticks, however late or in
// whatever pieces the output happens to ask.
//
// Where a tick falls: the output keeps a buffer ahead of what it plays. After
// each pull the track notes how far its last frame runs ahead of the steady
// clock; a click goes just past the furthest of the recent pulls, so it is
// never inside what was already handed over. That offset is kept from tick
// to tick, and only moved when the output's buffer clearly changed (it
// started late, ran dry, holds more, or its clock drifts), so the intervals
// between clicks stay those between the ticks.
class ClickTrack : public QIODevice {
public:
    enum class SampleType { UInt8, Int16, Int32, Float };
    struct Format {
        int sampleRate = 48000;
        int channels = 1;
        SampleType sample = SampleType::Int16;
        int bytesPerFrame() const;
    };
    using NowNs = std::function<qint64()>;
    // A click goes this far past the furthest recent pull, so a refill
    // larger than the recent ones (a period more) does not overtake it.
    static constexpr qint64 MarginNs = 25'000'000;

    // `click` is mono, at the format's rate, already at its volume.
    ClickTrack(const Format& format, QList<float> click, NowNs now = &steadyNs, QObject* parent = nullptr);

    // Places the click of a tick at `tickNs` on the steady clock; returns the
    // frame where it starts.
    qint64 click(qint64 tickNs);

    const Format& format() const { return m_format; }
    qint64 framesWritten() const { return m_written; }

    // Nanoseconds on the monotonic clock the ticks are timed with.
    static qint64 steadyNs();

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    struct Pull {
        qint64 ns;
        double lead; // frames written past the steady clock's frame
    };
    double clockFrames(qint64 ns) const;
    bool stalled(qint64 ns) const;
    double recentLead(qint64 ns) const;
    void encode(char* out, qint64 frames) const;

    Format m_format;
    QList<float> m_click;
    NowNs m_now;
    qint64 m_epochNs;
    qint64 m_written = 0;
    std::deque<Pull> m_pulls;
    std::vector<float> m_mix;
    std::deque<qint64> m_pending; // start frames of clicks not yet fully written
    bool m_anchored = false;
    bool m_guessed = false; // the offset was set while the output did not pull
    bool m_lowering = false;
    double m_offset = 0; // click frame = clock frame of the tick + offset
    qint64 m_lastTickNs = 0;
};

} // namespace morvela
