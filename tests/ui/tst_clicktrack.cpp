// The metronome's stream: each click lands at the frame where its tick falls,
// whenever and in whatever pieces the output pulls, and the click file is
// read and brought to the output's rate.

#include "ui/ClickSamples.h"
#include "ui/ClickTrack.h"

#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace morvela;

namespace {

constexpr qint64 Ms = 1'000'000;

// An output as a sound server runs one: it starts playing at `startNs`,
// keeps `buffer` frames handed over ahead of what it plays, and refills
// every `period` (moved by up to `jitter`), except while it is stalled.
struct SimulatedOutput {
    SimulatedOutput(const ClickTrack::Format& f, qint64 bufferNs, qint64 periodNs, qint64 jitterNs = 0)
        : format(f), buffer(frames(bufferNs)), period(periodNs), jitter(jitterNs)
    {
    }

    qint64 frames(qint64 ns) const { return qint64(std::llround(double(ns) * format.sampleRate / 1e9)); }
    qint64 played(qint64 ns) const { return std::max<qint64>(0, frames(ns - startNs - stalledNs(ns))); }
    qint64 stalledNs(qint64 ns) const { return std::clamp<qint64>(ns - stallFrom, 0, stallTo - stallFrom); }
    bool stalled(qint64 ns) const { return ns >= stallFrom && ns < stallTo; }
    // When frame `f` reaches the speaker.
    qint64 heardNs(qint64 f) const
    {
        const qint64 ns = startNs + qint64(double(f) * 1e9 / format.sampleRate);
        return ns >= stallFrom ? ns + (stallTo - stallFrom) : ns;
    }

    void runUntil(qint64 ns)
    {
        while (nextPull <= ns) {
            now = nextPull;
            if (now >= growFrom) {
                buffer += frames(growNs);
                growFrom = std::numeric_limits<qint64>::max();
            }
            if (!stalled(now)) {
                qint64 want = played(now) + buffer - track.framesWritten();
                if (now >= extraFrom) { // one refill larger than the rest
                    want += frames(extraNs);
                    extraFrom = std::numeric_limits<qint64>::max();
                }
                if (want > 0)
                    pulled += track.read(want * format.bytesPerFrame());
            }
            ++pulls;
            nextPull = startNs + pulls * period + (pulls % 3 - 1) * jitter;
        }
        now = ns;
    }

    // The first frame at or after `from` that is not silent, in channel 0.
    qint64 onsetFrom(qint64 from) const
    {
        const int bpf = format.bytesPerFrame();
        for (qint64 f = from; (f + 1) * bpf <= pulled.size(); ++f) {
            if (sample(f, 0) != 0)
                return f;
        }
        return -1;
    }

    float sample(qint64 frame, int channel) const
    {
        const char* p = pulled.constData() + frame * format.bytesPerFrame();
        if (format.sample == ClickTrack::SampleType::Float)
            return qFromLittleEndian<float>(p + 4 * channel);
        return qFromLittleEndian<qint16>(p + 2 * channel) / 32768.0f;
    }

    ClickTrack::Format format;
    qint64 buffer;
    qint64 period;
    qint64 jitter;
    qint64 startNs = 20 * Ms;
    qint64 stallFrom = std::numeric_limits<qint64>::max();
    qint64 stallTo = std::numeric_limits<qint64>::max();
    qint64 extraFrom = std::numeric_limits<qint64>::max();
    qint64 extraNs = 0;
    qint64 growFrom = std::numeric_limits<qint64>::max();
    qint64 growNs = 0;
    qint64 now = 0;
    qint64 nextPull = startNs;
    qint64 pulls = 0;
    QByteArray pulled;
    ClickTrack track{format, QList<float>(64, 0.5f), [this] { return now; }};
};

QByteArray Wav(int channels, int bits, const QList<qint16>& samples, bool extraChunk)
{
    auto u16 = [](quint16 v) { QByteArray b(2, 0); qToLittleEndian(v, b.data()); return b; };
    auto u32 = [](quint32 v) { QByteArray b(4, 0); qToLittleEndian(v, b.data()); return b; };
    QByteArray data;
    for (qint16 s : samples)
        data += u16(quint16(s));
    QByteArray body = "WAVE";
    body += "fmt " + u32(16) + u16(1) + u16(quint16(channels)) + u32(44100) + u32(44100 * 2 * channels)
        + u16(quint16(2 * channels)) + u16(quint16(bits));
    if (extraChunk)
        body += "LIST" + u32(3) + QByteArray("abc") + QByteArray(1, 0); // odd size, padded
    body += "data" + u32(quint32(data.size())) + data;
    return "RIFF" + u32(quint32(body.size())) + body;
}

} // namespace

