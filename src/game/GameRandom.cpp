#include "game/GameRandom.h"

#include <chrono>

namespace morvela {

void ClockSeededRandom::reseed()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ns = quint64(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    const quint32 seed[2] = {quint32(ns), quint32(ns >> 32)};
    m_generator = QRandomGenerator(seed, 2);
}

} // namespace morvela
