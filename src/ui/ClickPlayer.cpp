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

namespace {

using morvela::ClickTrack;

constexpr float Volume = 0.8f;
// What the output keeps buffered ahead of the speaker: the click sounds this
// much after its tick. Less lets the output run dry while the lesson's
// window is busy.
constexpr qint64 BufferUs = 100'000;

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

struct ClickPlayer {
    ClickPlayer(const QAudioDevice& device, const QAudioFormat& format, QList<float> click)
        : track({format.sampleRate(), format.channelCount(), TypeOf(format.sampleFormat())}, std::move(click)),
          sink(device, format)
    {
    }
    ClickTrack track; // outlives the sink that pulls it
    QAudioSink sink;
};

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

    auto* player = new ClickPlayer(device, format, std::move(click));
    player->sink.setBufferSize(format.bytesForDuration(BufferUs));
    player->sink.start(&player->track);
    if (player->sink.error() != QAudio::NoError || player->sink.state() == QAudio::StoppedState) {
        delete player;
        return nullptr;
    }
    return player;
}

// Returns false when the stream can no longer sound, so the caller beeps.
Q_DECL_EXPORT bool morvela_click_play(void* p, qint64 tickNs)
{
    auto* player = static_cast<ClickPlayer*>(p);
    if (!player || player->sink.state() == QAudio::StoppedState)
        return false;
    player->track.click(tickNs);
    return true;
}

Q_DECL_EXPORT void morvela_click_delete(void* p)
{
    auto* player = static_cast<ClickPlayer*>(p);
    if (!player)
        return;
    player->sink.stop();
    delete player;
}

} // extern "C"
