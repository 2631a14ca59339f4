// The metronome's stream: each click lands at the frame where its tick falls,
// whenever and in whatever pieces the output pulls, and the click file is
// read and brought to the output's rate.

#include "core/ClickSamples.h"
#include "core/ClickTrack.h"

#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace morvela;

namespace {

constexpr qint64 Ms = 1'000'000;

// The beat clock, moved by the simulation.
struct SimulatedClock final : BeatClock {
    qint64 nowNs() const override { return now; }
    qint64 now = 0;
};

// An output as a sound server runs one: it starts playing at `startNs`,
// keeps `queue` frames handed over ahead of what it plays, and every
// `period` refills and says how far it has played (its account wobbling by
// up to `wobble`). While its feeder is stalled nothing is refilled; once
// the queue is played out, it waits for more.
struct SimulatedOutput {
    SimulatedOutput(const ClickTrack::Format& f, qint64 queueNs, qint64 periodNs, qint64 wobbleNs = 0)
        : format(f), queue(frames(queueNs)), period(periodNs), wobble(wobbleNs)
    {
    }

    qint64 frames(qint64 ns) const { return qint64(std::llround(double(ns) * format.sampleRate / 1e9)); }
    bool stalled(qint64 ns) const { return ns >= stallFrom && ns < stallTo; }

    void runUntil(qint64 ns)
    {
        const double perStep = double(Step) * format.sampleRate / 1e9 * (1 + drift);
        while (now < ns) {
            now += Step;
            clock.now = now;
            if (now >= startNs && !(now >= slipFrom && now < slipTo)) {
                const bool dry = position + perStep > double(track.framesWritten());
                position = std::min(position + perStep, double(track.framesWritten()));
                // A server says so when a stream it plays runs dry.
                if (dry && !ranDry && tellsUnderflow)
                    track.underflow();
                ranDry = dry;
            }
            positions.push_back(position);
            if (now >= nextRefill && !stalled(now)) {
                if (reports) {
                    // The account, read a little early or late.
                    clock.now = now + (refills % 3 - 1) * wobble;
                    track.played(reportedPosition());
                    clock.now = now;
                }
                const qint64 want = qint64(position) + queue - track.framesWritten();
                if (want > 0)
                    pulled += track.read(want * format.bytesPerFrame());
                ++refills;
                nextRefill += period;
            }
        }
    }

    // What the output says it has played: a sound graph that runs in
    // blocks counts in whole blocks, and an account interpolated between
    // its reports falls behind and snaps back at each one.
    qint64 reportedPosition() const
    {
        qint64 p = qint64(position);
        if (block > 0)
            p = p / block * block;
        if (sawtoothNs > 0)
            p -= frames((now - origin) % sawtoothPeriodNs * sawtoothNs / sawtoothPeriodNs);
        return p;
    }

    // When frame `f` reached the speaker.
    qint64 heardNs(qint64 f) const
    {
        for (size_t i = 0; i < positions.size(); ++i) {
            if (positions[i] >= double(f)) {
                const double before = i ? positions[i - 1] : 0;
                const double part = positions[i] > before ? (double(f) - before) / (positions[i] - before) : 1;
                return origin + qint64(i) * Step + qint64(part * double(Step));
            }
        }
        return -1;
    }

    // The output opens a new stream now, which starts playing `delayNs` later.
    void newStream(qint64 delayNs)
    {
        track.restart();
        pulled.clear();
        positions.clear();
        position = 0;
        origin = now;
        startNs = now + delayNs;
    }

    // The frames where clicks start, in channel 0.
    QList<qint64> onsets() const
    {
        QList<qint64> found;
        const qint64 total = pulled.size() / format.bytesPerFrame();
        for (qint64 f = 0; f < total; ++f) {
            if (sample(f, 0) != 0 && (f == 0 || sample(f - 1, 0) == 0))
                found << f;
        }
        return found;
    }
    QList<qint64> heardOnsets() const
    {
        QList<qint64> ns;
        for (qint64 f : onsets())
            ns << heardNs(f);
        return ns;
    }

    float sample(qint64 frame, int channel) const
    {
        const char* p = pulled.constData() + frame * format.bytesPerFrame();
        if (format.sample == ClickTrack::SampleType::Float)
            return qFromLittleEndian<float>(p + 4 * channel);
        return qFromLittleEndian<qint16>(p + 2 * channel) / 32768.0f;
    }

