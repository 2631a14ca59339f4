// The click player, a module of its own beside the program: Qt Multimedia
// and the sound libraries under it are loaded when a rhythm lesson opens
// instead of at every start.
//
// One output stream stays open while the lesson is; the clicks are placed
// into it ahead of their ticks. A stream per click would have to start up
// for each one, and on a sound server most such clicks are never heard.
//
// On a PulseAudio or PipeWire desktop the stream is the sound server's own,
// asked to keep a quarter of a second queued, so a machine busy for that
// long does not run it dry; elsewhere Qt Multimedia's output stands in, with
// the shorter queue it keeps.

#include "core/ClickSamples.h"
#include "ui/ClickSound.h"
#include "core/ClickTrack.h"

#include <pulse/pulseaudio.h>

#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace {

using morvela::ClickOutput;
using morvela::ClickTrack;

constexpr float Volume = 0.8f;
// What the sound server is asked to keep queued: the longest the machine
// may keep the stream from being refilled. Under the shortest beat (250 ms),
// so the first tick of a beat can be written in time.
constexpr pa_usec_t QueueUs = 220'000;
// Qt's output: what it is asked to buffer (it may keep less), and how often
// it is fed.
constexpr qint64 QtBufferUs = 100'000;
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

// The sound server's own stream, fed from its client thread whenever the
// server asks for more.
// Every call comes from the lesson's thread.
class PulsePlayer final : public ClickOutput {
public:
    static std::unique_ptr<ClickOutput> open()
    {
        const int rate = 48000;
        QList<float> click = ClickAt(rate);
        if (click.isEmpty())
            return nullptr;
        auto p = std::unique_ptr<PulsePlayer>(new PulsePlayer(rate, std::move(click)));
        return p->start() ? std::move(p) : nullptr;
    }

    ~PulsePlayer() override
    {
        if (!m_loop)
            return;
        pa_threaded_mainloop_stop(m_loop);
        if (m_stream) {
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
        }
        if (m_context) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
        pa_threaded_mainloop_free(m_loop);
    }

    bool beat(qint64 firstTickNs, qint64 beatNs) override
    {
        Lock lock(m_loop);
        if (!m_track.beat(firstTickNs, beatNs, ClickTrack::steadyNs()))
            renew();
        return m_sounding;
    }

    void stop() override
    {
        Lock lock(m_loop);
        if (!m_track.stop(ClickTrack::steadyNs()))
            renew();
    }

    bool sounding() const override { return m_sounding; }

private:
    struct Lock {
        explicit Lock(pa_threaded_mainloop* l) : loop(l) { pa_threaded_mainloop_lock(loop); }
        ~Lock() { pa_threaded_mainloop_unlock(loop); }
        pa_threaded_mainloop* loop;
    };

    PulsePlayer(int rate, QList<float> click)
        : m_spec{PA_SAMPLE_S16LE, uint32_t(rate), 1},
          m_track({rate, 1, ClickTrack::SampleType::Int16}, std::move(click))
    {
    }

