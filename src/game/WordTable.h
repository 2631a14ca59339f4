#pragma once

#include "game/GameWordList.h"

namespace morvela {

class ProgramFolder;

// The words of one game, loaded from game.dat afresh at each opening of the
// game window.
struct WordTable {
    QList<WordEntry> words;
    QString problem; // the message when no game can be played; "" = playable
};

// Every line that decodes to some text is an entry, however many lines there
// are; a line that decodes to nothing (blank, or only damaged fields) is
// none. A list that cannot be read, or holds no entry, comes with a problem.
WordTable LoadWordTable(const ProgramFolder& folder);

} // namespace morvela
