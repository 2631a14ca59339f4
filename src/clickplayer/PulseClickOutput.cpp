// The sound server's own stream, asked to keep a quarter of a second queued,
// so a machine busy for that long does not run it dry. It is fed from the
// server's client thread whenever the server asks for more.

#include "clickplayer/PulseClickOutput.h"

#include "clickplayer/ClickWave.h"
#include "core/ClickTrack.h"
#include "core/Clock.h"

#include <pulse/pulseaudio.h>

#include <atomic>

namespace morvela {

namespace {

// What the sound server is asked to keep queued: the longest the machine
// may keep the stream from being refilled. Under the shortest beat (250 ms),
// so the first tick of a beat can be written in time.
constexpr pa_usec_t QueueUs = 220'000;

// Every call but the server's callbacks comes from the sound's own thread.
class PulseClickOutput final : public ClickOutput {
public:
    PulseClickOutput(int rate, QList<float> click)
        : m_spec{PA_SAMPLE_S16LE, uint32_t(rate), 1},
          m_track({rate, 1, ClickTrack::SampleType::Int16}, std::move(click), m_clock)
    {
    }

    ~PulseClickOutput() override
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

    // Connects and waits until the stream plays, or the server refuses or
    // gives up.
    bool start(bool* serverSilent)
    {
        m_loop = pa_threaded_mainloop_new();
        if (!m_loop)
            return false;
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Morvela");
        if (!m_context)
            return false;
        pa_context_set_state_callback(m_context, &PulseClickOutput::contextState, this);
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
            if (!PA_CONTEXT_IS_GOOD(state)) {
                *serverSilent = pa_context_errno(m_context) == PA_ERR_TIMEOUT;
                return false;
            }
            pa_threaded_mainloop_wait(m_loop);
        }
        if (!connectStream())
            return false;
        for (;;) {
            const pa_stream_state_t state = pa_stream_get_state(m_stream);
            if (state == PA_STREAM_READY)
                return m_sounding = true;
            if (!PA_STREAM_IS_GOOD(state)) {
                *serverSilent = pa_context_errno(m_context) == PA_ERR_TIMEOUT;
                return false;
            }
            pa_threaded_mainloop_wait(m_loop);
        }
    }

    bool beat(qint64 firstTickNs, qint64 beatNs) override
    {
        Lock lock(m_loop);
        if (!m_track.beat(firstTickNs, beatNs))
            renew();
        return m_sounding;
    }

    void stop() override
    {
        Lock lock(m_loop);
        if (!m_track.stop())
            renew();
    }

    bool sounding() const override { return m_sounding; }

private:
    struct Lock {
        explicit Lock(pa_threaded_mainloop* l) : loop(l) { pa_threaded_mainloop_lock(loop); }
        ~Lock() { pa_threaded_mainloop_unlock(loop); }
        pa_threaded_mainloop* loop;
    };

    bool connectStream()
    {
        m_stream = pa_stream_new(m_context, "metronome", &m_spec, nullptr);
        if (!m_stream)
            return false;
        pa_stream_set_state_callback(m_stream, &PulseClickOutput::streamState, this);
        pa_stream_set_write_callback(m_stream, &PulseClickOutput::streamWrite, this);
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
        auto* p = static_cast<PulseClickOutput*>(self);
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(c)))
            p->m_sounding = false;
        pa_threaded_mainloop_signal(p->m_loop, 0);
    }

    static void streamState(pa_stream* s, void* self)
    {
        auto* p = static_cast<PulseClickOutput*>(self);
        const pa_stream_state_t state = pa_stream_get_state(s);
        if (!PA_STREAM_IS_GOOD(state))
            p->m_sounding = false;
        pa_threaded_mainloop_signal(p->m_loop, 0);
    }

    static void streamWrite(pa_stream* s, size_t bytes, void* self)
    {
        auto* p = static_cast<PulseClickOutput*>(self);
        pa_usec_t heard = 0;
        if (pa_stream_get_time(s, &heard) == 0)
            p->m_track.played(qint64(heard) * p->m_spec.rate / 1'000'000);
        void* buffer = nullptr;
        if (pa_stream_begin_write(s, &buffer, &bytes) < 0 || !buffer)
            return;
        const size_t frame = pa_frame_size(&p->m_spec);
        bytes = bytes / frame * frame;
        p->m_track.read(static_cast<char*>(buffer), qint64(bytes));
        pa_stream_write(s, buffer, bytes, nullptr, 0, PA_SEEK_RELATIVE);
    }

    pa_sample_spec m_spec;
    SteadyBeatClock m_clock;
    ClickTrack m_track; // touched only under the loop's lock
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    std::atomic<bool> m_sounding{false};
};

} // namespace

std::unique_ptr<ClickOutput> OpenPulseClickOutput(bool* serverSilent)
{
    *serverSilent = false;
    const int rate = 48000;
    QList<float> click = ClickWaveAt(rate);
    if (click.isEmpty())
        return nullptr;
    auto output = std::make_unique<PulseClickOutput>(rate, std::move(click));
    if (!output->start(serverSilent))
        return nullptr;
    return output;
}

} // namespace morvela
