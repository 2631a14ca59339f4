#pragma once

#include "core/Clock.h"

namespace morvela::test {

// A clock that a test moves by hand.
class ManualClock final : public Clock {
public:
    qint64 nowSeconds() const override { return m_now; }
    void setSeconds(qint64 s) { m_now = s; }
    void advance(qint64 s) { m_now += s; }

private:
    qint64 m_now = 1000;
};

} // namespace morvela::test
