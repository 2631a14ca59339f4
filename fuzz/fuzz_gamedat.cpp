// game.dat as any bytes, read as the game reads it: decoding never fails,
// no entry holds a character no one can type, and every entry reads back
// as it was once written again.

#include "game/GameWordList.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace morvela;
    const QList<WordEntry> entries = DecodeGameWordList(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const WordEntry& e : entries) {
        const QString line = e.Word + QLatin1Char(',') + e.Hint;
        if (FirstUntypeable(line) >= 0)
            std::abort();
        QByteArray bytes;
        if (!EncodeGameLine(line, &bytes))
            continue;
        const QList<WordEntry> back = DecodeGameWordList(bytes);
        if (back.size() != 1 || back[0].Word + QLatin1Char(',') + back[0].Hint != line)
            std::abort();
    }
    return 0;
}
