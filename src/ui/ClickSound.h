#pragma once

#include "ui/BeatGrid.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

namespace morvela {

class MessageService;

// An open stream of metronome clicks. Destroying it closes the stream.
class ClickOutput {
public:
    virtual ~ClickOutput() = default;
    // Sounds the click of a tick at `tickNs` on the steady clock; false when
    // the stream cannot sound any more.
    virtual bool click(qint64 tickNs) = 0;
};

// The metronome's click. The X11 and Wayland bell is silent on most
// desktops, so a short click is played into one stream that stays open from
// open() to close() (or the end of its owner, the lesson window); where no
// audio output or no click player is found, the system beep stands in. The
// sound backend lives in a module loaded on open, so the program starts
// without it.
class ClickSound : public QObject {
    Q_OBJECT
public:
    using OpenOutput = std::function<std::unique_ptr<ClickOutput>()>;

    // The click player beside the program; the program's beep stands in.
    explicit ClickSound(MessageService& messages, QObject* parent = nullptr);
    ClickSound(OpenOutput openOutput, std::function<void()> beep, QObject* parent = nullptr);
    ~ClickSound() override;

    // Opens the stream ahead of the first tick, so that one is heard too and
    // on time. A play() without it opens the stream then.
    void open();
    void close();
    bool isOpen() const { return m_output != nullptr; }

    // A click now.
    void play();
    // A tick of a metronome beating every `beat`: its click goes where the
    // tick was due, however late the event loop got round to it.
    void play(std::chrono::milliseconds beat);
    int clicks() const { return m_clicks; }

    // Opens streams through the click player module in `folder`; none when
    // the module is missing or finds no audio output.
    static OpenOutput moduleOutput(const QString& folder);

private:
    void sound(qint64 tickNs);

    OpenOutput m_openOutput;
    std::function<void()> m_beep;
    std::unique_ptr<ClickOutput> m_output;
    BeatGrid m_grid;
    bool m_tried = false; // open() found no output: beep until close()
    int m_clicks = 0;
};

} // namespace morvela
