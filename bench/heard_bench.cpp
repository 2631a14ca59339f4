// Heard-metronome benchmark: what a learner hears of the lesson window's
// metronome, measured in the sound itself.
//
//   heard_bench [TICKS] [detail]
//
// Runs Lesson 1's window with the fastest tempo table (650, 500, 400, 300,
// 250 ms) for TICKS ticks at each speed level, stepping up with "速く", while
// `parec` records the default sink's monitor. The sound server is the one in
// PULSE_SERVER; heard_bench.sh starts a private one with a null sink. Click
// onsets are found in the recording and matched to the ticks. Prints per
// level: ticks, clicks heard, mean and worst deviation of the intervals
// between heard clicks from the nominal interval (a gap over an unheard tick
// counts as two intervals), and the delay from the tick to the click's onset;
// with "detail", every tick's interval and delay on the standard error.

#include "ui/AppContext.h"
#include "lessons/RhythmLessonWindow.h"
#include "support/RecordingMessageService.h"
#include "ui/ModuleClickOutput.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include <unistd.h>

using namespace morvela;

namespace {

constexpr int Rate = 48000;
// A sample this loud after this much quiet is a click's onset; the click
// peaks near 17000 and lasts 30 ms, the fastest beat is 250 ms.
constexpr int OnsetLevel = 3000;
constexpr int QuietFrames = Rate / 10;

// The clock the metronome and its sound are timed with.
qint64 steadyNs() { return SteadyBeatClock().nowNs(); }

// Records the monitor on a thread of its own, so the lesson's event loop
// neither delays the recording nor is delayed by it. A block arrives after
// the server rendered its last frame: the tightest of these bounds places
// frame 0 on the steady clock. The recorder asks for 10 ms, which makes the
// server keep the lesson's stream short too (about 40 ms queued): harder on
// the stream than a desktop with no other sound, but with longer blocks the
// recording no longer keeps to the clock.
class MonitorRecorder {
public:
    bool start()
    {
        m_thread = std::thread([this] { run(); });
        const qint64 deadline = steadyNs() + 5'000'000'000;
        while (!m_started && !m_failed && steadyNs() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return m_started;
    }

    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    std::vector<qint16> samples() const { return m_samples; }
    qint64 frameZeroNs() const { return m_frameZeroNs; }

private:
    void run()
    {
        QProcess parec;
        QStringList args{QStringLiteral("parec"),
                         QStringLiteral("--device=@DEFAULT_MONITOR@"),
                         QStringLiteral("--format=s16le"),
                         QStringLiteral("--channels=1"),
                         QStringLiteral("--rate=%1").arg(Rate),
                         QStringLiteral("--latency-msec=10"),
                         QStringLiteral("--raw")};
        // The recorder is the measuring instrument: where it may, it runs at
        // the sound server's real-time priority, so a busy machine starves
        // the lesson's sound and not the recording of it.
        if (geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("chrt")).isEmpty())
            args = QStringList{QStringLiteral("chrt"), QStringLiteral("-r"), QStringLiteral("5")} + args;
        parec.start(args.takeFirst(), args);
        if (!parec.waitForStarted(3000)) {
            std::fprintf(stderr, "parec did not start\n");
            m_failed = true;
            return;
        }
        QByteArray pending;
        while (!m_stop && parec.state() == QProcess::Running) {
            if (!parec.waitForReadyRead(50))
                continue;
            const qint64 now = steadyNs();
            pending += parec.readAllStandardOutput();
            const qsizetype whole = pending.size() & ~qsizetype(1);
            const auto* s = reinterpret_cast<const qint16*>(pending.constData());
            m_samples.insert(m_samples.end(), s, s + whole / 2);
            pending.remove(0, whole);
            const qint64 frames = qint64(m_samples.size());
            m_frameZeroNs = std::min(m_frameZeroNs, now - frames * 1'000'000'000 / Rate);
            m_started = true;
        }
        if (parec.state() != QProcess::Running && !m_stop)
            std::fprintf(stderr, "parec ended: %s\n", parec.readAllStandardError().constData());
        parec.terminate();
        if (!parec.waitForFinished(2000))
            parec.kill();
    }

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_failed{false};
    std::vector<qint16> m_samples;
    qint64 m_frameZeroNs = std::numeric_limits<qint64>::max();
};

// Onsets, in frames of the recording.
std::vector<qint64> FindOnsets(const std::vector<qint16>& samples)
{
    std::vector<qint64> onsets;
    qint64 lastLoud = -QuietFrames;
    for (qint64 i = 0; i < qint64(samples.size()); ++i) {
        if (std::abs(int(samples[size_t(i)])) < OnsetLevel)
            continue;
        if (i - lastLoud >= QuietFrames)
            onsets.push_back(i);
        lastLoud = i;
    }
    return onsets;
}

struct Level {
    int interval = 0;
    std::vector<qint64> ticks; // steady ns
};

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const std::vector<Level>& levels, const std::vector<double>& onsetMs, bool detail)
{
    // The usual delay, from the slowest level's ticks to the nearest onset
    // within half a beat, lets each tick find its own click at every level.
    // It may be below zero: the clicks are written ahead of their ticks, and
    // a null sink's monitor has a frame as the sink renders it, its latency
    // before a sound card would play it.
    std::vector<double> firstDelays;
    const double slowHalf = levels.front().interval / 2.0;
    for (qint64 tick : levels.front().ticks) {
        const double t = tick / 1e6;
        auto it = std::lower_bound(onsetMs.begin(), onsetMs.end(), t - slowHalf);
        if (it != onsetMs.end() && *it - t < slowHalf)
            firstDelays.push_back(*it - t);
    }
    const double usualDelay = Median(firstDelays);

    std::printf("%-6s %-9s %6s %6s %10s %10s %11s %11s %11s\n", "level", "interval", "ticks", "heard",
                "mean (ms)", "worst (ms)", "delay mean", "delay min", "delay max");
    std::vector<bool> used(onsetMs.size(), false);
    for (size_t l = 0; l < levels.size(); ++l) {
        const Level& level = levels[l];
        const double half = level.interval / 2.0;
        std::vector<std::pair<int, double>> heard; // tick index, onset ms
        std::vector<double> delays;
        for (int k = 0; k < int(level.ticks.size()); ++k) {
            const double expected = level.ticks[size_t(k)] / 1e6 + usualDelay;
            auto it = std::lower_bound(onsetMs.begin(), onsetMs.end(), expected - half);
            for (; it != onsetMs.end() && *it < expected + half; ++it) {
                const size_t i = size_t(it - onsetMs.begin());
                if (used[i])
                    continue;
                used[i] = true;
                heard.emplace_back(k, *it);
                delays.push_back(*it - level.ticks[size_t(k)] / 1e6);
                break;
            }
            if (detail) {
                const double tick = level.ticks[size_t(k)] / 1e6;
                const bool found = !heard.empty() && heard.back().first == k;
                std::fprintf(stderr, "level %zu tick %3d  since previous %8.3f ms  delay %s\n", l + 1, k,
                             k ? tick - level.ticks[size_t(k - 1)] / 1e6 : 0.0,
                             found ? qPrintable(QString::number(heard.back().second - tick, 'f', 3)) : "unheard");
            }
        }
        std::vector<double> deviations;
        for (size_t i = 1; i < heard.size(); ++i) {
            const int beats = heard[i].first - heard[i - 1].first;
            deviations.push_back(std::abs(heard[i].second - heard[i - 1].second - double(beats) * level.interval));
        }
        double mean = 0, worst = 0;
        for (double d : deviations) {
            mean += d;
            worst = std::max(worst, d);
        }
        if (!deviations.empty())
            mean /= double(deviations.size());
        double delayMean = 0;
        for (double d : delays)
            delayMean += d;
        if (!delays.empty())
            delayMean /= double(delays.size());
        const auto [dmin, dmax] = std::minmax_element(delays.begin(), delays.end());
        std::printf("%-6zu %6d ms %6zu %6zu %10.3f %10.3f %11.1f %11.1f %11.1f\n", l + 1, level.interval,
                    level.ticks.size(), heard.size(), mean, worst, delayMean, delays.empty() ? 0.0 : *dmin,
                    delays.empty() ? 0.0 : *dmax);
    }
    const auto unmatched = std::count(used.begin(), used.end(), false);
    if (detail) {
        // A click no tick asked for: where it fell among the ticks.
        std::vector<std::pair<qint64, size_t>> ticks; // ns, level
        for (size_t l = 0; l < levels.size(); ++l)
            for (qint64 t : levels[l].ticks)
                ticks.emplace_back(t, l);
        std::sort(ticks.begin(), ticks.end());
        for (size_t i = 0; i < used.size(); ++i) {
            if (used[i])
                continue;
            auto next = std::lower_bound(ticks.begin(), ticks.end(), std::make_pair(qint64(onsetMs[i] * 1e6), size_t(0)));
            std::fprintf(stderr, "unmatched onset at %.3f ms: ", onsetMs[i]);
            if (next != ticks.begin())
                std::fprintf(stderr, "%.1f ms after a tick of level %zu, ", onsetMs[i] - std::prev(next)->first / 1e6,
                             std::prev(next)->second + 1);
            if (next != ticks.end())
                std::fprintf(stderr, "%.1f ms before a tick of level %zu", next->first / 1e6 - onsetMs[i], next->second + 1);
            std::fprintf(stderr, "\n");
        }
    }
    std::printf("onsets in the recording: %zu, matched to no tick: %td\n", onsetMs.size(), unmatched);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(2, atoi(argv[1])) : 200;
    const bool detail = argc > 2 && QByteArray(argv[2]) == "detail";
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        std::fprintf(stderr, "PULSE_SERVER is not set: use heard_bench.sh for a private sound server\n");

    MonitorRecorder recorder;
    if (!recorder.start()) {
        std::fprintf(stderr, "no recording from the sound server's monitor\n");
        recorder.stop();
        return 1;
    }

    QTemporaryDir folder;
    AppState state(folder.path());
    state.progress.LessonStates[0] = LessonState::Completed;
    ApplyOptionCode(state.settings, 3); // すごく速い: 650 .. 250 ms
    test::RecordingMessageService messages;
    ModalRunner runner;
    SteadyClock clock;
    DesktopUrlOpener links; // never asked: no window here opens a link
    AppContext ctx(state, messages, runner, clock, links, ModuleClickOutput(QCoreApplication::applicationDirPath()));

    std::vector<Level> levels(5);
    for (int l = 0; l < 5; ++l)
        levels[size_t(l)].interval = state.settings.RhythmInterval[size_t(l)];

    auto* window = new RhythmLessonWindow(ctx, 1);
    QTimer& timer = window->Timer1();
    QObject::disconnect(&timer, nullptr, window, nullptr);
    size_t level = 0;
    QObject::connect(&timer, &QTimer::timeout, window, [&] {
        levels[level].ticks.push_back(steadyNs()); // the beat, before its sound
        window->Timer1_Timer();
        if (int(levels[level].ticks.size()) < ticks)
            return;
        if (++level < levels.size()) {
            window->Command2_Click(); // the next level restarts the timer
            return;
        }
        window->Command1_Click(); // 音停止, as a learner stops the metronome
        // Let the last click play out, then close the lesson as a learner does.
        QTimer::singleShot(1500, &app, [&] {
            window->done(QDialog::Rejected);
            delete window;
            QTimer::singleShot(300, &app, &QApplication::quit);
        });
    });

    window->Form_Load(); // level 1: the metronome starts
    window->show();
    app.exec();
    recorder.stop();

    const std::vector<qint16> samples = recorder.samples();
    std::vector<double> onsetMs;
    for (qint64 f : FindOnsets(samples))
        onsetMs.push_back((recorder.frameZeroNs() + f * 1'000'000'000 / Rate) / 1e6);
    int peak = 0;
    for (qint16 v : samples)
        peak = std::max(peak, std::abs(int(v)));
    std::printf("recorded %.1f s, peak level %d\n", double(samples.size()) / Rate, peak);
    Report(levels, onsetMs, detail);
    return 0;
}
