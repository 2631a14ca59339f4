#pragma once

namespace morvela {

// How a typed-through text fares by its misses, the one measure every
// lesson judges by: ten or more fail everywhere; five to nine fail a drill
// page (Lessons 1 to 6) but pass a sentence lesson; fewer than five pass a
// drill page (a rhythm page also asks for the fastest beat or none).
enum class MissBand { TenOrMore, FiveToNine, FewerThanFive };

MissBand JudgeMisses(int misses);

// A sentence lesson (Lessons 7 and 8) passes with fewer than ten misses.
inline bool SentencePassed(int misses)
{
    return JudgeMisses(misses) != MissBand::TenOrMore;
}

} // namespace morvela
