// The click player, a module of its own beside the program: Qt Multimedia
// and the sound libraries under it are loaded when a rhythm lesson opens
// instead of at every start.
//
// One output stream stays open while the lesson is; the clicks are placed
// into it. A stream per click would have to start up for each one, and on a
// sound server most such clicks are never heard.

#include "ui/ClickSamples.h"
#include "ui/ClickTrack.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace {

using morvela::ClickTrack;

constexpr float Volume = 0.8f;
// What the output is asked to keep buffered ahead of the speaker: the click
// sounds about this much after its tick. A sound server may give less (when
// another client wants a short latency); less again and a busy machine lets
// the output run dry.
constexpr qint64 BufferUs = 100'000;
constexpr int FeedMs = 10;

ClickTrack::SampleType TypeOf(QAudioFormat::SampleFormat f)
{
    switch (f) {
    case QAudioFormat::UInt8:
        return ClickTrack::SampleType::UInt8;
    case QAudioFormat::Int32:
        return ClickTrack::SampleType::Int32;
    case QAudioFormat::Float:
        return ClickTrack::SampleType::Float;
    default:
        return ClickTrack::SampleType::Int16;
    }
}

QList<float> ClickAt(int rate)
{
    QFile file(QStringLiteral(":/morvela/click.wav"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    int wavRate = 0;
    QList<float> click = morvela::ClickSamples::fromWav(file.readAll(), &wavRate);
    for (float& s : click)
        s *= Volume;
    return morvela::ClickSamples::resampled(click, wavRate, rate);
}

// The stream lives on a thread of its own, which feeds it: the lesson's
// thread can be held up for longer than the output's buffer lasts (gaps of
// 100 ms were measured on a busy machine). The track is only ever touched on
// that thread; ticks reach it as queued calls carrying their own time, so
// when they arrive does not move the click.
struct ClickPlayer {
    QThread thread;
    QObject* home = nullptr; // lives on the thread; owns the feeding timer
    ClickTrack* track = nullptr;
    QAudioSink* sink = nullptr;
    QIODevice* input = nullptr; // the sink's, while it plays
    std::atomic<bool> sounding{false};

    // Runs `job` on the stream's thread and waits for it.
    template <typename Job>
    void onThread(Job job)
    {
        QMetaObject::invokeMethod(home, std::move(job), Qt::BlockingQueuedConnection);
    }
};

void Close(ClickPlayer* player)
{
    player->onThread([player] {
        if (player->sink)
            player->sink->stop();
        delete player->home; // and the timer that feeds the sink
        delete player->sink;
        delete player->track;
    });
    player->thread.quit();
    player->thread.wait();
    delete player;
}

} // namespace

extern "C" {

// Opens the stream on the default output; null where there is none.
Q_DECL_EXPORT void* morvela_click_new()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    QAudioFormat format = device.preferredFormat();
    QAudioFormat int16 = format;
    int16.setSampleFormat(QAudioFormat::Int16);
    if (device.isFormatSupported(int16))
        format = int16;
    if (format.sampleRate() <= 0 || format.channelCount() <= 0)
        return nullptr;
    QList<float> click = ClickAt(format.sampleRate());
    if (click.isEmpty())
        return nullptr;

    auto* player = new ClickPlayer;
    player->thread.setObjectName(QStringLiteral("morvela click"));
    player->thread.start(QThread::HighestPriority);
    player->home = new QObject;
    player->home->moveToThread(&player->thread);
    player->onThread([&] {
        player->track = new ClickTrack({format.sampleRate(), format.channelCount(), TypeOf(format.sampleFormat())},
                                       std::move(click));
        player->sink = new QAudioSink(device, format);
        QObject::connect(player->sink, &QAudioSink::stateChanged, player->home,
                         [player](QAudio::State state) { player->sounding = state != QAudio::StoppedState; });
        player->sink->setBufferSize(format.bytesForDuration(BufferUs));
        player->input = player->sink->start();
        player->sounding = player->input && player->sink->error() == QAudio::NoError
            && player->sink->state() != QAudio::StoppedState;
        // The stream is fed here rather than pulled: pulling, Qt's output
        // takes one 20 ms period a wake-up, and a late wake-up costs what
        // the server had queued. Fed every 10 ms with all the room the
        // server gives, it ran dry less often on a busy machine.
        auto* feed = new QTimer(player->home);
        feed->setTimerType(Qt::PreciseTimer);
        QObject::connect(feed, &QTimer::timeout, player->home, [player] {
            const int frame = player->track->format().bytesPerFrame();
            const qint64 room = player->sink->bytesFree() / frame * frame;
            if (room > 0 && player->sounding)
                player->input->write(player->track->read(room));
        });
        feed->start(FeedMs);
    });
    if (!player->sounding) {
        Close(player);
        return nullptr;
    }
    return player;
}

// Returns false when the stream can no longer sound, so the caller beeps.
Q_DECL_EXPORT bool morvela_click_play(void* p, qint64 tickNs)
{
    auto* player = static_cast<ClickPlayer*>(p);
    if (!player || !player->sounding)
        return false;
    QMetaObject::invokeMethod(player->home, [player, tickNs] { player->track->click(tickNs); }, Qt::QueuedConnection);
    return true;
}

Q_DECL_EXPORT void morvela_click_delete(void* p)
{
    if (p)
        Close(static_cast<ClickPlayer*>(p));
}

} // extern "C"
