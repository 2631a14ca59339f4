// Metronome benchmark: how evenly the lesson window's Timer1 ticks.
//
//   metronome_bench [TICKS] [noclick]
//
// Runs Lesson 1's window with the fastest tempo table (650, 500, 400, 300,
// 250 ms), steps through the five speed levels with "速く" and records TICKS
// intervals between consecutive ticks at each (the wait from a restart to
// the first tick is not counted), on the GUI thread, exactly as the window runs them:
// each tick plays the click (or the beep standing in for it) and flashes the
// beat, unless "noclick" is given. Prints the mean and worst absolute
// deviation from the nominal interval, in milliseconds.

#include "ui/AppContext.h"
#include "lessons/RhythmLessonWindow.h"
#include "support/RecordingMessageService.h"
#include "ui/ModuleClickOutput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace morvela;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const bool click = !(argc > 2 && QByteArray(argv[2]) == "noclick");

    QTemporaryDir folder;
    AppState state(folder.path());
    state.progress.LessonStates[0] = LessonState::Completed;
    ApplyOptionCode(state.settings, 3); // すごく速い: 650 .. 250 ms
    test::RecordingMessageService messages;
    ModalRunner runner;
    SteadyClock clock;
    DesktopUrlOpener links; // never asked: no window here opens a link
    AppContext ctx(state, messages, runner, clock, links, ModuleClickOutput(QCoreApplication::applicationDirPath()));

    RhythmLessonWindow window(ctx, 1);
    QTimer& timer = window.Timer1();
    QObject::disconnect(&timer, nullptr, &window, nullptr);

    QElapsedTimer clockNs;
    clockNs.start();
    int level = 1;
    qint64 last = -1; // no tick yet at this level
    std::vector<double> deviations;
    std::printf("%-6s %-9s %6s %10s %10s\n", "level", "interval", "ticks", "mean (ms)", "worst (ms)");

    QObject::connect(&timer, &QTimer::timeout, &window, [&] {
        const qint64 now = clockNs.nsecsElapsed(); // the beat, before its sound
        if (click)
            window.Timer1_Timer();
        const int nominal = state.settings.RhythmInterval[size_t(level - 1)];
        if (last < 0) {
            last = now;
            return;
        }
        deviations.push_back(std::abs((now - last) / 1e6 - nominal));
        last = now;
        if (int(deviations.size()) < ticks)
            return;
        double sum = 0;
        for (double d : deviations)
            sum += d;
        std::printf("%-6d %6d ms %6d %10.3f %10.3f\n", level, nominal, ticks, sum / ticks,
                    *std::max_element(deviations.begin(), deviations.end()));
        std::fflush(stdout);
        deviations.clear();
        if (++level > 5) {
            app.quit();
            return;
        }
        window.Command2_Click(); // the next level restarts the timer
        last = -1;
    });

    window.Form_Load(); // level 1: the metronome starts
    window.show();
    return app.exec();
}
