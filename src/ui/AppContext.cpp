#include "ui/AppContext.h"

#include "core/GameScoreFile.h"
#include "core/ProgressFile.h"

#include <QDir>

namespace morvela {

void AppContext::showMessage(QWidget* parent, const QString& text, MessageIcon icon, const QString& title)
{
    state.MessageText = text;
    messages.show(parent, state.MessageText, icon, title);
}

bool AppContext::saveProgress(QWidget* parent, const QString& afterwards)
{
    QString error;
    const QString path = state.folder.filePath(ProgressFileName);
    if (PayOwedBackup(path, state.ProgressBackupOwed, &error) && SaveProgress(state.folder, state.progress, &error))
        return true;
    showSaveFailure(parent, QStringLiteral("練習の記録を保存できませんでした。"), ProgressFileName, error,
                    QStringLiteral("記録はこのまま使えますが、ファイルには保存されていません。")
                        + (afterwards.isEmpty() ? QString() : QLatin1Char('\n') + afterwards));
    return false;
}

bool AppContext::saveGameScore(QWidget* parent)
{
    QString error;
    const QString path = state.folder.filePath(GameScoreFileName);
    if (PayOwedBackup(path, state.GameScoreBackupOwed, &error) && SaveGameScore(state.folder, state.GameHighScore, &error))
        return true;
    showSaveFailure(parent, QStringLiteral("ゲームの得点を保存できませんでした。"), GameScoreFileName, error,
                    QStringLiteral("ハイスコアはこのまま使えますが、ファイルには保存されていません。"));
    return false;
}

void AppContext::showSaveFailure(QWidget* parent, const QString& what, const QString& fileName, const QString& error,
                                 const QString& consequence)
{
    const QString path = QDir::toNativeSeparators(state.folder.filePath(fileName));
    showMessage(parent, what + QLatin1Char('\n') + path + QLatin1Char('\n') + error + QStringLiteral("\n\n") + consequence,
                MessageIcon::Error);
}

} // namespace morvela
