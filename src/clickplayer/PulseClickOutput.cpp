// The sound server's own stream, asked to keep a quarter of a second queued,
// so a machine busy for that long does not run it dry. It is fed from the
// server's client thread whenever the server asks for more, and placed by
// the server's own timing reports as they arrive, not by the client
// library's interpolation between them: under PipeWire that interpolation
// runs slow and snaps back at each report, tens of milliseconds each time.

#include "clickplayer/PulseClickOutput.h"

#include "clickplayer/ClickWave.h"
#include "core/ClickTrack.h"
#include "core/Clock.h"

#include <pulse/pulseaudio.h>

#include <atomic>

#include <sys/time.h>

namespace morvela {

namespace {

// What the sound server is asked to keep queued: the longest the machine
// may keep the stream from being refilled. Under the shortest beat (250 ms),
// so the first tick of a beat can be written in time.
constexpr pa_usec_t QueueUs = 220'000;
// How often the server is asked where the stream is.
constexpr qint64 TimingAskNs = 250'000'000;

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
        pa_stream_set_latency_update_callback(m_stream, &PulseClickOutput::timingReport, this);
        pa_stream_set_underflow_callback(m_stream, &PulseClickOutput::streamUnderflow, this);
        const uint32_t unlimited = uint32_t(-1);
        pa_buffer_attr attr{unlimited, uint32_t(pa_usec_to_bytes(QueueUs, &m_spec)), unlimited,
                            uint32_t(pa_usec_to_bytes(10'000, &m_spec)), unlimited};
        // No timing updates of the client library's own: it asks at times
        // of its choosing, and a graph that counts in blocks answers those
        // up to a block off the answers asked for right after a refill.
        const auto flags = PA_STREAM_NOFLAGS;
        return pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) == 0;
    }

    // Clicks already handed over that must not sound: a new stream, which
    // the track fills from the beat's next tick.
    void renew()
    {
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_set_latency_update_callback(m_stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(m_stream, nullptr, nullptr);
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
        p->askForTiming(s);
        void* buffer = nullptr;
        if (pa_stream_begin_write(s, &buffer, &bytes) < 0 || !buffer)
            return;
        const size_t frame = pa_frame_size(&p->m_spec);
        bytes = bytes / frame * frame;
        p->m_track.read(static_cast<char*>(buffer), qint64(bytes));
        pa_stream_write(s, buffer, bytes, nullptr, 0, PA_SEEK_RELATIVE);
    }

    // Asked right after the server took its last refill, so every answer
    // lies at the same point of a block-counting graph's cycle; and often,
    // since many reports make the line through them surer and a round trip
    // to the server costs little.
    void askForTiming(pa_stream* s)
    {
        // Until the stream has said where it is, at every refill: it does
        // not say so before it plays.
        const qint64 now = m_clock.nowNs();
        if (m_track.placed() && now - m_lastTimingAskNs < TimingAskNs)
            return;
        m_lastTimingAskNs = now;
        if (pa_operation* o = pa_stream_update_timing_info(s, nullptr, nullptr))
            pa_operation_unref(o);
    }

    // A report of the server's: by its timestamp it had taken `read_index`
    // bytes of the stream, and they are heard its sink's latency later.
    static void timingReport(pa_stream* s, void* self)
    {
        auto* p = static_cast<PulseClickOutput*>(self);
        const pa_timing_info* info = pa_stream_get_timing_info(s);
        if (!info || !info->playing || info->read_index_corrupt || info->read_index <= 0)
            return;
        // The timestamp is on the wall clock: brought to the steady clock
        // by its age, which a change of the system time does not touch.
        timeval wall{};
        gettimeofday(&wall, nullptr);
        const qint64 ageNs = qint64(pa_timeval_diff(&wall, &info->timestamp)) * 1000
            * (pa_timeval_cmp(&wall, &info->timestamp) >= 0 ? 1 : -1);
        const qint64 rate = p->m_spec.rate;
        const qint64 taken = qint64(info->read_index) / qint64(pa_frame_size(&p->m_spec));
        const qint64 played = taken - qint64(info->sink_usec) * rate / 1'000'000;
        p->m_track.played(played, p->m_clock.nowNs() - ageNs);
    }

    // The stream ran dry: the server's next report places it anew, and it
    // is asked for one now.
    static void streamUnderflow(pa_stream* s, void* self)
    {
        auto* p = static_cast<PulseClickOutput*>(self);
        p->m_track.underflow();
        if (pa_operation* o = pa_stream_update_timing_info(s, nullptr, nullptr))
            pa_operation_unref(o);
    }

    pa_sample_spec m_spec;
    SteadyBeatClock m_clock;
    ClickTrack m_track; // touched only under the loop's lock
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    qint64 m_lastTimingAskNs = 0;
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