class TestClickTrack : public QObject {
    Q_OBJECT
private slots:
    void clickLandsWhereItsTickFalls_data();
    void clickLandsWhereItsTickFalls();
    void lateTickSoundsAtOnce();
    void stalledOutputDoesNotDelayTheBeatForGood();
    void outputRunDryComesBackGently();
    void oneLargeRefillLeavesTheBeatAlone();
    void deeperBufferLosesNoClick();
    void clickFromWav_data();
    void clickFromWav();
    void resampledToTheOutputRate();
};

void TestClickTrack::clickLandsWhereItsTickFalls_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("isFloat");
    QTest::addColumn<qint64>("periodNs");
    QTest::addColumn<qint64>("jitterNs");
    QTest::addColumn<qint64>("beatNs");
    // A server refilling every 20 ms, one refilling in 105 ms blocks, and one
    // whose refills wander: the clicks land on the same frames.
    QTest::newRow("mono 16-bit, 20 ms refills") << 48000 << 1 << false << 20 * Ms << qint64(0) << 650 * Ms;
    QTest::newRow("mono 16-bit, 105 ms blocks") << 48000 << 1 << false << 105 * Ms << qint64(0) << 650 * Ms;
    QTest::newRow("stereo float, jittery refills") << 44100 << 2 << true << 20 * Ms << 7 * Ms << 250 * Ms;
    QTest::newRow("stereo 16-bit, refills shorter than a click") << 48000 << 2 << false << Ms << 300 * Ms / 1000 << 301 * Ms;
}

void TestClickTrack::clickLandsWhereItsTickFalls()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(bool, isFloat);
    QFETCH(qint64, periodNs);
    QFETCH(qint64, jitterNs);
    QFETCH(qint64, beatNs);
    const ClickTrack::Format format{rate, channels, isFloat ? ClickTrack::SampleType::Float : ClickTrack::SampleType::Int16};
    SimulatedOutput out(format, 100 * Ms, periodNs, jitterNs);

    // Ticks a little off the beat, as a timer's are.
    QList<qint64> ticks;
    for (int k = 1; k <= 6; ++k)
        ticks << 700 * Ms + k * beatNs + (k % 2) * 300'000;
    QList<qint64> starts;
    for (qint64 tick : ticks) {
        out.runUntil(tick);
        starts << out.track.click(tick);
    }
    out.runUntil(ticks.last() + 500 * Ms);

    // Each click sounds the buffer and the margin after its tick, to the
    // frame; before it there is silence, and every channel carries it.
    const qint64 delay = 100 * Ms + ClickTrack::MarginNs;
    for (int k = 0; k < ticks.size(); ++k) {
        const qint64 expected = out.played(ticks[k] + delay);
        QVERIFY2(std::abs(starts[k] - expected) <= 1, qPrintable(QStringLiteral("tick %1: frame %2, expected %3").arg(k).arg(starts[k]).arg(expected)));
        QCOMPARE(out.onsetFrom(starts[k] - 200), starts[k]);
        for (qint64 f = starts[k]; f < starts[k] + 64; ++f) {
            for (int c = 0; c < channels; ++c)
                QCOMPARE(out.sample(f, c), 0.5f);
        }
        QCOMPARE(out.sample(starts[k] + 64, 0), 0.0f);
    }
}

void TestClickTrack::lateTickSoundsAtOnce()
{
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 100 * Ms, 20 * Ms);
    out.runUntil(1000 * Ms);
    // A tick that reaches the track after its frames were handed over (the
    // window was busy) sounds at the first frame still free; the next one,
    // on time, sounds where it falls.
    const qint64 late = out.track.click(700 * Ms);
    QCOMPARE(late, out.track.framesWritten());
    const qint64 next = out.track.click(1000 * Ms);
    QCOMPARE(next, out.played(1100 * Ms + ClickTrack::MarginNs));
    out.runUntil(2000 * Ms);
    QCOMPARE(out.onsetFrom(late - 100), late);
    QCOMPARE(out.onsetFrom(late + 64), next);
}

void TestClickTrack::stalledOutputDoesNotDelayTheBeatForGood()
{
    // A server that takes the first buffer and then plays nothing for 600 ms,
    // as a fresh stream sometimes does.
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 100 * Ms, 20 * Ms);
    out.stallFrom = 30 * Ms;
    out.stallTo = 630 * Ms;
    const qint64 steady = 100 * Ms + ClickTrack::MarginNs;

    // The first tick, during the stall, sounds as soon as the server plays.
    out.runUntil(400 * Ms);
    const qint64 first = out.track.click(400 * Ms);
    QVERIFY(out.heardNs(first) - out.stallTo <= steady);
    // Once the server plays, what it did before the stall no longer counts:
    // a click sounds the usual delay after its tick again, and stays there.
    for (qint64 tick : {800 * Ms, 1450 * Ms, 2100 * Ms}) {
        out.runUntil(tick);
        const qint64 delay = out.heardNs(out.track.click(tick)) - tick;
        QVERIFY2(std::abs(delay - steady) < Ms, qPrintable(QString::number(delay / 1e6)));
    }
}

