#pragma once

#include "core/SafeFile.h"

#include <QByteArray>
#include <QString>

namespace morvela {

inline const QString GameScoreFileName = QStringLiteral("game.ini");

// game.ini: line 1 the high score as " n ", then five empty lines, CR LF.
QByteArray SerializeGameScore(qint64 highScore);

struct ParsedGameScore {
    qint64 highScore = 0;
    bool damaged = false; // empty, binary, no number or one out of range: back up, reset to 0
    bool rewrite = false; // short or not as written: rewrite with its score
};

// Reads the score from file bytes.
ParsedGameScore ParseGameScore(const QByteArray& bytes);

struct GameScoreLoad {
    qint64 highScore = 0;
    bool repaired = false;   // damaged: kept as a backup, rewritten with 0
    bool rewritten = false;  // short or not as written: rewritten with its score
    bool unreadable = false; // could not be read: left as it is, the score 0 meanwhile
    QString backupPath;
    QString error;
};

// Creates game.ini with a high score of 0 when there is none.
bool EnsureGameScoreFile(const ProgramFolder& folder, QString* error);

// Line 1's leading number is the high score; lines 2 to 6 are not used. An
// empty or binary file, one whose line 1 holds text but no number, or a
// number no game can reach (negative, or of more than fifteen digits), is
// kept as a backup and rewritten with 0. A file that cannot be read is left
// as it is. A file of fewer than six
// lines, or whose line 1 is not as written (" 350 "), is rewritten whole
// with the score it holds.
GameScoreLoad LoadGameScore(const ProgramFolder& folder);

bool SaveGameScore(const ProgramFolder& folder, qint64 highScore, QString* error);

} // namespace morvela
