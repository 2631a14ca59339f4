#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

namespace morvela {

// An open stream of metronome clicks, as the click player module gives it.
// Destroying it closes the stream. Opening, beat() and stop() may wait on the
// sound server, so the program calls them only on a thread of the sound's
// own, never on the interface thread.
class ClickOutput {
public:
    virtual ~ClickOutput() = default;
    // A beat with ticks at `firstTickNs` on the beat clock (BeatClock) and
    // every `beatNs` after it, until stop(); each click is written ahead of
    // its tick. False when the stream cannot sound any more.
    virtual bool beat(qint64 firstTickNs, qint64 beatNs) = 0;
    virtual void stop() = 0;
    // Never waits, and may be asked from any thread.
    virtual bool sounding() const = 0;
};

// Opens a click stream on the default audio output; none where there is no
// output or no player. May wait on the sound server.
using OpenClickOutput = std::function<std::unique_ptr<ClickOutput>()>;

} // namespace morvela
