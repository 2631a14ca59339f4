#pragma once

#include <QObject>
#include <QtGlobal>

#include <chrono>
#include <functional>
#include <memory>

namespace morvela {

class MessageService;

// An open stream of metronome clicks. Destroying it closes the stream.
class ClickOutput {
public:
    virtual ~ClickOutput() = default;
    // A beat with ticks at `firstTickNs` on the steady clock and every
    // `beatNs` after it, until stop(); each click is written ahead of its
    // tick. False when the stream cannot sound any more.
    virtual bool beat(qint64 firstTickNs, qint64 beatNs) = 0;
    virtual void stop() = 0;
    virtual bool sounding() const = 0;
};

// The metronome's click. The X11 and Wayland bell is silent on most
// desktops, so the clicks are written into one stream that stays open from
// open() to close() (or the end of its owner, the lesson window); where no
// audio output or no click player is found, the program's beep stands in at
// each tick. The sound backend lives in a module loaded on open, so the
// program starts without it.
class ClickSound : public QObject {
    Q_OBJECT
public:
    using OpenOutput = std::function<std::unique_ptr<ClickOutput>()>;

    // The click player beside the program; the program's beep stands in.
    explicit ClickSound(MessageService& messages, QObject* parent = nullptr);
    ClickSound(OpenOutput openOutput, std::function<void()> beep, QObject* parent = nullptr);
    ~ClickSound() override;

    // Opens the stream ahead of the first beat, so its first tick is heard
    // too and on time. A beat without it opens the stream then.
    void open();
    void close();
    bool isOpen() const { return m_output != nullptr; }

    // The metronome starts now, beating every `beat`: its first tick comes
    // a beat from now, as a timer started now times it.
    void startBeat(std::chrono::milliseconds beat);
    void stopBeat();
    // A tick of the beat as the learner sees it: the stream sounds it on
    // its own, the beep where there is no stream.
    void tick();
    int clicks() const { return m_clicks; }

    // Opens streams through the click player module in `folder`; none when
    // the module is missing or finds no audio output.
    static OpenOutput moduleOutput(const QString& folder);

private:
    OpenOutput m_openOutput;
    std::function<void()> m_beep;
    std::unique_ptr<ClickOutput> m_output;
    bool m_tried = false; // open() found no output: beep until close()
    int m_clicks = 0;
};

} // namespace morvela
