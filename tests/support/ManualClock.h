#pragma once

#include "core/Clock.h"

namespace morvela::test {

// A clock that a test moves by hand, in seconds or milliseconds.
class ManualClock final : public Clock {
public:
    qint64 nowSeconds() const override { return m_nowMs / 1000; }
    qint64 nowMs() const override { return m_nowMs; }
    void setSeconds(qint64 s) { m_nowMs = s * 1000; }
    void advance(qint64 s) { m_nowMs += s * 1000; }
    void advanceMs(qint64 ms) { m_nowMs += ms; }

private:
    qint64 m_nowMs = 1000 * 1000;
};

} // namespace morvela::test