    static constexpr qint64 Step = 100'000;
    ClickTrack::Format format;
    qint64 queue;
    qint64 period;
    qint64 wobble;
    qint64 startNs = 20 * Ms;
    qint64 stallFrom = std::numeric_limits<qint64>::max();
    qint64 stallTo = std::numeric_limits<qint64>::max();
    // Between these the output plays silence of its own, unannounced.
    qint64 slipFrom = std::numeric_limits<qint64>::max();
    qint64 slipTo = std::numeric_limits<qint64>::max();
    bool reports = true;
    bool tellsUnderflow = true;
    bool ranDry = false;
    double drift = 0; // how much faster than the steady clock the output plays
    qint64 block = 0; // frames the output counts its position in; 0: each frame
    qint64 sawtoothNs = 0; // how far behind its account falls between reports
    qint64 sawtoothPeriodNs = 1'500'000'000;
    qint64 now = 0;
    qint64 origin = 0; // when the stream began
    qint64 nextRefill = 0;
    qint64 refills = 0;
    double position = 0;
    std::vector<double> positions; // frames played at the end of each step
    QByteArray pulled;
    SimulatedClock clock;
    ClickTrack track{format, QList<float>(64, 0.5f), clock};
};

// Each heard click within `tolerance` of its tick.
QString OffTicks(const QList<qint64>& heard, const QList<qint64>& ticks, qint64 tolerance)
{
    if (heard.size() != ticks.size())
        return QStringLiteral("%1 clicks for %2 ticks").arg(heard.size()).arg(ticks.size());
    for (int k = 0; k < ticks.size(); ++k) {
        if (std::abs(heard[k] - ticks[k]) > tolerance)
            return QStringLiteral("tick %1 heard %2 ms off").arg(k).arg((heard[k] - ticks[k]) / 1e6);
    }
    return {};
}

QList<qint64> Ticks(qint64 first, qint64 beat, qint64 until)
{
    QList<qint64> ticks;
    for (qint64 t = first; t < until; t += beat)
        ticks << t;
    return ticks;
}

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
    void clickSoundsOnItsTick_data();
    void clickSoundsOnItsTick();
    void stopAndNewBeat_data();
    void stopAndNewBeat();
    void newStreamPicksUpTheBeat();
    void newStreamHeardAsLateAsTheOneBefore();
    void nextTickAfter_data();
    void nextTickAfter();
    void blockReportsKeepTheBeatExact_data();
    void blockReportsKeepTheBeatExact();
    void unannouncedSlipIsFollowed();
    void beatGoesOnFromItsNextTick_data();
    void beatGoesOnFromItsNextTick();
    void outputRunDry_data();
    void outputRunDry();
    void driftingOutputIsFollowedGently();
    void silentOutputStillSoundsEveryTick();
    void clickFromWav_data();
    void clickFromWav();
    void resampledToTheOutputRate();
};

void TestClickTrack::clickSoundsOnItsTick_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("isFloat");
    QTest::addColumn<qint64>("queueNs");
    QTest::addColumn<qint64>("periodNs");
    QTest::addColumn<qint64>("wobbleNs");
    QTest::addColumn<qint64>("beatNs");
    // A deep queue refilled often, one refilled in 105 ms blocks, a short
    // one whose account of its position wobbles, and refills shorter than a
    // click: each click is heard on its tick.
    QTest::newRow("mono 16-bit, 220 ms queue, 10 ms refills") << 48000 << 1 << false << 220 * Ms << 10 * Ms << qint64(0) << 250 * Ms;
    QTest::newRow("mono 16-bit, 105 ms blocks") << 48000 << 1 << false << 220 * Ms << 105 * Ms << qint64(0) << 650 * Ms;
    QTest::newRow("stereo float, wobbling account") << 44100 << 2 << true << 70 * Ms << 10 * Ms << qint64(700'000) << 300 * Ms;
    QTest::newRow("stereo 16-bit, refills shorter than a click") << 48000 << 2 << false << 40 * Ms << Ms << qint64(0) << 301 * Ms;
}

