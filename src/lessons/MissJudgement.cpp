#include "lessons/MissJudgement.h"

namespace morvela {

MissBand JudgeMisses(int misses)
{
    if (misses >= 10)
        return MissBand::TenOrMore;
    if (misses >= 5)
        return MissBand::FiveToNine;
    return MissBand::FewerThanFive;
}

} // namespace morvela
