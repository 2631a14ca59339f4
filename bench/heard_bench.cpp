// Heard-metronome benchmark: what a learner hears of the lesson window's
// metronome, measured in the sound itself.
//
//   heard_bench [TICKS] [detail]
//
// Runs Lesson 1's window with the fastest tempo table (650, 500, 400, 300,
// 250 ms) for TICKS ticks at each speed level, stepping up with "速く" and
// at the end back down once with "遅く", while recorders take the default
// sink's monitor at the server's own pace (no recorder asks for a short
// buffer: that would change the lesson's stream as no learner's desktop
// does). The sound server is the one in PULSE_SERVER; heard_bench.sh starts
// a private one with a null sink. The recorders are named in
// HEARD_RECORDERS ("parec", "pw-record"; parec where it is not set).
//
// Before the lesson a reference track, clicks exactly RefSpacing frames
// apart, is played through the same server: its intervals as recorded show
// what the recording path itself adds. Click onsets are found in each
// recording and matched to the beat's ticks (each level's first tick a beat
// after its start, the next ones a beat apart, as the lesson's sound places
// them). Intervals are measured in frames of the recording. Prints per
// recorder and level: ticks, clicks heard, mean and worst deviation of the
// intervals between heard clicks from the beat (a gap over an unheard tick
// counts as that many beats), the deviation of the interval from the level
// before's last click to the level's first (the tempo change), and the
// delay from the tick to the click's onset; with "detail", every tick's
// delay on the standard error.

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
#include <limits>
#include <memory>
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
// The reference track: clicks this many frames apart.
constexpr int RefClicks = 16;
constexpr qint64 RefSpacing = Rate / 2;

// The clock the metronome and its sound are timed with.
qint64 steadyNs() { return SteadyBeatClock().nowNs(); }

// Records the monitor with one recorder on a thread of its own, so the
// lesson's event loop neither delays the recording nor is delayed by it. A
// block arrives after the server rendered its last frame: the tightest of
// these bounds places frame 0 on the steady clock, closely enough to match
// clicks to ticks; intervals are taken in the recording's own frames.
class MonitorRecorder {
public:
    explicit MonitorRecorder(QString name) : m_name(std::move(name)) {}
    ~MonitorRecorder() { stop(); }

    const QString& name() const { return m_name; }

