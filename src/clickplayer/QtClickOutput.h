#pragma once

#include "core/ClickOutput.h"

namespace morvela {

// A click stream through Qt Multimedia's default audio output; null where
// there is none.
std::unique_ptr<ClickOutput> OpenQtClickOutput();

} // namespace morvela
