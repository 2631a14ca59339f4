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

// The entries of DecodeGameWordList, however many lines there are. A list
// that cannot be read, or holds no word anyone can type (none at all, or
// only empty ones), comes with a problem and clears the words.
WordTable LoadWordTable(const ProgramFolder& folder);

} // namespace morvela