    bool start()
    {
        m_loop = pa_threaded_mainloop_new();
        if (!m_loop)
            return false;
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Morvela");
        if (!m_context)
            return false;
        pa_context_set_state_callback(m_context, &PulsePlayer::contextState, this);
        // No server is started for us: without one, Qt's output or the beep
        // stands in.
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        Lock lock(m_loop);
        if (pa_threaded_mainloop_start(m_loop) < 0)
            return false;
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(m_context);
            if (state == PA_CONTEXT_READY)
                break;
            if (!PA_CONTEXT_IS_GOOD(state))
                return false;
            pa_threaded_mainloop_wait(m_loop);
        }
        if (!connectStream())
            return false;
        for (;;) {
            const pa_stream_state_t state = pa_stream_get_state(m_stream);
            if (state == PA_STREAM_READY)
                return m_sounding = true;
            if (!PA_STREAM_IS_GOOD(state))
                return false;
            pa_threaded_mainloop_wait(m_loop);
        }
    }

    bool connectStream()
    {
        m_stream = pa_stream_new(m_context, "metronome", &m_spec, nullptr);
        if (!m_stream)
            return false;
        pa_stream_set_state_callback(m_stream, &PulsePlayer::streamState, this);
        pa_stream_set_write_callback(m_stream, &PulsePlayer::streamWrite, this);
        const uint32_t unlimited = uint32_t(-1);
        pa_buffer_attr attr{unlimited, uint32_t(pa_usec_to_bytes(QueueUs, &m_spec)), unlimited,
                            uint32_t(pa_usec_to_bytes(10'000, &m_spec)), unlimited};
        const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE
                                             | PA_STREAM_NOT_MONOTONIC);
        return pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) == 0;
    }

    // Clicks already handed over that must not sound: a new stream, which
    // the track fills from the beat's next tick.
    void renew()
    {
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
        m_track.restart();
        if (!connectStream())
            m_sounding = false;
    }

    static void contextState(pa_context* c, void* self)
    {
        auto* p = static_cast<PulsePlayer*>(self);
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(c)))
            p->m_sounding = false;
        pa_threaded_mainloop_signal(p->m_loop, 0);
    }

    static void streamState(pa_stream* s, void* self)
    {
        auto* p = static_cast<PulsePlayer*>(self);
        const pa_stream_state_t state = pa_stream_get_state(s);
        if (!PA_STREAM_IS_GOOD(state))
            p->m_sounding = false;
        pa_threaded_mainloop_signal(p->m_loop, 0);
    }

    static void streamWrite(pa_stream* s, size_t bytes, void* self)
    {
        auto* p = static_cast<PulsePlayer*>(self);
        pa_usec_t heard = 0;
        if (pa_stream_get_time(s, &heard) == 0)
            p->m_track.played(qint64(heard) * p->m_spec.rate / 1'000'000, ClickTrack::steadyNs());
        void* buffer = nullptr;
        if (pa_stream_begin_write(s, &buffer, &bytes) < 0 || !buffer)
            return;
        const size_t frame = pa_frame_size(&p->m_spec);
        bytes = bytes / frame * frame;
        p->m_track.read(static_cast<char*>(buffer), qint64(bytes));
        pa_stream_write(s, buffer, bytes, nullptr, 0, PA_SEEK_RELATIVE);
    }

    pa_sample_spec m_spec;
    ClickTrack m_track; // touched only under the loop's lock
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    std::atomic<bool> m_sounding{false};
};

// Qt Multimedia's output, on a thread of its own that feeds it: the
// lesson's thread can be held up for longer than the output's buffer lasts.
// The track is only ever touched on that thread.
class QtPlayer final : public ClickOutput {
public:
    static std::unique_ptr<ClickOutput> open()
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
        auto p = std::unique_ptr<QtPlayer>(new QtPlayer);
        p->start(device, format, std::move(click));
        return p->m_sounding ? std::move(p) : nullptr;
    }

    ~QtPlayer() override
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

    bool beat(qint64 firstTickNs, qint64 beatNs) override
    {
        onThread([=, this] {
            if (!m_track->beat(firstTickNs, beatNs, ClickTrack::steadyNs()))
                renew();
        });
        return m_sounding;
    }

    void stop() override
    {
        onThread([this] {
            if (!m_track->stop(ClickTrack::steadyNs()))
                renew();
        });
    }

    bool sounding() const override { return m_sounding; }

private:
    QtPlayer() = default;

    // Runs `job` on the stream's thread and waits for it.
    template <typename Job>
    void onThread(Job job)
    {
        QMetaObject::invokeMethod(m_home, std::move(job), Qt::BlockingQueuedConnection);
    }

    void start(const QAudioDevice& device, const QAudioFormat& format, QList<float> click)
    {
        m_thread.setObjectName(QStringLiteral("morvela click"));
        m_thread.start(QThread::HighestPriority);
        m_home = new QObject;
        m_home->moveToThread(&m_thread);
        onThread([&] {
            m_track = new ClickTrack({format.sampleRate(), format.channelCount(), TypeOf(format.sampleFormat())},
                                     std::move(click));
            m_sink = new QAudioSink(device, format);
            QObject::connect(m_sink, &QAudioSink::stateChanged, m_home,
                             [this](QAudio::State state) { m_sounding = state != QAudio::StoppedState; });
            m_sink->setBufferSize(format.bytesForDuration(QtBufferUs));
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
    }

    void feed()
    {
        if (!m_sounding)
            return;
        const qint64 heardUs = m_sink->processedUSecs();
        m_track->played(heardUs * m_track->format().sampleRate / 1'000'000, ClickTrack::steadyNs());
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

    QThread m_thread;
    QObject* m_home = nullptr; // lives on the thread; owns the feeding timer
    ClickTrack* m_track = nullptr;
    QAudioSink* m_sink = nullptr;
    QIODevice* m_input = nullptr; // the sink's, while it plays
    std::atomic<bool> m_sounding{false};
};

} // namespace

extern "C" {

// Opens the stream on the default output; null where there is none.
Q_DECL_EXPORT void* morvela_click_new()
{
    std::unique_ptr<ClickOutput> player = PulsePlayer::open();
    if (!player)
        player = QtPlayer::open();
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