void TestClickTrack::outputRunDryComesBackGently()
{
    // A machine too busy to feed the output for 150 ms: what was queued
    // sounds 150 ms late. Then the beat goes on as even as before, and the
    // extra delay wears off a millisecond a tick.
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 100 * Ms, 20 * Ms);
    out.stallFrom = 2010 * Ms;
    out.stallTo = 2160 * Ms;
    const qint64 steady = 100 * Ms + ClickTrack::MarginNs;
    QList<qint64> heard;
    qint64 tick = 0;
    for (int k = 0; k < 200; ++k) {
        tick = 700 * Ms + k * 250 * Ms;
        out.runUntil(tick);
        heard << out.heardNs(out.track.click(tick));
    }
    int uneven = 0;
    for (int k = 1; k < heard.size(); ++k) {
        const qint64 deviation = std::abs(heard[k] - heard[k - 1] - 250 * Ms);
        if (deviation > Ms + 50'000) {
            ++uneven;
            QVERIFY2(std::abs(deviation - 150 * Ms) < Ms, qPrintable(QString::number(deviation / 1e6)));
        }
    }
    QCOMPARE(uneven, 1);
    QVERIFY(std::abs(heard.last() - tick - steady) < Ms);
}

void TestClickTrack::oneLargeRefillLeavesTheBeatAlone()
{
    // A server that once takes 17 ms more than usual, and then less until
    // its buffer is back to its size.
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 100 * Ms, 10 * Ms);
    out.extraFrom = 1320 * Ms;
    out.extraNs = 17 * Ms;
    QList<qint64> starts;
    for (int k = 0; k < 8; ++k) {
        const qint64 tick = 700 * Ms + k * 250 * Ms;
        out.runUntil(tick);
        starts << out.track.click(tick);
    }
    for (int k = 1; k < starts.size(); ++k)
        QCOMPARE(starts[k] - starts[k - 1], out.frames(250 * Ms));
}

void TestClickTrack::deeperBufferLosesNoClick()
{
    // A server that from now on keeps 30 ms more handed over: the click after
    // the change cannot go where its tick falls, but it sounds whole, and the
    // beat goes on from it.
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 100 * Ms, 7 * Ms);
    out.growFrom = 1320 * Ms;
    out.growNs = 30 * Ms;
    QList<qint64> starts;
    for (int k = 0; k < 8; ++k) {
        const qint64 tick = 700 * Ms + k * 250 * Ms;
        out.runUntil(tick);
        starts << out.track.click(tick);
    }
    out.runUntil(3000 * Ms);
    for (qint64 start : starts)
        QCOMPARE(out.onsetFrom(start - 100), start);
    for (int k = 4; k < starts.size(); ++k)
        QCOMPARE(starts[k] - starts[k - 1], out.frames(250 * Ms));
}

void TestClickTrack::clickFromWav_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<QList<float>>("expected");
    const QList<qint16> pcm{16384, -32768, 0, 8192};
    QTest::newRow("mono") << Wav(1, 16, pcm, false) << QList<float>{0.5f, -1.0f, 0.0f, 0.25f};
    QTest::newRow("stereo, first channel, past an odd-sized chunk") << Wav(2, 16, pcm, true) << QList<float>{0.5f, 0.0f};
    QTest::newRow("8-bit") << Wav(1, 8, pcm, false) << QList<float>{};
    QTest::newRow("not a WAV file") << QByteArray("RIFF....AVI LIST") << QList<float>{};
    QTest::newRow("cut short") << Wav(1, 16, pcm, false).chopped(3) << QList<float>{};
}

void TestClickTrack::clickFromWav()
{
    QFETCH(QByteArray, wav);
    QFETCH(QList<float>, expected);
    int rate = 0;
    QCOMPARE(ClickSamples::fromWav(wav, &rate), expected);
    if (!expected.isEmpty())
        QCOMPARE(rate, 44100);
}

void TestClickTrack::resampledToTheOutputRate()
{
    QList<float> ramp;
    for (int i = 0; i < 441; ++i)
        ramp << float(i) / 441;
    const QList<float> up = ClickSamples::resampled(ramp, 44100, 48000);
    QCOMPARE(up.size(), 480);
    QCOMPARE(up.first(), 0.0f);
    // Halfway through the click is halfway up the ramp, at either rate.
    QVERIFY(std::abs(up[240] - 0.5f) < 0.002f);
    QCOMPARE(ClickSamples::resampled(ramp, 48000, 48000), ramp);
}

QTEST_GUILESS_MAIN(TestClickTrack)
#include "tst_clicktrack.moc"
