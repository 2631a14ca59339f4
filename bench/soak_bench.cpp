// Soak benchmark: a window left running for a long time with scripted
// input, and the resident memory it holds at the start and at the end.
//
//   soak_bench game|rhythm SECONDS DATA_FOLDER
//
// game:   the falling-words game with its four timers running in real time;
//         every 300 ms the target's word is committed as an input method
//         would, and after a game over "Start" is pressed again.
// rhythm: Lesson 1 with its metronome ticking at level 1 and a key of the
//         drill line typed every 150 ms, page after page.
// DATA_FOLDER holds Keyboard.bmp and game.dat (build/bin).

#include "ui/AppContext.h"
#include "game/F_game.h"
#include "game/GameEngine.h"
#include "game/GameRandom.h"
#include "game/WordTable.h"
#include "lessons/RhythmLessonWindow.h"
#include "support/RecordingMessageService.h"
#include "ui/ModuleClickOutput.h"
#include "ui/Fonts.h"
#include "ui/TypingBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace morvela;

namespace {

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void commit(QWidget* box, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(box, &e);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ApplyJapaneseFont(app);
    if (argc < 4) {
        std::fprintf(stderr, "usage: soak_bench game|rhythm SECONDS DATA_FOLDER\n");
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const int seconds = atoi(argv[2]);
    QTemporaryDir folder;
    for (const char* name : {"Keyboard.bmp", "game.dat"})
        QFile::copy(QString::fromLocal8Bit(argv[3]) + QLatin1Char('/') + QLatin1String(name), folder.filePath(QLatin1String(name)));
    AppState state(folder.path());
    state.progress.LessonStates.fill(LessonState::Completed);
    test::RecordingMessageService messages;
    ModalRunner runner;
    SteadyClock clock;
    DesktopUrlOpener links; // never asked: no window here opens a link
    AppContext ctx(state, messages, runner, clock, links, ModuleClickOutput(QCoreApplication::applicationDirPath()));

    std::unique_ptr<QDialog> window;
    GameRun run;
    QTimer input;
    int actions = 0;
    if (mode == QLatin1String("game")) {
        auto* game = new F_game(ctx, run, LoadWordTable(state.folder).words);
        window.reset(game);
        game->Form_Load();
        input.setInterval(300);
        QObject::connect(&input, &QTimer::timeout, [game, &actions] {
            ++actions;
            if (game->engine().gameOver()) {
                game->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
                return;
            }
            const QList<QLabel*> invaders = game->findChildren<QLabel*>(QStringLiteral("invader"));
            const int k = game->engine().currentTarget();
            if (k >= 0 && k < invaders.size())
                commit(game->findChild<TypingBox*>(QStringLiteral("Text1")), invaders[k]->text());
        });
    } else {
        auto* lesson = new RhythmLessonWindow(ctx, 1);
        window.reset(lesson);
        lesson->Form_Load();
        input.setInterval(150);
        QObject::connect(&input, &QTimer::timeout, [lesson, &actions] {
            ++actions;
            const QString line = lesson->findChild<QLabel*>(QStringLiteral("Label4"))->text();
            const int at = lesson->drill().cursor() - 1;
            lesson->findChild<TypingBox*>(QStringLiteral("Text1"))->offer(line.mid(at, 1));
        });
    }
    window->show();
    input.start();
    long startKiB = 0;
    QTimer::singleShot(5000, [&] { startKiB = residentKiB(); });
    // The curve, not just its ends: caches level off, a leak keeps rising.
    QTimer sample;
    QElapsedTimer since;
    since.start();
    QObject::connect(&sample, &QTimer::timeout, [&] {
        std::printf("  %3lld s: %ld KiB\n", since.elapsed() / 1000, residentKiB());
        std::fflush(stdout);
    });
    sample.start(60000);
    QTimer::singleShot(seconds * 1000, [&] {
        std::printf("%s: %d s, %d scripted actions, resident memory %ld KiB after 5 s, %ld KiB at the end\n",
                    qPrintable(mode), seconds, actions, startKiB, residentKiB());
        app.quit();
    });
    return app.exec();
}
