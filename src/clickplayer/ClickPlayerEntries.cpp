// The click player module's C entry points, which the program resolves by
// name when a rhythm lesson opens (ui/ModuleClickOutput.cpp). The program
// calls them on a thread of the sound's own: each may wait on the sound
// server, but sounding() never does.

#include "clickplayer/PulseClickOutput.h"
#include "clickplayer/QtClickOutput.h"

using morvela::ClickOutput;

extern "C" {

// Opens the stream on the default output: the sound server's own, else Qt's
// output; null where there is none.
Q_DECL_EXPORT void* morvela_click_new()
{
    bool serverSilent = false;
    std::unique_ptr<ClickOutput> player = morvela::OpenPulseClickOutput(&serverSilent);
    // Qt's output goes through the same server: a silent one would keep it
    // waiting as long again.
    if (!player && !serverSilent)
        player = morvela::OpenQtClickOutput();
    return player.release();
}

// Each returns or reports false when the stream can no longer sound, so the
// caller beeps.
Q_DECL_EXPORT bool morvela_click_beat(void* p, qint64 firstTickNs, qint64 beatNs)
{
    return p && static_cast<ClickOutput*>(p)->beat(firstTickNs, beatNs);
}

Q_DECL_EXPORT void morvela_click_stop(void* p)
{
    if (p)
        static_cast<ClickOutput*>(p)->stop();
}

Q_DECL_EXPORT bool morvela_click_sounding(void* p)
{
    return p && static_cast<ClickOutput*>(p)->sounding();
}

Q_DECL_EXPORT void morvela_click_delete(void* p)
{
    delete static_cast<ClickOutput*>(p);
}

} // extern "C"
