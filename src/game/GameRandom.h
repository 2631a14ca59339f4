#pragma once

#include <QRandomGenerator>

#include <memory>

namespace morvela {

// The game's random numbers, uniform in [0, 1). The game reseeds before it
// sets up every stage; tests put a scripted sequence in its place.
class GameRandom {
public:
    virtual ~GameRandom() = default;
    virtual void reseed() = 0;
    virtual double next() = 0;
};

// Seeded from the clock, finely enough that two stages never repeat.
class ClockSeededRandom final : public GameRandom {
public:
    void reseed() override;
    double next() override { return m_generator.generateDouble(); }

private:
    QRandomGenerator m_generator;
};

// What the game keeps for the whole run of the program, across openings of
// its window: the generator, and which half of the invaders moves next.
struct GameRun {
    explicit GameRun(std::unique_ptr<GameRandom> random = std::make_unique<ClockSeededRandom>())
        : random(std::move(random))
    {
    }
    std::unique_ptr<GameRandom> random;
    bool MarchPhase = false; // set: the even-numbered invaders move next
};

} // namespace morvela
