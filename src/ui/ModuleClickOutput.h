#pragma once

#include "core/ClickOutput.h"

#include <QString>

namespace morvela {

// Opens click streams through the click player module in `folder` (the
// program's own lies beside it); none when the module is missing or finds
// no audio output. The module is loaded on the first open, on the thread
// that opens, so the program starts without Qt Multimedia.
OpenClickOutput ModuleClickOutput(const QString& folder);

} // namespace morvela
