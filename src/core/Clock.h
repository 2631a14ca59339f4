#pragma once

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QtGlobal>

namespace morvela {

// Whole seconds on a clock that never jumps (daylight saving, a changed
// system time), so an attempt's time is always "now - start".
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 nowSeconds() const = 0;
    // Milliseconds on the same clock, for the learner's record and live speed.
    virtual qint64 nowMs() const { return nowSeconds() * 1000; }
};

class SteadyClock final : public Clock {
public:
    SteadyClock() { m_timer.start(); }
    qint64 nowSeconds() const override { return m_timer.elapsed() / 1000; }
    qint64 nowMs() const override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
};

// Nanoseconds on the monotonic clock the metronome's beat is timed with.
// Its zero is the system's, so the beat set on the interface thread and the
// sound output's account, read on the output's own thread, are on one clock.
class BeatClock {
public:
    virtual ~BeatClock() = default;
    virtual qint64 nowNs() const = 0;
};

class SteadyBeatClock final : public BeatClock {
public:
    qint64 nowNs() const override { return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs(); }
};

} // namespace morvela
