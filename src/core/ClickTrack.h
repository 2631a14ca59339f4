#pragma once

#include "core/Clock.h"

#include <QIODevice>
#include <QList>

#include <algorithm>
#include <deque>
#include <vector>

namespace morvela {

// The metronome's sound as one endless stream: silence, with a click at the
// frame where each tick of the beat is heard. The beat is known ahead (it
// starts at a time and keeps its interval until it stops), so each click is
// written into the stream before its tick, however far ahead the output
// keeps its buffer: a deep buffer keeps a busy machine from running the
// output dry, and the click still sounds on the tick, not a buffer later.
//
// Where a frame is heard follows from the output's own account of what it
// has played (`played`), which places frame 0 on the steady clock. That
// placing is smoothed and moved only a little at each click, so the
// output's jitter never reaches the intervals between clicks; a jump (the
// output ran dry or started late) is taken at once.
class ClickTrack : public QIODevice {
public:
    enum class SampleType { UInt8, Int16, Int32, Float };
    struct Format {
        int sampleRate = 48000;
        int channels = 1;
        SampleType sample = SampleType::Int16;
        int bytesPerFrame() const;
    };
    // The placing of frame 0 follows the output's account only once they
    // differ by more than this: less is the account's own wobble, and the
    // beat stays exactly even.
    static constexpr qint64 DeadbandNs = 1'000'000;
    // The most it moves at one click: 2 ms in a second of beat (at least a
    // quarter of a millisecond), too little to hear, enough to follow an
    // output whose clock runs that far from the steady clock (a sound
    // server matching rates does).
    static qint64 maxSlewNs(qint64 beatNs) { return std::max<qint64>(250'000, beatNs / 500); }
    // A change larger than this is the output's timeline having moved (it
    // ran dry, or started late): taken at once.
    static constexpr qint64 JumpNs = 30'000'000;

    // `click` is mono, at the format's rate, already at its volume. Ticks
    // and the output's reports are placed on `clock`.
    ClickTrack(const Format& format, QList<float> click, const BeatClock& clock, QObject* parent = nullptr);

    // The output's report: by now it has played `playedFrames` of this
    // stream (0 before it starts).
    void played(qint64 playedFrames);

    // A beat with ticks at `firstTickNs` and every `beatNs` after it, until
    // stop(); it takes the place of any beat before it. Ticks already past
    // (a stream that opened after its beat began) are not sounded: the beat
    // goes on from its next tick. Returns false when this stream cannot
    // sound it as it should: a click of the beat before was handed over for
    // after now, or the next tick's frame is gone.
    bool beat(qint64 firstTickNs, qint64 beatNs);
    // No tick from now on. Returns false when a click of a later tick was
    // already handed to the output: only a new stream takes it back.
    bool stop();
    // The output opened a new stream: nothing is handed over yet, and where
    // its frames are heard is not known until it reports.
    void restart();

    // The steady time at which frame 0 is heard; false before the output
    // has played anything.
    bool placed() const { return m_placed; }

    const Format& format() const { return m_format; }
    qint64 framesWritten() const { return m_written; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // Where the click of a tick at `tickNs` goes by the present placing.
    qint64 frameOf(qint64 tickNs) const;
    qint64 tickAt(qint64 index) const { return m_firstTickNs + index * m_beatNs; }
    // The index of the beat's first tick after `nowNs`.
    qint64 nextTickAfter(qint64 nowNs) const;
    void placeClicks(qint64 end);
    void encode(char* out, qint64 frames) const;

    Format m_format;
    QList<float> m_click;
    const BeatClock& m_clock;
    qint64 m_written = 0;
    std::vector<float> m_mix;
    std::deque<qint64> m_pending; // start frames of clicks not yet fully written

    // Frame 0 is heard at m_zeroNs (used for placing) and, by the output's
    // latest reports, at m_reportedZeroNs.
    bool m_placed = false;
    double m_zeroNs = 0;
    double m_reportedZeroNs = 0;

    qint64 m_firstTickNs = 0;
    qint64 m_beatNs = 0; // 0: no beat
    qint64 m_nextTick = 0; // index of the next tick not yet placed
    qint64 m_lastPlacedTickNs = 0;
    bool m_anyPlaced = false;
};

} // namespace morvela