void TestClickTrack::clickSoundsOnItsTick()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(bool, isFloat);
    QFETCH(qint64, queueNs);
    QFETCH(qint64, periodNs);
    QFETCH(qint64, wobbleNs);
    QFETCH(qint64, beatNs);
    const ClickTrack::Format format{rate, channels, isFloat ? ClickTrack::SampleType::Float : ClickTrack::SampleType::Int16};
    SimulatedOutput out(format, queueNs, periodNs, wobbleNs);
    out.runUntil(300 * Ms);
    QVERIFY(out.track.beat(300 * Ms + beatNs, beatNs));
    out.runUntil(5000 * Ms);

    const QList<qint64> ticks = Ticks(300 * Ms + beatNs, beatNs, 5000 * Ms - queueNs);
    const QList<qint64> heard = out.heardOnsets().mid(0, ticks.size());
    const QString off = OffTicks(heard, ticks, Ms);
    QVERIFY2(off.isEmpty(), qPrintable(off));
    // The beat heard is as even as the ticks: the wobble does not reach it.
    for (int k = 1; k < heard.size(); ++k)
        QVERIFY(std::abs(heard[k] - heard[k - 1] - beatNs) <= 50'000);
    // The whole click, in every channel, and silence after it.
    const qint64 start = out.onsets().first();
    for (qint64 f = start; f < start + 64; ++f) {
        for (int c = 0; c < channels; ++c)
            QCOMPARE(out.sample(f, c), 0.5f);
    }
    QCOMPARE(out.sample(start + 64, 0), 0.0f);
}

void TestClickTrack::stopAndNewBeat_data()
{
    QTest::addColumn<qint64>("stopNs");
    QTest::addColumn<bool>("heardLater"); // a click after the stop already handed over
    // Ticks at 1300, 2600, ... with 220 ms queued ahead.
    QTest::newRow("next tick beyond what is handed over") << 2000 * Ms << false;
    QTest::newRow("next tick already handed over") << 2500 * Ms << true;
}

void TestClickTrack::stopAndNewBeat()
{
    QFETCH(qint64, stopNs);
    QFETCH(bool, heardLater);
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 220 * Ms, 10 * Ms);
    out.runUntil(100 * Ms);
    out.track.beat(1300 * Ms, 1300 * Ms);
    out.runUntil(stopNs);
    QCOMPARE(out.track.stop(), !heardLater);
    out.runUntil(stopNs + 1000 * Ms);
    QCOMPARE(out.onsets().size(), heardLater ? 2 : 1);

    // A new beat whose first tick is still ahead of what is handed over
    // sounds on its ticks in this stream; one whose first tick is already
    // handed over asks for a new stream.
    const qint64 now = out.now;
    QVERIFY(!out.track.beat(now + 100 * Ms, 250 * Ms));
    QVERIFY(out.track.beat(now + 250 * Ms, 250 * Ms));
    out.runUntil(now + 1500 * Ms);
    const QList<qint64> heard = out.heardOnsets().mid(heardLater ? 2 : 1);
    const QString off = OffTicks(heard.mid(0, 4), Ticks(now + 250 * Ms, 250 * Ms, now + 1250 * Ms), Ms);
    QVERIFY2(off.isEmpty(), qPrintable(off));
}

void TestClickTrack::newStreamPicksUpTheBeat()
{
    // A new stream opened at 900 ms starts playing 40 ms later: nothing of
    // the old one is kept, and the beat goes on from its next tick, on time
    // (the next tick lies beyond the queue, as the shortest beat does).
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 220 * Ms, 10 * Ms);
    out.runUntil(100 * Ms);
    out.track.beat(400 * Ms, 400 * Ms);
    out.runUntil(900 * Ms);
    out.newStream(40 * Ms);
    QCOMPARE(out.track.framesWritten(), 0);
    QVERIFY(!out.track.placed());
    out.runUntil(3000 * Ms);
    const QString off = OffTicks(out.heardOnsets().mid(0, 4), Ticks(1200 * Ms, 400 * Ms, 2800 * Ms), Ms);
    QVERIFY2(off.isEmpty(), qPrintable(off));
}

