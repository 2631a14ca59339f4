// morvela.ini as any bytes: parsing never fails, and what it reads goes
// back into a file that reads the same.

#include "core/ProgressFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace morvela;
    const ParsedProgress parsed = ParseProgress(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QByteArray written = SerializeProgress(parsed.record);
    if (!written.isEmpty() && !(ParseProgress(written).record == parsed.record))
        std::abort(); // a saved record must read back as it was
    return 0;
}
