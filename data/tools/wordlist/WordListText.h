#pragma once

#include "game/GameWordList.h"

#include <QStringList>

// The text form of a word list, for the people who prepare one: UTF-8, one
// "word,hint" per line; blank lines are skipped.

struct Conversion {
    QByteArray bytes;      // what to write; empty when there were problems
    QStringList problems;  // "where: what", one per problem found
    QStringList notes;     // things left out on the way that do not stop it
};

// Text to game.dat. Every line is checked and every problem named by its line
// and character, so nothing is written from a list that would play wrong.
Conversion EncodeWordListText(const QByteArray& utf8, const QString& source);

// game.dat back to text, one "word,hint" per line, read as the game reads
// it; the codes that stand for no character, the lines the game leaves out
// and the lines with nothing to type are noted.
Conversion DecodeWordListText(const QByteArray& gameDat, const QString& source);
