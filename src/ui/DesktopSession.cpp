#include "ui/DesktopSession.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace morvela {

namespace {

QtMessageHandler g_qtHandler = nullptr;

QByteArray environment(const char* name)
{
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QByteArrayLiteral("（なし）") : value;
}

// Qt's own warnings before it (the display it could not open) stay as
// details; its fatal advice to reinstall is replaced by the line, and the
// process ends without an abort: nothing of the learner's is open yet.
void sayUnreachable(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        g_qtHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "morvela: デスクトップのセッションに接続できません（QT_QPA_PLATFORM=%s, DISPLAY=%s, WAYLAND_DISPLAY=%s）。\n",
                 environment("QT_QPA_PLATFORM").constData(), environment("DISPLAY").constData(),
                 environment("WAYLAND_DISPLAY").constData());
    std::fflush(stderr);
    std::_Exit(1);
}

bool platformOnCommandLine(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}

} // namespace

bool DesktopSessionExpected(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !platformOnCommandLine(argc, argv)) {
        std::fputs("morvela: デスクトップのセッションが見つかりません（DISPLAY も WAYLAND_DISPLAY も設定されていません）。\n",
                   stderr);
        return false;
    }
    g_qtHandler = qInstallMessageHandler(sayUnreachable);
    return true;
}

void DesktopSessionReached()
{
    qInstallMessageHandler(g_qtHandler);
}

} // namespace morvela
