#include "core/AppContext.h"

#include "core/GameScoreFile.h"
#include "core/ProgressFile.h"

#include <QDir>

namespace morvela {

void AppContext::showMessage(QWidget* parent, const QString& text, MessageIcon icon, const QString& title)
{
    state.MessageText = text;
    messages.show(parent, state.MessageText, icon, title);
}

bool AppContext::saveProgress(QWidget* parent)
{
    QString error;
    if (SaveProgress(state.folder, state.progress, &error))
        return true;
    showMessage(parent,
                QStringLiteral("練習の記録を保存できませんでした。\n%1\n%2\n\n記録はこのまま使えますが、ファイルには保存されていません。")
                    .arg(QDir::toNativeSeparators(state.folder.filePath(ProgressFileName)), error),
                MessageIcon::Error);
    return false;
}

bool AppContext::saveGameScore(QWidget* parent)
{
    QString error;
    if (SaveGameScore(state.folder, state.GameHighScore, &error))
        return true;
    showMessage(parent,
                QStringLiteral("ゲームの得点を保存できませんでした。\n%1\n%2")
                    .arg(QDir::toNativeSeparators(state.folder.filePath(GameScoreFileName)), error),
                MessageIcon::Error);
    return false;
}

} // namespace morvela