void TestClickTrack::newStreamHeardAsLateAsTheOneBefore()
{
    // The first stream is heard 20 ms after it is first fed. A new one (a
    // new tempo) gets its first click before it has said anything: it is
    // taken to start as late, and the click is heard on its tick.
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 220 * Ms, 10 * Ms);
    out.runUntil(100 * Ms);
    QVERIFY(out.track.beat(400 * Ms, 300 * Ms));
    out.runUntil(1150 * Ms);
    out.newStream(30 * Ms); // first fed at 1160 ms, heard from 1180 ms
    out.runUntil(2500 * Ms);
    const QString off = OffTicks(out.heardOnsets().mid(0, 4), Ticks(1300 * Ms, 300 * Ms, 2500 * Ms), Ms);
    QVERIFY2(off.isEmpty(), qPrintable(off));
}

void TestClickTrack::nextTickAfter_data()
{
    QTest::addColumn<qint64>("nowNs");
    QTest::addColumn<qint64>("firstTickNs");
    QTest::addColumn<qint64>("beatNs");
    QTest::addColumn<qint64>("next");
    // A new stream opened for a new tempo before the tempo's first tick
    // starts from that tick, however near or far ahead it is.
    QTest::newRow("first tick a little ahead") << 900 * Ms << 1000 * Ms << 250 * Ms << qint64(0);
    QTest::newRow("first tick just ahead") << 1000 * Ms - 1 << 1000 * Ms << 250 * Ms << qint64(0);
    QTest::newRow("first tick more than a beat ahead") << 400 * Ms << 1000 * Ms << 250 * Ms << qint64(0);
    QTest::newRow("on the first tick") << 1000 * Ms << 1000 * Ms << 250 * Ms << qint64(1);
    QTest::newRow("between ticks") << 1100 * Ms << 1000 * Ms << 250 * Ms << qint64(1);
    QTest::newRow("on a later tick") << 1500 * Ms << 1000 * Ms << 250 * Ms << qint64(3);
    QTest::newRow("just before a later tick") << 1500 * Ms - 1 << 1000 * Ms << 250 * Ms << qint64(2);
}

void TestClickTrack::nextTickAfter()
{
    QFETCH(qint64, nowNs);
    QFETCH(qint64, firstTickNs);
    QFETCH(qint64, beatNs);
    QFETCH(qint64, next);
    QCOMPARE(ClickTrack::nextTickAfter(nowNs, firstTickNs, beatNs), next);
}

void TestClickTrack::blockReportsKeepTheBeatExact_data()
{
    QTest::addColumn<qint64>("beatNs");
    QTest::addColumn<qint64>("periodNs"); // refilled and reporting this often; 0: once a block
    QTest::addColumn<qint64>("sawtoothNs");
    QTest::addColumn<qint64>("beatAtNs"); // when the beat is given
    // A sound graph of 2048-frame blocks that reports its position in whole
    // blocks, and an account that falls up to 45 ms behind between its
    // reports: no click moves, from the first, whenever the beat starts.
    QTest::newRow("250 ms, whole blocks") << 250 * Ms << qint64(0) << qint64(0) << 300 * Ms;
    QTest::newRow("250 ms, whole blocks reported every 10 ms") << 250 * Ms << 10 * Ms << qint64(0) << 300 * Ms;
    QTest::newRow("300 ms, whole blocks reported every 100 ms") << 300 * Ms << 100 * Ms << qint64(0) << 300 * Ms;
    QTest::newRow("250 ms, blocks and a falling account") << 250 * Ms << qint64(0) << 45 * Ms << 300 * Ms;
    QTest::newRow("650 ms, blocks and a falling account") << 650 * Ms << qint64(0) << 45 * Ms << 300 * Ms;
    QTest::newRow("400 ms, begun after 5 s of reports") << 400 * Ms << qint64(0) << 45 * Ms << 5000 * Ms;
}

