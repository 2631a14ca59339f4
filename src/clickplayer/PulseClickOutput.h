#pragma once

#include "core/ClickOutput.h"

namespace morvela {

// A click stream of the PulseAudio (or PipeWire) server's own; null where
// none opens. `serverSilent` tells why: true when a server took the
// connection but never answered, so another output through the same server
// would only wait as long again.
std::unique_ptr<ClickOutput> OpenPulseClickOutput(bool* serverSilent);

} // namespace morvela
