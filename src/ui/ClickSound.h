#pragma once

#include "core/ClickOutput.h"
#include "core/Clock.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

namespace morvela {

// The metronome's click. The X11 and Wayland bell is silent on most
// desktops, so the clicks are written into one stream that stays open from
// open() to close() (or the end of its owner, the lesson window).
//
// A sound server may take seconds to answer, or never answer at all, so the
// stream is opened, given its beat and closed on a thread of its own: no
// call here ever waits for it. Until the stream is ready and has the beat,
// and wherever no audio output or no click player is found, the program's
// beep stands in at each tick.
class ClickSound : public QObject {
    Q_OBJECT
public:
    // `openOutput` runs on the sound's thread; `beep` on the caller's.
    ClickSound(OpenClickOutput openOutput, std::function<void()> beep, QObject* parent = nullptr);
    ~ClickSound() override;

    // Starts opening the stream ahead of the first beat, so its first tick
    // is heard too and on time. A beat without it opens the stream then.
    void open();
    void close();

    // The metronome starts now, beating every `beat`: its first tick comes
    // a beat from now, as a timer started now times it.
    void startBeat(std::chrono::milliseconds beat);
    void stopBeat();
    // A tick of the beat as the learner sees it: the stream sounds it on
    // its own, the beep where the stream does not.
    void tick();
    int clicks() const { return m_clicks; }

private:
    class Stream;

    bool streamSounds() const;

    OpenClickOutput m_openOutput;
    std::function<void()> m_beep;
    // The beat is placed on the clock the click player places its output on.
    SteadyBeatClock m_clock;
    std::shared_ptr<Stream> m_stream; // from open() to close()
    quint64 m_beats = 0; // beats given since open()
    int m_clicks = 0;
};

} // namespace morvela