void TestClickTrack::blockReportsKeepTheBeatExact()
{
    QFETCH(qint64, beatNs);
    QFETCH(qint64, periodNs);
    QFETCH(qint64, sawtoothNs);
    QFETCH(qint64, beatAtNs);
    const ClickTrack::Format format{48000, 1, ClickTrack::SampleType::Int16};
    const qint64 block = 2048;
    SimulatedOutput out(format, 220 * Ms, periodNs ? periodNs : block * 1'000'000'000 / format.sampleRate);
    out.block = block;
    out.sawtoothNs = sawtoothNs;
    out.runUntil(beatAtNs);
    QVERIFY(out.track.beat(beatAtNs + beatNs, beatNs));
    const qint64 endNs = beatAtNs + 40'000 * Ms;
    out.runUntil(endNs);

    const QList<qint64> ticks = Ticks(beatAtNs + beatNs, beatNs, endNs - 300 * Ms);
    const QList<qint64> onsets = out.onsets().mid(0, ticks.size());
    QCOMPARE(onsets.size(), ticks.size());
    const qint64 beatFrames = beatNs * format.sampleRate / 1'000'000'000;
    for (int k = 1; k < onsets.size(); ++k) {
        if (onsets[k] - onsets[k - 1] != beatFrames)
            QFAIL(qPrintable(QStringLiteral("click %1 is %2 frames after the one before").arg(k).arg(onsets[k] - onsets[k - 1])));
    }
    // And on its tick, give or take the block the reports are rounded to.
    const QString off = OffTicks(out.heardOnsets().mid(0, ticks.size()), ticks, 45 * Ms + sawtoothNs);
    QVERIFY2(off.isEmpty(), qPrintable(off));
}

void TestClickTrack::unannouncedSlipIsFollowed()
{
    // A graph of 2048-frame blocks that once plays a block of silence in
    // the stream without saying it ran dry: the clicks come back to where
    // they were heard before within a few seconds, and no interval but the
    // slip's own and the return's moves by more than the slew a click.
    const ClickTrack::Format format{48000, 1, ClickTrack::SampleType::Int16};
    const qint64 block = 2048;
    const qint64 blockNs = block * 1'000'000'000 / format.sampleRate;
    SimulatedOutput out(format, 220 * Ms, blockNs);
    out.block = block;
    out.tellsUnderflow = false;
    out.slipFrom = 5000 * Ms;
    out.slipTo = 5000 * Ms + blockNs;
    out.runUntil(200 * Ms);
    QVERIFY(out.track.beat(500 * Ms, 250 * Ms));
    out.runUntil(20'000 * Ms);

    const QList<qint64> ticks = Ticks(500 * Ms, 250 * Ms, 19'500 * Ms);
    const QList<qint64> heard = out.heardOnsets().mid(0, ticks.size());
    QCOMPARE(heard.size(), ticks.size());
    const qint64 delayBefore = heard[0] - ticks[0];
    int uneven = 0;
    for (int k = 0; k < ticks.size(); ++k) {
        if (k > 0 && std::abs(heard[k] - heard[k - 1] - 250 * Ms) > ClickTrack::maxSlewNs(250 * Ms) + 50'000)
            ++uneven;
        if ((ticks[k] < 5000 * Ms || ticks[k] > 12'000 * Ms) && std::abs(heard[k] - ticks[k] - delayBefore) > Ms)
            QFAIL(qPrintable(QStringLiteral("tick %1 heard %2 ms later than the first").arg(k).arg((heard[k] - ticks[k] - delayBefore) / 1e6)));
    }
    QVERIFY2(uneven <= 2, qPrintable(QString::number(uneven)));
}

void TestClickTrack::beatGoesOnFromItsNextTick_data()
{
    QTest::addColumn<qint64>("beatAtNs"); // when the stream is given the beat
    QTest::addColumn<qint64>("firstTickNs");
    QTest::addColumn<qint64>("beatNs");
    QTest::addColumn<qint64>("newStreamAtNs"); // when a new stream opens; -1: none
    QTest::addColumn<qint64>("firstHeardNs");
    // A stream that opened after its beat began: the ticks already past are
    // not heard at all (not all at once), the next one on time. A new stream
    // opened before the beat's first tick: that tick is heard too.
    QTest::newRow("beat given after three of its ticks") << 2000 * Ms << 1100 * Ms << 400 * Ms << qint64(-1) << 2300 * Ms;
    QTest::newRow("new stream before the first tick") << 100 * Ms << 700 * Ms << 600 * Ms << 200 * Ms << 700 * Ms;
}

void TestClickTrack::beatGoesOnFromItsNextTick()
{
    QFETCH(qint64, beatAtNs);
    QFETCH(qint64, firstTickNs);
    QFETCH(qint64, beatNs);
    QFETCH(qint64, newStreamAtNs);
    QFETCH(qint64, firstHeardNs);
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 220 * Ms, 10 * Ms);
    out.runUntil(beatAtNs);
    QVERIFY(out.track.beat(firstTickNs, beatNs));
    if (newStreamAtNs >= 0) {
        out.runUntil(newStreamAtNs);
        out.newStream(40 * Ms);
    }
    out.runUntil(4000 * Ms);
    const QList<qint64> ticks = Ticks(firstHeardNs, beatNs, 3700 * Ms);
    const QString off = OffTicks(out.heardOnsets().mid(0, ticks.size()), ticks, Ms);
    QVERIFY2(off.isEmpty(), qPrintable(off));
}

void TestClickTrack::outputRunDry_data()
{
    QTest::addColumn<qint64>("stallNs");
    QTest::addColumn<bool>("told"); // the output says it ran dry
    QTest::addColumn<int>("late"); // clicks heard late
    // The feeder held up for less than the queue lasts: nothing is heard of
    // it. For longer: the output runs dry, the clicks it had sound late, and
    // the beat is back on its ticks from the next click written; where the
    // output does not say it ran dry, once its reports have stayed off for
    // a second.
    QTest::newRow("held up 200 ms, 220 ms queued") << 200 * Ms << true << 0;
    QTest::newRow("held up 400 ms, 220 ms queued") << 400 * Ms << true << 1;
    QTest::newRow("held up 400 ms, not told") << 400 * Ms << false << 6;
}

void TestClickTrack::outputRunDry()
{
    QFETCH(qint64, stallNs);
    QFETCH(bool, told);
    QFETCH(int, late);
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 220 * Ms, 10 * Ms);
    out.tellsUnderflow = told;
    out.stallFrom = 2010 * Ms;
    out.stallTo = 2010 * Ms + stallNs;
    out.runUntil(100 * Ms);
    out.track.beat(350 * Ms, 250 * Ms);
    out.runUntil(6000 * Ms);
    const QList<qint64> ticks = Ticks(350 * Ms, 250 * Ms, 5500 * Ms);
    const QList<qint64> heard = out.heardOnsets().mid(0, ticks.size());
    int off = 0;
    for (int k = 0; k < ticks.size(); ++k)
        off += std::abs(heard.value(k) - ticks[k]) > Ms;
    QCOMPARE(off, late);
}

void TestClickTrack::driftingOutputIsFollowedGently()
{
    // An output whose clock runs 1.5 ms a second fast: the clicks stay on
    // their ticks, and no interval moves by more than the slew a click.
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 220 * Ms, 10 * Ms);
    out.drift = 0.0015;
    out.runUntil(100 * Ms);
    out.track.beat(500 * Ms, 400 * Ms);
    out.runUntil(60'000 * Ms);
    const QList<qint64> ticks = Ticks(500 * Ms, 400 * Ms, 59'500 * Ms);
    const QList<qint64> heard = out.heardOnsets().mid(0, ticks.size());
    const QString off = OffTicks(heard, ticks, 3 * Ms);
    QVERIFY2(off.isEmpty(), qPrintable(off));
    for (int k = 1; k < heard.size(); ++k)
        QVERIFY(std::abs(heard[k] - heard[k - 1] - 400 * Ms) <= ClickTrack::maxSlewNs(400 * Ms) + 50'000);
}

void TestClickTrack::silentOutputStillSoundsEveryTick()
{
    // An output that never says how far it has played: each click goes out,
    // never before its tick, and no later than the output's own start
    // (20 ms): what it was handed before is taken to queue ahead of it, not
    // to have been played.
    SimulatedOutput out({48000, 1, ClickTrack::SampleType::Int16}, 70 * Ms, 10 * Ms);
    out.reports = false;
    out.runUntil(100 * Ms);
    out.track.beat(400 * Ms, 300 * Ms);
    out.runUntil(3000 * Ms);
    const QList<qint64> ticks = Ticks(400 * Ms, 300 * Ms, 2900 * Ms);
    const QList<qint64> heard = out.heardOnsets().mid(0, ticks.size());
    QCOMPARE(heard.size(), ticks.size());
    for (int k = 0; k < ticks.size(); ++k)
        QVERIFY(heard[k] >= ticks[k] - Ms && heard[k] <= ticks[k] + 21 * Ms);
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
