#include "core/AppContext.h"
#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "ui/Fonts.h"
#include "ui/SingleInstance.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // A file-size limit must make a write fail (and its save say so), not
    // kill the program with what the learner did.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    app.setApplicationName(morvela::ProgramTitle);

    const QString folder = QCoreApplication::applicationDirPath();
    // A second start while one runs ends at once, without a window.
    morvela::SingleInstance instance(folder);
    if (!instance.acquired())
        return 0;

    morvela::ApplyJapaneseFont(app);
    morvela::AppState state(folder);
    morvela::QtMessageService messages;
    morvela::ModalRunner runner;
    morvela::SteadyClock clock;
    morvela::AppContext ctx(state, messages, runner, clock);

    morvela::F_mokuji menu(ctx);
    morvela::ConnectScreens(menu, ctx);
    if (!menu.Form_Load())
        return 0;
    QObject::connect(&menu, &morvela::F_mokuji::quitRequested, &app, &QApplication::quit, Qt::QueuedConnection);
    menu.show();
    return app.exec();
}
