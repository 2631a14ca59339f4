#include "ui/ClickSound.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace morvela {

// One stream from open to close, on a thread of its own that runs its jobs
// in order. Its owner posts and never waits: when the owner lets go, the
// thread drops what it has not done yet, closes the stream and ends, however
// long the sound server keeps it.
class ClickSound::Stream {
public:
    using Job = std::function<void(ClickOutput&)>;

    static std::shared_ptr<Stream> open(OpenClickOutput openOutput)
    {
        auto stream = std::make_shared<Stream>();
        std::thread([stream, openOutput = std::move(openOutput)] { stream->run(openOutput); }).detach();
        return stream;
    }

    // `job` runs once the stream is open, if it opens.
    void post(Job job)
    {
        {
            std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_wake.notify_one();
    }

    void close()
    {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_wake.notify_one();
    }

    // Beats handed over since open, and whether the stream sounds now.
    quint64 beatsHanded() const
    {
        std::lock_guard lock(m_mutex);
        return m_beatsHanded;
    }
    bool sounding() const
    {
        std::lock_guard lock(m_mutex);
        return m_output && m_output->sounding();
    }
    void beatHanded()
    {
        std::lock_guard lock(m_mutex);
        ++m_beatsHanded;
    }

private:
    void run(const OpenClickOutput& openOutput)
    {
        std::unique_ptr<ClickOutput> opened = openOutput();
        {
            std::lock_guard lock(m_mutex);
            m_output = std::move(opened);
        }
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_closing || !m_jobs.empty(); });
                if (m_closing)
                    break;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            // Only this thread changes the output, so it is used unlocked.
            if (m_output)
                job(*m_output);
        }
        std::unique_ptr<ClickOutput> closing;
        {
            std::lock_guard lock(m_mutex);
            closing = std::move(m_output);
        }
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_closing = false;
    std::unique_ptr<ClickOutput> m_output;
    quint64 m_beatsHanded = 0;
};

ClickSound::ClickSound(OpenClickOutput openOutput, std::function<void()> beep, QObject* parent)
    : QObject(parent), m_openOutput(std::move(openOutput)), m_beep(std::move(beep))
{
}

ClickSound::~ClickSound()
{
    close();
}

void ClickSound::open()
{
    if (m_stream)
        return;
    m_stream = Stream::open(m_openOutput);
    m_beats = 0;
}

void ClickSound::close()
{
    if (m_stream)
        m_stream->close();
    m_stream.reset();
}

void ClickSound::startBeat(std::chrono::milliseconds beat)
{
    open();
    const qint64 beatNs = std::chrono::nanoseconds(beat).count();
    const qint64 firstTickNs = m_clock.nowNs() + beatNs;
    ++m_beats;
    m_stream->post([stream = m_stream.get(), firstTickNs, beatNs](ClickOutput& output) {
        output.beat(firstTickNs, beatNs);
        stream->beatHanded();
    });
}

void ClickSound::stopBeat()
{
    if (m_stream)
        m_stream->post([](ClickOutput& output) { output.stop(); });
}

void ClickSound::tick()
{
    ++m_clicks;
    if (!streamSounds())
        m_beep();
}

bool ClickSound::streamSounds() const
{
    // Until the stream has the beat the learner hears, its ticks are the beep's.
    return m_stream && m_stream->beatsHanded() == m_beats && m_stream->sounding();
}

} // namespace morvela
