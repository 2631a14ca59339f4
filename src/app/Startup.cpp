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

// A file that could not be read may hold everything the learner did: it is
// neither repaired nor replaced until it can be read again.
QString unreadableNotice(const QString& what, const QString& path, const QString& error, const QString& meanwhile)
{
    return QStringLiteral("%1を読み込めません。\n%2\n%3\nファイルはそのままにしてあります。%4"
                          "読み込めるようにしてから起動し直すまで、このファイルには保存しません。")
        .arg(what, QDir::toNativeSeparators(path), error, meanwhile);
}

QString writeFailure(const QString& path, const QString& error)
{
    return QStringLiteral("%1 を作成できませんでした。\n%2\n記録はこのまま使えますが、ファイルには保存されません。")
        .arg(QDir::toNativeSeparators(path), error);
}

} // namespace

QString MissingDataFileMessage(const ProgramFolder& folder, const PictureCheck& checkPicture)
{
    const QString picture = QStringLiteral("Keyboard.bmp");
    for (const QString& name : {picture, QStringLiteral("game.dat")}) {
        const FolderLookup found = folder.look(name);
        switch (found.kind) {
        case FileKind::Regular:
            if (name == picture && checkPicture && !folder.find(name).isEmpty()) {
                const QString fault = checkPicture(folder.find(name));
                if (!fault.isEmpty())
                    return QStringLiteral("%1ファイルを画像として表示できません。\n%2\n%3")
                        .arg(name, QDir::toNativeSeparators(folder.filePath(name)), fault);
            }
            continue;
        case FileKind::Other:
            return name + QStringLiteral("は") + NotARegularFileReason;
        case FileKind::Unreachable: // not known to be missing: say what stood in the way
            return QStringLiteral("%1ファイルを確かめられません。\n%2\n%3")
                .arg(name, QDir::toNativeSeparators(folder.path()), found.reason);
        case FileKind::Missing:
            return name + QStringLiteral("ファイルがありません");
        }
    }
    return {};
}

QString PrepareRecords(AppState& state)
{
    QStringList notices;
    if (!state.LoadedOnce && !state.FolderNotice.isEmpty())
        notices << state.FolderNotice;
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
            state.ProgressBackupOwed =
                load.unreadable || (load.repaired && load.backupPath.isEmpty() && !load.error.isEmpty());
            if (load.unreadable)
                notices << unreadableNotice(QStringLiteral("進捗ファイル（%1）").arg(ProgressFileName),
                                            state.folder.filePath(ProgressFileName), load.error,
                                            QStringLiteral("今回は最初の状態から練習を始めます。"));
            else if (load.repaired)
                notices << repairNotice(QStringLiteral("進捗ファイル（%1）").arg(ProgressFileName),
                                        QStringLiteral("読み取れなかった項目は初期値に戻っています。"),
                                        load.backupPath, load.error);
        }
        if (haveGameScore) {
            const GameScoreLoad game = LoadGameScore(state.folder);
            state.GameHighScore = game.highScore;
            state.GameScoreBackupOwed =
                game.unreadable || (game.repaired && game.backupPath.isEmpty() && !game.error.isEmpty());
            if (game.unreadable)
                notices << unreadableNotice(QStringLiteral("ゲームの得点ファイル（%1）").arg(GameScoreFileName),
                                            state.folder.filePath(GameScoreFileName), game.error,
                                            QStringLiteral("ハイスコアは0として始めます。"));
            else if (game.repaired)
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
