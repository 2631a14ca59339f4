// Key-to-echo of Lesson 1: the time from a key press sent to the typing box
// until the box holds its character and the window has painted what
// changed, with the live strip shown and hidden (a hidden strip computes
// nothing). The two alternate in blocks, so a busy machine weighs on both.
//
//   echo_bench KEYS DATA_FOLDER      (under xvfb-run; DATA_FOLDER = build/bin)

#include "lessons/RhythmLessonWindow.h"
#include "support/RecordingMessageService.h"
#include "ui/AppContext.h"
#include "ui/Fonts.h"
#include "ui/LiveStrip.h"
#include "ui/TypingBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace morvela;

namespace {

struct Figures {
    double median = 0, p95 = 0;
};

Figures figuresOf(QList<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    if (ns.isEmpty())
        return {};
    return {ns[ns.size() / 2] / 1000.0, ns[qsizetype(ns.size() * 95 / 100)] / 1000.0};
}

// One key of the drill line, pressed and released; nanoseconds until the
// box shows it and the window has painted.
qint64 echo(RhythmLessonWindow& lesson, TypingBox& box)
{
    const QString line = lesson.findChild<QLabel*>(QStringLiteral("Label4"))->text();
    const QString key = line.mid(lesson.drill().cursor() - 1, 1);
    QElapsedTimer t;
    t.start();
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
    QApplication::sendEvent(&box, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, key);
    QApplication::sendEvent(&box, &release);
    QCoreApplication::processEvents(); // the repaint of what changed
    return t.nsecsElapsed();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ApplyJapaneseFont(app);
    if (argc < 3) {
        std::fprintf(stderr, "usage: echo_bench KEYS DATA_FOLDER\n");
        return 2;
    }
    const int keys = atoi(argv[1]);
    QTemporaryDir folder;
    QFile::copy(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/Keyboard.bmp"), folder.filePath(QStringLiteral("Keyboard.bmp")));
    AppState state(folder.path());
    state.progress.LessonStates.fill(LessonState::Completed);
    test::RecordingMessageService messages;
    ModalRunner runner;
    SteadyClock clock;
    DesktopUrlOpener links; // never asked
    AppContext ctx(state, messages, runner, clock, links, [] { return std::unique_ptr<ClickOutput>(); });

    RhythmLessonWindow lesson(ctx, 1);
    lesson.Form_Load();
    lesson.show();
    lesson.activateWindow();
    auto* box = lesson.findChild<TypingBox*>(QStringLiteral("Text1"));
    auto* strip = lesson.findChild<LiveStrip*>(QStringLiteral("LiveStrip"));
    box->setFocus();
    for (int i = 0; i < 50; ++i) // warm-up: fonts, caches
        echo(lesson, *box);

    QList<qint64> on, off;
    constexpr int Block = 50;
    for (int done = 0; done < 2 * keys; done += Block) {
        const bool shown = (done / Block) % 2 == 0;
        strip->setVisible(shown);
        QCoreApplication::processEvents();
        for (int i = 0; i < Block; ++i)
            (shown ? on : off).append(echo(lesson, *box));
    }
    const Figures withStrip = figuresOf(on), without = figuresOf(off);
    std::printf("Lesson 1 key-to-echo, %d keys each: strip shown median %.1f us, p95 %.1f us; "
                "hidden median %.1f us, p95 %.1f us\n",
                keys, withStrip.median, withStrip.p95, without.median, without.p95);
    return 0;
}
