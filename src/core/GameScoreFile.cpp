#include "core/GameScoreFile.h"

#include "ui/Cp932.h"

#include <QFileInfo>

#include <cmath>

namespace morvela {

namespace {
constexpr qint64 kSizeLimit = 64 * 1024;

// Text on line 1, after the blanks the reading skips, that no number can
// begin: the score is lost. (An empty line 1 is 0, and text after a number
// is read past.)
bool lostTheNumber(const QString& line1)
{
    for (const QChar c : line1) {
        if (c == u' ' || c == u'\t')
            continue;
        return !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.';
    }
    return false;
}

} // namespace

QByteArray SerializeGameScore(qint64 highScore)
{
    QByteArrayList lines{QByteArray(" ") + QByteArray::number(highScore) + ' '};
    for (int i = 0; i < 5; ++i)
        lines << QByteArray();
    return JoinLinesCrLf(lines);
}

bool EnsureGameScoreFile(const ProgramFolder& folder, QString* error)
{
    if (folder.has(GameScoreFileName))
        return true;
    return SaveGameScore(folder, 0, error);
}

GameScoreLoad LoadGameScore(const ProgramFolder& folder)
{
    GameScoreLoad outcome;
    const QString path = folder.filePath(GameScoreFileName);
    const ReadResult read = ReadSmallFile(path, kSizeLimit);
    bool damaged = !read.ok || read.bytes.isEmpty() || read.bytes.contains('\0');
    QByteArrayList lines;
    if (!damaged) {
        lines = SplitLines(read.bytes, true);
        const Decoded line1 = DecodeCp932(lines.value(0));
        damaged = !line1.ok || lostTheNumber(line1.text);
        const double value = LeadingNumber(line1.text);
        if (!damaged && std::isfinite(value) && value >= 0 && value < 1e15)
            outcome.highScore = qint64(value);
    }
    if (!damaged) {
        // Short, or line 1 not as written: the file is written whole again
        // with what was read, so it has its six lines from now on.
        const QByteArray written = SerializeGameScore(outcome.highScore);
        if (lines.size() < 6 || lines.value(0) != SplitLines(written, true).value(0)) {
            outcome.rewritten = true;
            SaveGameScore(folder, outcome.highScore, &outcome.error);
        }
        return outcome;
    }

    outcome.repaired = true;
    outcome.highScore = 0;
    if (QFileInfo::exists(path)) {
        outcome.backupPath = KeepBackup(path, &outcome.error);
        if (outcome.backupPath.isEmpty())
            return outcome;
    }
    SaveGameScore(folder, 0, &outcome.error);
    return outcome;
}

bool SaveGameScore(const ProgramFolder& folder, qint64 highScore, QString* error)
{
    return WriteFileAtomically(folder.filePath(GameScoreFileName), SerializeGameScore(highScore), error);
}

} // namespace morvela
