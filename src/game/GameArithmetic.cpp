#include "game/GameArithmetic.h"

#include <cmath>

namespace morvela {

double InvaderSpacing(int descentInterval)
{
    return 560 * std::sqrt(1000.0 / descentInterval);
}

double DescentStep(int descentInterval)
{
    return 200 * std::pow(1000.0 / descentInterval, 0.25);
}

int NextDescentInterval(int descentInterval)
{
    return int(std::nearbyint(descentInterval * 0.8));
}

int PointsPerCharacter(int descentInterval)
{
    return 100000 / descentInterval;
}

qint64 HitPoints(int descentInterval, int characters, double top)
{
    return qint64(std::floor(PointsPerCharacter(descentInterval) * characters * (1 + top / 6000)));
}

} // namespace morvela
