#include "core/GameScoreFile.h"

#include "ui/Cp932.h"

#include <QFileInfo>

#include <cmath>

namespace morvela {

namespace {
constexpr qint64 kSizeLimit = 64 * 1024;
}

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
    if (!damaged) {
        const QByteArrayList lines = SplitLines(read.bytes, true);
        const Decoded line1 = DecodeCp932(lines.value(0));
        damaged = !line1.ok;
        const double value = LeadingNumber(line1.text);
        if (!damaged && std::isfinite(value) && value >= 0 && value < 1e15)
            outcome.highScore = qint64(value);
    }
    if (!damaged)
        return outcome;

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