    bool start()
    {
        m_thread = std::thread([this] { run(); });
        const qint64 deadline = steadyNs() + 10'000'000'000;
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

    const std::vector<qint16>& samples() const { return m_samples; }
    qint64 frameZeroNs() const { return m_frameZeroNs; }

private:
    QStringList command() const
    {
        const QString rate = QString::number(Rate);
        if (m_name == QLatin1String("pw-record"))
            return {m_name, QStringLiteral("--target"), qEnvironmentVariable("HEARD_SINK", QStringLiteral("bench")),
                    QStringLiteral("-P"), QStringLiteral("{ stream.capture.sink=true }"), QStringLiteral("--rate"), rate,
                    QStringLiteral("--channels"), QStringLiteral("1"), QStringLiteral("--format"), QStringLiteral("s16"),
                    QStringLiteral("-")};
        // parec left to the server's default fragment loses whole fragments
        // of the recording under PipeWire; one of 200 ms is longer than the
        // graph's block, so it keeps the graph as it is.
        return {m_name, QStringLiteral("--device=@DEFAULT_MONITOR@"), QStringLiteral("--format=s16le"),
                QStringLiteral("--channels=1"), QStringLiteral("--rate=") + rate, QStringLiteral("--latency-msec=200"),
                QStringLiteral("--raw")};
    }

    void run()
    {
        QProcess recorder;
        QStringList args = command();
        // The recorder is the measuring instrument: where it may, it runs at
        // the sound server's real-time priority, so a busy machine starves
        // the lesson's sound and not the recording of it.
        if (geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("chrt")).isEmpty())
            args = QStringList{QStringLiteral("chrt"), QStringLiteral("-r"), QStringLiteral("5")} + args;
        recorder.start(args.takeFirst(), args);
        if (!recorder.waitForStarted(3000)) {
            std::fprintf(stderr, "%s did not start\n", qPrintable(m_name));
            m_failed = true;
            return;
        }
        QByteArray pending;
        while (!m_stop && recorder.state() == QProcess::Running) {
            if (!recorder.waitForReadyRead(50))
                continue;
            const qint64 now = steadyNs();
            pending += recorder.readAllStandardOutput();
            const qsizetype whole = pending.size() & ~qsizetype(1);
            const auto* s = reinterpret_cast<const qint16*>(pending.constData());
            m_samples.insert(m_samples.end(), s, s + whole / 2);
            pending.remove(0, whole);
            const qint64 frames = qint64(m_samples.size());
            m_frameZeroNs = std::min(m_frameZeroNs, now - frames * 1'000'000'000 / Rate);
            m_started = true;
        }
        if (recorder.state() != QProcess::Running && !m_stop)
            std::fprintf(stderr, "%s ended: %s\n", qPrintable(m_name), recorder.readAllStandardError().constData());
        recorder.terminate();
        if (!recorder.waitForFinished(2000))
            recorder.kill();
    }

    QString m_name;
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

// Plays the reference track through the default sink and waits until it
// has been played out.
bool PlayReference()
{
    QByteArray track(RefSpacing * (RefClicks + 1) * 2, 0);
    auto* pcm = reinterpret_cast<qint16*>(track.data());
    for (int c = 0; c < RefClicks; ++c) {
        for (int i = 0; i < Rate * 30 / 1000; ++i) // 30 ms of 1 kHz, fading
            pcm[RefSpacing / 2 + RefSpacing * c + i]
                = qint16(17000 * std::sin(2 * M_PI * 1000 * i / Rate) * (1 - double(i) / (Rate * 30 / 1000)));
    }
    QProcess pacat;
    pacat.start(QStringLiteral("pacat"), {QStringLiteral("--playback"), QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                                          QStringLiteral("--channels=1"), QStringLiteral("--rate=%1").arg(Rate)});
    if (!pacat.waitForStarted(3000))
        return false;
    pacat.write(track);
    pacat.closeWriteChannel();
    return pacat.waitForFinished(60'000) && pacat.exitCode() == 0;
}

struct Level {
    int interval = 0;
    // When the beat was given. The lesson's timer is started with it and
    // keeps to its grid, firing late but never early: the earliest of its
    // ticks, less their beats, is the start.
    qint64 startNs = std::numeric_limits<qint64>::max();
    int ticks = 0;
    void fired(qint64 ns)
    {
        startNs = std::min(startNs, ns - qint64(ticks + 1) * interval * 1'000'000);
        ++ticks;
    }
    qint64 tickNs(int k) const { return startNs + qint64(k + 1) * interval * 1'000'000; }
};

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Totals {
    int ticks = 0, heard = 0;
    double worst = 0; // ms, over every interval and every tempo change
};

// The reference track's intervals, in frames, from `first` on.
void ReportReference(const std::vector<qint64>& onsets, size_t count)
{
    std::vector<double> deviations;
    for (size_t i = 1; i < count; ++i)
        deviations.push_back(std::abs(double(onsets[i] - onsets[i - 1] - RefSpacing)));
    const double worst = deviations.empty() ? 0 : *std::max_element(deviations.begin(), deviations.end());
    std::printf("reference track: %zu of %d clicks, worst interval deviation %.0f frames (%.3f ms)\n", count, RefClicks,
                worst, worst * 1000 / Rate);
}

Totals Report(const std::vector<Level>& levels, const std::vector<qint64>& onsets, qint64 frameZeroNs, bool detail)
{
    auto onsetMs = [&](size_t i) { return (frameZeroNs + onsets[i] * 1'000'000'000 / Rate) / 1e6; };
    // The usual delay, from the slowest level's ticks to the nearest onset
    // within half a beat, lets each tick find its own click at every level.
    // It may be below zero: the clicks are written ahead of their ticks, and
    // a null sink's monitor has a frame as the sink renders it, its latency
    // before a sound card would play it.
    std::vector<double> firstDelays;
    const double slowHalf = levels.front().interval / 2.0;
    for (int k = 0; k < levels.front().ticks; ++k) {
        const double t = levels.front().tickNs(k) / 1e6;
        for (size_t i = 0; i < onsets.size(); ++i) {
            if (std::abs(onsetMs(i) - t) < slowHalf) {
                firstDelays.push_back(onsetMs(i) - t);
                break;
            }
        }
    }
    const double usualDelay = Median(firstDelays);

    std::printf("%-6s %-9s %6s %6s %10s %10s %11s %11s %11s %11s\n", "level", "interval", "ticks", "heard", "mean (ms)",
                "worst (ms)", "change (ms)", "delay mean", "delay min", "delay max");
    Totals totals;
    std::vector<bool> used(onsets.size(), false);
    qint64 lastFrame = -1; // the last heard click, and its tick
    qint64 lastTickNs = 0;
    for (size_t l = 0; l < levels.size(); ++l) {
        const Level& level = levels[l];
        const double half = level.interval / 2.0;
        std::vector<std::pair<int, qint64>> heard; // tick index, onset frame
        std::vector<double> delays;
        double change = -1;
        for (int k = 0; k < level.ticks; ++k) {
            const double tick = level.tickNs(k) / 1e6;
            const double expected = tick + usualDelay;
            bool found = false;
            for (size_t i = 0; i < onsets.size(); ++i) {
                if (used[i] || std::abs(onsetMs(i) - expected) >= half)
                    continue;
                used[i] = found = true;
                heard.emplace_back(k, onsets[i]);
                delays.push_back(onsetMs(i) - tick);
                if (heard.size() == 1 && lastFrame >= 0) {
                    // The first click of a new tempo, after the last of the old.
                    const double gridMs = (level.tickNs(k) - lastTickNs) / 1e6;
                    change = std::abs((onsets[i] - lastFrame) * 1000.0 / Rate - gridMs);
                }
                break;
            }
            if (detail)
                std::fprintf(stderr, "level %zu tick %3d  delay %s\n", l + 1, k,
                             found ? qPrintable(QString::number(delays.back(), 'f', 3)) : "unheard");
        }
        std::vector<double> deviations;
        for (size_t i = 1; i < heard.size(); ++i) {
            const int beats = heard[i].first - heard[i - 1].first;
            const double frames = double(heard[i].second - heard[i - 1].second);
            deviations.push_back(std::abs(frames * 1000.0 / Rate - double(beats) * level.interval));
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
        std::printf("%-6zu %6d ms %6d %6zu %10.3f %10.3f %11s %11.1f %11.1f %11.1f\n", l + 1, level.interval, level.ticks,
                    heard.size(), mean, worst, change < 0 ? "-" : qPrintable(QString::number(change, 'f', 3)), delayMean,
                    delays.empty() ? 0.0 : *dmin, delays.empty() ? 0.0 : *dmax);
        totals.ticks += level.ticks;
        totals.heard += int(heard.size());
        totals.worst = std::max({totals.worst, worst, change});
        if (!heard.empty()) {
            lastFrame = heard.back().second;
            lastTickNs = level.tickNs(heard.back().first);
        }
    }
    const auto unmatched = std::count(used.begin(), used.end(), false);
    if (detail) {
        for (size_t i = 0; i < used.size(); ++i) {
            if (!used[i])
                std::fprintf(stderr, "unmatched onset at %.3f ms\n", onsetMs(i));
        }
    }
    std::printf("onsets in the lesson: %zu, matched to no tick: %td\n", onsets.size(), unmatched);
    return totals;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(2, atoi(argv[1])) : 200;
    const bool detail = argc > 2 && QByteArray(argv[2]) == "detail";
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        std::fprintf(stderr, "PULSE_SERVER is not set: use heard_bench.sh for a private sound server\n");

    std::vector<std::unique_ptr<MonitorRecorder>> recorders;
    const QStringList names = qEnvironmentVariable("HEARD_RECORDERS", QStringLiteral("parec")).split(u' ', Qt::SkipEmptyParts);
    for (const QString& name : names) {
        recorders.push_back(std::make_unique<MonitorRecorder>(name));
        if (!recorders.back()->start()) {
            std::fprintf(stderr, "no recording from the sound server's monitor with %s\n", qPrintable(name));
            return 1;
        }
    }

    if (!PlayReference()) {
        std::fprintf(stderr, "the reference track did not play (pacat)\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const qint64 lessonStartNs = steadyNs();

    QTemporaryDir folder;
    AppState state(folder.path());
    state.progress.LessonStates[0] = LessonState::Completed;
    ApplyOptionCode(state.settings, 3); // すごく速い: 650 .. 250 ms
    test::RecordingMessageService messages;
    ModalRunner runner;
    SteadyClock clock;
    DesktopUrlOpener links; // never asked: no window here opens a link
    AppContext ctx(state, messages, runner, clock, links, ModuleClickOutput(QCoreApplication::applicationDirPath()));

    // Levels 1 to 5 up with "速く", then back to 4 with "遅く".
    std::vector<Level> levels(6);
    for (int l = 0; l < 5; ++l)
        levels[size_t(l)].interval = state.settings.RhythmInterval[size_t(l)];
    levels[5].interval = levels[3].interval;

    auto* window = new RhythmLessonWindow(ctx, 1);
    QTimer& timer = window->Timer1();
    QObject::disconnect(&timer, nullptr, window, nullptr);
    size_t level = 0;
    QObject::connect(&timer, &QTimer::timeout, window, [&] {
        levels[level].fired(steadyNs());
        window->Timer1_Timer();
        if (levels[level].ticks < ticks)
            return;
        if (++level < levels.size()) {
            // The next level restarts the timer and gives the sound its beat.
            if (level < 5)
                window->Command2_Click();
            else
                window->Command3_Click();
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

    int failures = 0;
    for (auto& recorder : recorders) {
        recorder->stop();
        const std::vector<qint16>& samples = recorder->samples();
        const std::vector<qint64> all = FindOnsets(samples);
        const qint64 lessonFrame = (lessonStartNs - recorder->frameZeroNs()) * Rate / 1'000'000'000;
        const auto lesson = std::lower_bound(all.begin(), all.end(), lessonFrame);
        int peak = 0;
        for (qint16 v : samples)
            peak = std::max(peak, std::abs(int(v)));
        std::printf("\n%s: recorded %.1f s, peak level %d\n", qPrintable(recorder->name()), double(samples.size()) / Rate, peak);
        ReportReference(all, size_t(lesson - all.begin()));
        const Totals totals = Report(levels, std::vector<qint64>(lesson, all.end()), recorder->frameZeroNs(), detail);
        std::printf("%s: %d of %d ticks heard, worst interval deviation %.3f ms (tempo changes included)\n",
                    qPrintable(recorder->name()), totals.heard, totals.ticks, totals.worst);
        failures += totals.heard < totals.ticks || totals.worst >= 3.0;
    }
    return failures ? 2 : 0;
}
