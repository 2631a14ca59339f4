#include "ui/AppContext.h"
#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "core/GameScoreFile.h"
#include "core/ProgressFile.h"
#include "ui/DesktopSession.h"
#include "ui/Fonts.h"
#include "core/FolderChoice.h"
#include "ui/ModuleClickOutput.h"
#include "ui/QuitOnSignal.h"
#include "ui/SingleInstance.h"
#include "record/HistoryDatabase.h"

#include <QApplication>
#include <QDir>

#include <csignal>

int main(int argc, char* argv[])
{
    // A file-size limit must make a write fail (and its save say so), not
    // kill the program with what the learner did.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!morvela::DesktopSessionExpected(argc, argv))
        return 1;
    QApplication app(argc, argv);
    morvela::DesktopSessionReached();
    morvela::QuitOnSignal quitOnSignal;
    // The short name makes the learner's data folder ~/.local/share/morvela.
    // No display name is set: Qt would append it to every window title, and
    // each window's title is exactly the program's own.
    app.setApplicationName(QStringLiteral("morvela"));
    app.setDesktopFileName(QStringLiteral("com.example.ostrel.morvela"));

    // Without the program's own folder every file of it would be called
    // missing: say what stands in the way instead.
    QString unknownFolder;
    const QString programFolder = morvela::ExecutableFolder(&unknownFolder);
    if (programFolder.isEmpty()) {
        morvela::ApplyJapaneseFont(app);
        morvela::QtMessageService().show(nullptr, unknownFolder, morvela::MessageIcon::None, morvela::ProgramTitle);
        return 1;
    }
    morvela::ProgramFolders folders = morvela::ChooseFolders(morvela::FactsOf(programFolder));
    // A second start while one runs ends at once, without a window. The lock
    // lies where the files are written, so it guards them in either place.
    // Without a data folder of the learner's, the files beside the program
    // are read and the menu says why they cannot be kept where they belong.
    QString folderNotice;
    morvela::MakeUserFolder(folders, &folderNotice);
    morvela::SingleInstance instance(folders.user); // taken while the menu is built

    morvela::ApplyJapaneseFont(app);
    morvela::AppState state(folders.data, folders.user);
    state.FolderNotice = folderNotice;
    morvela::QtMessageService messages;
    // The learner's history lies beside the progress file; it is opened
    // when the first attempt ends, so start-up never waits for it.
    morvela::HistoryDatabase history(
        QDir(folders.user).filePath(morvela::HistoryDatabase::fileName()), [] { return QDateTime::currentDateTime(); },
        [&messages](const QString& text) {
            messages.show(QApplication::activeWindow(), text, morvela::MessageIcon::Warning, morvela::ProgramTitle);
        });
    morvela::ModalRunner runner;
    morvela::SteadyClock clock;
    morvela::DesktopUrlOpener links;
    morvela::AppContext ctx(state, messages, runner, clock, links,
                            morvela::ModuleClickOutput(programFolder));
    ctx.setAttemptLog(history);

    morvela::F_mokuji menu(ctx);
    morvela::ConnectScreens(menu, ctx, &history);
    if (!instance.acquired())
        return 0;
    morvela::CarryOverRecords(folders, {morvela::ProgressFileName, morvela::GameScoreFileName});
    // A signal taken while a start-up message was open ended its loop: the
    // main loop is not started.
    if (!menu.Form_Load() || quitOnSignal.quitting())
        return 0;
    QObject::connect(&menu, &morvela::F_mokuji::quitRequested, &app, &QApplication::quit, Qt::QueuedConnection);
    menu.show();
    return app.exec();
}
