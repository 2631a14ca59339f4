#include "game/WordTable.h"

#include "core/SafeFile.h"

#include <QDir>

#include <algorithm>

namespace morvela {

namespace {
// Far beyond any list a person prepares; a bigger file is not a word list.
constexpr qint64 kSizeLimit = 4 * 1024 * 1024;
} // namespace

WordTable LoadWordTable(const ProgramFolder& folder)
{
    WordTable table;
    const QString path = folder.filePath(GameWordListFileName);
    const ReadResult read = ReadSmallFile(path, kSizeLimit);
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!read.ok) {
        table.problem = QStringLiteral("%1を読み込めませんでした。\n%2\n%3\n\nゲームを始められません。")
                            .arg(GameWordListFileName, shownPath, read.error);
        return table;
    }
    table.words = DecodeGameWordList(read.bytes);
    const bool typeableWord = std::any_of(table.words.cbegin(), table.words.cend(),
                                          [](const WordEntry& e) { return !e.Word.isEmpty(); });
    if (!typeableWord) {
        table.words.clear();
        table.problem = QStringLiteral("%1に単語がありません。\n%2\n\nゲームを始められません。")
                            .arg(GameWordListFileName, shownPath);
    }
    return table;
}

} // namespace morvela
