#pragma once

#include <QtGlobal>

namespace morvela {

// The numbers of the falling-words game. Lengths are twips (1/1440 inch)
// with y growing downwards; T is the descent interval in milliseconds.

// The play field, the window's client area.
constexpr int PlayFieldWidth = 7965;
constexpr int PlayFieldHeight = 6570;

constexpr int FirstDescentInterval = 1500;
constexpr int BeamTickInterval = 200;    // Timer2: the beam reaches its target
constexpr int CleanUpInterval = 200;     // Timer3: the explosion and points go
constexpr int StagePauseInterval = 5000; // Timer4: the scores after a clear

constexpr double GroundLine = 6060;      // the top of the input bar
constexpr double PullDownLine = -180;    // a new target starts no higher
constexpr double BeamStep = 20;
constexpr double PointsLabelOffset = 680; // below the hit invader's top

// The bar across the bottom, and the pictures' boxes.
constexpr int BarLeft = 0, BarWidth = 7995, BarHeight = 495;
constexpr int BeamWidth = 195, BeamHeight = 6075;
constexpr int ExplosionWidth = 1275, ExplosionHeight = 675;

constexpr int InvaderCount = 10;

// The vertical distance between the invaders of a stage: 560 * sqrt(1000 / T).
double InvaderSpacing(int descentInterval);

// How far an invader falls when it moves: 200 * (1000 / T)^(1/4).
double DescentStep(int descentInterval);

// Each stage falls 20 % faster: T * 0.8 to the nearest millisecond.
int NextDescentInterval(int descentInterval);

// Int(100000 / T), what one typed character is worth before the height bonus.
int PointsPerCharacter(int descentInterval);

// Int(Int(100000 / T) * characters * (1 + top / 6000)): a word hit lower
// down is worth more.
qint64 HitPoints(int descentInterval, int characters, double top);

} // namespace morvela
