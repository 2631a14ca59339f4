// game.ini as any bytes: reading never fails, and a score read is written
// in a form that reads back as the same score with nothing to repair.

#include "core/GameScoreFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace morvela;
    const ParsedGameScore parsed = ParseGameScore(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (parsed.highScore < 0)
        std::abort();
    const ParsedGameScore back = ParseGameScore(SerializeGameScore(parsed.highScore));
    if (back.damaged || back.rewrite || back.highScore != parsed.highScore)
        std::abort();
    return 0;
}
