#pragma once

#include "core/ClickTrackDrift.h"
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
// Where a frame is heard follows from the output's own reports of what it
// has played (`played`), which place frame 0 on the steady clock. The stream
// is anchored once, when its first click is placed, and tick k goes to the
// anchor plus k beats in frames, so the beat heard is as even as the beat
// given. A sound server may report in whole blocks of tens of milliseconds,
// so reports only move the anchor through a line fitted to many of them
// (ClickTrackDrift), and then by no more than needed, a little at each
// click: an output whose clock runs off the steady clock is followed
// without a step anyone hears. The anchor is laid anew, or moved at once,
// only where the stream really broke: it ran dry, it is a new stream, its
// reports stay far off it, or the nearest of them moved (it slipped).
class ClickTrack : public QIODevice {
public:
    enum class SampleType { UInt8, Int16, Int32, Float };
    struct Format {
        int sampleRate = 48000;
        int channels = 1;
        SampleType sample = SampleType::Int16;
        int bytesPerFrame() const;
    };
    // The anchor moves only once the reports' line lies further from it
    // than this, or than twice the line's own uncertainty: less is the
    // reports' wobble, and the beat stays exactly even.
    static constexpr qint64 DeadbandNs = 1'000'000;
    // The most it moves at one click: 2 ms in a second of beat (at least a
    // quarter of a millisecond), too little to hear, enough to follow an
    // output whose clock runs that far from the steady clock.
    static qint64 maxSlewNs(qint64 beatNs) { return std::max<qint64>(250'000, beatNs / 500); }
    // Reports further than this from the anchor, all to one side, for at
    // least BreakPersistNs and two reports, are the output's timeline having
    // moved (it ran dry unannounced, or started late): the stream is
    // anchored anew. More than the largest block a sound server reports in.
    static constexpr qint64 BreakNs = 100'000'000;
    static constexpr qint64 BreakPersistNs = 1'000'000'000;
    // A server that reports in blocks puts every report within a block of
    // the stream's true place, and the nearest of many reports on it. When
    // the nearest of a window's reports has moved by more than SlipNs from
    // where the nearest lay before, the stream slipped (a block of silence
    // it never announced as running dry): the anchor moves with it.
    static constexpr qint64 SlipWindowNs = 1'500'000'000;
    static constexpr qint64 SlipNs = 20'000'000;

    // The index of a beat's first tick after `nowNs`: 0 while the first
    // tick is still ahead.
    static qint64 nextTickAfter(qint64 nowNs, qint64 firstTickNs, qint64 beatNs);

    // `click` is mono, at the format's rate, already at its volume. Ticks
    // and the output's reports are placed on `clock`.
    ClickTrack(const Format& format, QList<float> click, const BeatClock& clock, QObject* parent = nullptr);

    // The output's report: by `atNs` (by now, where not given) it has
    // played `playedFrames` of this stream (0 before it starts).
    void played(qint64 playedFrames);
    void played(qint64 playedFrames, qint64 atNs);
    // The output ran dry: where its frames are heard is not known until it
    // reports again.
    void underflow();

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

    // Whether the output has said where its frames are heard.
    bool placed() const { return m_placed; }
    // The steady time at which frame 0 is heard, as clicks are placed now.
    double anchorNs() const { return m_zeroNs; }

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
    // The anchor as the next click goes: moved toward the reports' line
    // where that lies beyond its own uncertainty.
    double correctedZero(qint64 nowNs) const;
    void placeClicks(qint64 end);
    void unplace();
    void watchBreaks(double zeroNs, qint64 atNs);
    void encode(char* out, qint64 frames) const;

    Format m_format;
    QList<float> m_click;
    const BeatClock& m_clock;
    qint64 m_written = 0;
    std::vector<float> m_mix;
    std::deque<qint64> m_pending; // start frames of clicks not yet fully written

    // Frame 0 is heard at m_zeroNs, the anchor the clicks are placed from.
    // It follows the reports until it places a click (m_anchored), then
    // only the line through them.
    bool m_placed = false;
    bool m_anchored = false;
    double m_zeroNs = 0;
    ClickTrackDrift m_reports;
    // Reports far off the anchor on one side (+1 or -1), since when.
    int m_breakSide = 0;
    int m_breakReports = 0;
    qint64 m_breakSinceNs = 0;
    // The reports' nearest to the anchor in the window since m_windowStartNs,
    // and in the first window after the anchor was laid.
    int m_windowReports = 0;
    qint64 m_windowStartNs = 0;
    double m_windowNearestNs = 0;
    bool m_nearestKnown = false;
    double m_nearestNs = 0;
    // Before a stream reports, its frames are taken as heard when handed
    // over, plus how much later the stream before was heard than that:
    // the server's latency, learnt from its reports.
    double m_startGuessNs = 0; // of this stream, when it was first fed
    bool m_guessing = false;
    bool m_guessed = false; // the stream is placed by that guess
    double m_startLatencyNs = 0;

    qint64 m_firstTickNs = 0;
    qint64 m_beatNs = 0; // 0: no beat
    qint64 m_nextTick = 0; // index of the next tick not yet placed
    qint64 m_lastPlacedTickNs = 0;
    bool m_anyPlaced = false;
};

} // namespace morvela
