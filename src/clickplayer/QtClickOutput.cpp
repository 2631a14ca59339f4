// Qt Multimedia's output, on a thread of its own that feeds it: the thread
// that asks for the beat can be held up for longer than the output's buffer
// lasts. The track is only ever touched on that thread.

#include "clickplayer/QtClickOutput.h"

#include "clickplayer/ClickWave.h"
#include "core/ClickTrack.h"
#include "core/Clock.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace morvela {

namespace {

// What the output is asked to buffer (it may keep less), and how often it
// is fed.
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

class QtClickOutput final : public ClickOutput {
public:
    ~QtClickOutput() override
    {
        onThread([this] {
            if (m_sink)
                m_sink->stop();
            delete m_home; // and the timer that feeds the sink
            delete m_sink;
            delete m_track;
        });
        m_thread.quit();
        m_thread.wait();
    }

    bool start(const QAudioDevice& device, const QAudioFormat& format, QList<float> click)
    {
        m_thread.setObjectName(QStringLiteral("morvela click"));
        m_thread.start(QThread::HighestPriority);
        m_home = new QObject;
        m_home->moveToThread(&m_thread);
        onThread([&] {
            m_track = new ClickTrack({format.sampleRate(), format.channelCount(), TypeOf(format.sampleFormat())},
                                     std::move(click), m_clock);
            m_sink = new QAudioSink(device, format);
            QObject::connect(m_sink, &QAudioSink::stateChanged, m_home,
                             [this](QAudio::State state) { m_sounding = state != QAudio::StoppedState; });
            m_sink->setBufferSize(format.bytesForDuration(BufferUs));
            m_input = m_sink->start();
            m_sounding = m_input && m_sink->error() == QAudio::NoError && m_sink->state() != QAudio::StoppedState;
            // Fed here rather than pulled: pulling, Qt's output takes one
            // 20 ms period a wake-up, and a late wake-up costs what the
            // server had queued.
            auto* feed = new QTimer(m_home);
            feed->setTimerType(Qt::PreciseTimer);
            QObject::connect(feed, &QTimer::timeout, m_home, [this] { this->feed(); });
            feed->start(FeedMs);
        });
        return m_sounding;
    }

    bool beat(qint64 firstTickNs, qint64 beatNs) override
    {
        onThread([=, this] {
            if (!m_track->beat(firstTickNs, beatNs))
                renew();
        });
        return m_sounding;
    }

    void stop() override
    {
        onThread([this] {
            if (!m_track->stop())
                renew();
        });
    }

    bool sounding() const override { return m_sounding; }

private:
    // Runs `job` on the output's thread and waits for it.
    template <typename Job>
    void onThread(Job job)
    {
        QMetaObject::invokeMethod(m_home, std::move(job), Qt::BlockingQueuedConnection);
    }

    void feed()
    {
        if (!m_sounding)
            return;
        const qint64 heardUs = m_sink->processedUSecs();
        m_track->played(heardUs * m_track->format().sampleRate / 1'000'000);
        const int frame = m_track->format().bytesPerFrame();
        const qint64 room = m_sink->bytesFree() / frame * frame;
        if (room > 0)
            m_input->write(m_track->read(room));
    }

    void renew()
    {
        m_sink->stop();
        m_track->restart();
        m_input = m_sink->start();
        m_sounding = m_input && m_sink->error() == QAudio::NoError;
    }

    SteadyBeatClock m_clock;
    QThread m_thread;
    QObject* m_home = nullptr; // lives on the thread; owns the feeding timer
    ClickTrack* m_track = nullptr;
    QAudioSink* m_sink = nullptr;
    QIODevice* m_input = nullptr; // the sink's, while it plays
    std::atomic<bool> m_sounding{false};
};

} // namespace

std::unique_ptr<ClickOutput> OpenQtClickOutput()
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
    QList<float> click = ClickWaveAt(format.sampleRate());
    if (click.isEmpty())
        return nullptr;
    auto output = std::make_unique<QtClickOutput>();
    if (!output->start(device, format, std::move(click)))
        return nullptr;
    return output;
}

} // namespace morvela
