#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

namespace morvela {

// Whole seconds on a clock that never jumps (daylight saving, a changed
// system time), so an attempt's time is always "now - start".
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 nowSeconds() const = 0;
};

class SteadyClock final : public Clock {
public:
    SteadyClock() { m_timer.start(); }
    qint64 nowSeconds() const override { return m_timer.elapsed() / 1000; }

private:
    QElapsedTimer m_timer;
};

} // namespace morvela
