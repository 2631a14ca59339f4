#include "core/GameScoreFile.h"

#include "core/Cp932.h"

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

ParsedGameScore ParseGameScore(const QByteArray& bytes)
{
    ParsedGameScore parsed;
    parsed.damaged = bytes.isEmpty() || bytes.contains('\0');
    if (parsed.damaged)
        return parsed;
    const QByteArrayList lines = SplitLines(bytes, true);
    const Decoded line1 = DecodeCp932(lines.value(0));
    parsed.damaged = !line1.ok || lostTheNumber(line1.text);
    if (parsed.damaged)
        return parsed;
    // A score no game reaches is as lost as no score: kept, not dropped.
    const double value = LeadingNumber(line1.text);
    if (!(std::isfinite(value) && value >= 0 && value < 1e15)) {
        parsed.damaged = true;
        return parsed;
    }
    parsed.highScore = qint64(value);
    // Short, or line 1 not as written: the file is written whole again with
    // what was read, so it has its six lines from now on.
    const QByteArray written = SerializeGameScore(parsed.highScore);
    parsed.rewrite = lines.size() < 6 || lines.value(0) != SplitLines(written, true).value(0);
    return parsed;
}

GameScoreLoad LoadGameScore(const ProgramFolder& folder)
{
    GameScoreLoad outcome;
    const QString path = folder.filePath(GameScoreFileName);
    const ReadResult read = ReadSmallFile(path, kSizeLimit);
    if (!read.ok && !read.tooLarge) {
        outcome.unreadable = true;
        outcome.error = read.error;
        return outcome;
    }
    const ParsedGameScore parsed = read.ok ? ParseGameScore(read.bytes) : ParsedGameScore{0, true, false};
    if (!parsed.damaged) {
        outcome.highScore = parsed.highScore;
        if (parsed.rewrite) {
            outcome.rewritten = true;
            SaveGameScore(folder, outcome.highScore, &outcome.error);
        }
        return outcome;
    }

    outcome.repaired = true;
    outcome.highScore = 0;
    outcome.backupPath = KeepBackup(path, &outcome.error);
    if (outcome.backupPath.isEmpty())
        return outcome;
    SaveGameScore(folder, 0, &outcome.error);
    return outcome;
}

bool SaveGameScore(const ProgramFolder& folder, qint64 highScore, QString* error)
{
    return WriteFileAtomically(folder.filePath(GameScoreFileName), SerializeGameScore(highScore), error);
}

} // namespace morvela
