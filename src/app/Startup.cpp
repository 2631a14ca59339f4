#include "app/Startup.h"

#include "core/ProgressFile.h"
#include "core/GameScoreFile.h"

#include <QDir>

namespace morvela {

namespace {

QString repairNotice(const QString& what, const QString& reset, const QString& backup, const QString& error)
{
    if (!error.isEmpty() && backup.isEmpty())
        return QStringLiteral("%1が壊れていますが、元のファイルを控えとして保存できなかったため、書き換えていません。\n%2")
            .arg(what, error);
    QString text = QStringLiteral("%1が壊れていたので修復しました。%2").arg(what, reset);
    if (!backup.isEmpty())
        text += QStringLiteral("\n元のファイルは次の名前で保存してあります：\n%1").arg(QDir::toNativeSeparators(backup));
    if (!error.isEmpty())
        text += QStringLiteral("\nただし、修復したファイルを書き込めませんでした：%1").arg(error);
    return text;
}

QString writeFailure(const QString& path, const QString& error)
{
    return QStringLiteral("%1 を作成できませんでした。\n%2\n記録はこのまま使えますが、ファイルには保存されません。")
        .arg(QDir::toNativeSeparators(path), error);
}

} // namespace

QString MissingDataFileMessage(const ProgramFolder& folder)
{
    for (const QString& name : {QStringLiteral("Keyboard.bmp"), QStringLiteral("game.dat")}) {
        if (folder.has(name))
            continue;
        if (!folder.findOther(name).isEmpty())
            return name + QStringLiteral("は") + NotARegularFileReason;
        return name + QStringLiteral("ファイルがありません");
    }
    return {};
}

QString PrepareRecords(AppState& state)
{
    QStringList notices;
    QString error;
    RemoveInterruptedSaves(state.folder, {ProgressFileName, GameScoreFileName, QStringLiteral("kentei.wk1"),
                                          QStringLiteral("kentei.wk2")});
    if (!EnsureProgressFile(state.folder, state.progress, &error))
        notices << writeFailure(state.folder.filePath(ProgressFileName), error);
    const bool haveGameScore = EnsureGameScoreFile(state.folder, &error);
    if (!haveGameScore)
        notices << writeFailure(state.folder.filePath(GameScoreFileName), error);

    if (!state.LoadedOnce) {
        if (state.folder.has(ProgressFileName)) {
            const ProgressLoad load = LoadProgress(state.folder, state.progress);
            state.ProgressBackupOwed = load.repaired && load.backupPath.isEmpty() && !load.error.isEmpty();
            if (load.repaired)
                notices << repairNotice(QStringLiteral("進捗ファイル（%1）").arg(ProgressFileName),
                                        QStringLiteral("読み取れなかった項目は初期値に戻っています。"),
                                        load.backupPath, load.error);
        }
        if (haveGameScore) {
            const GameScoreLoad game = LoadGameScore(state.folder);
            state.GameHighScore = game.highScore;
            state.GameScoreBackupOwed = game.repaired && game.backupPath.isEmpty() && !game.error.isEmpty();
            if (game.repaired)
                notices << repairNotice(QStringLiteral("ゲームの得点ファイル（%1）").arg(GameScoreFileName),
                                        QStringLiteral("ハイスコアは0に戻っています。"),
                                        game.backupPath, game.error);
            else if (game.rewritten && !game.error.isEmpty())
                notices << writeFailure(state.folder.filePath(GameScoreFileName), game.error);
        }
        state.LoadedOnce = true;
    }
    return notices.join(QStringLiteral("\n\n"));
}

QList<FolderEntry> ExamFiles(const ProgramFolder& folder)
{
    return folder.entriesWithSuffix(QStringLiteral(".ken"));
}

QList<FolderEntry> ExamFiles(const AppState& state)
{
    QList<FolderEntry> files = ExamFiles(state.folder);
    if (state.data.path() == state.folder.path())
        return files;
    // A learner's text of the same name (in any letter case) replaces the
    // one that came with the program.
    QStringList learnersNames;
    for (const FolderEntry& file : files)
        learnersNames << ExamName(file);
    for (const FolderEntry& file : ExamFiles(state.data))
        if (!learnersNames.contains(ExamName(file), Qt::CaseInsensitive))
            files << file;
    return files;
}

QString ExamName(const FolderEntry& file)
{
    return file.name.left(file.name.size() - 4);
}

QString MissingExamMessage(const std::optional<FolderEntry>& file, const QString& name)
{
    if (file && KindOfNative(file->nativePath) != FileKind::Missing)
        return {};
    return name + QStringLiteral("　試験問題のファイルが見つかりません。");
}

} // namespace morvela
