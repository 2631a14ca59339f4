#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace morvela {

inline const QString GameWordListFileName = QStringLiteral("game.dat");

// One word of the game: the text on a falling invader, and the reading shown
// in the title while it is the target.
struct WordEntry {
    QString Word;
    QString Hint;
    friend bool operator==(const WordEntry&, const WordEntry&) = default;
};

// game.dat keeps each character of a line as the decimal number 14 * c - 13
// followed by a TAB, where c is the character's CP932 code (one byte, or
// lead byte * 256 + trail byte). A decoded line is "Word,Hint".

// One line of fields back to its text: each field's leading number v gives
// the code (v + 13) / 14, rounded half to even; what follows the last TAB is
// dropped. A code that is no CP932 character is dropped from the text, so a
// damaged field never puts a stray sign into a word; `droppedFields`, when
// given, receives the 1-based numbers of those fields.
QString DecodeGameLine(const QByteArray& line, QList<int>* droppedFields = nullptr);

// Splits a decoded line at its first comma; without one, all is Word.
WordEntry SplitWordEntry(const QString& line);

// The entries of a whole file, one per line (CR LF or a lone CR).
QList<WordEntry> DecodeGameWordList(const QByteArray& bytes);

// One line of text as fields, ended by CR LF. Returns false (and appends
// nothing) when a character has no CP932 form; `badChar`, when given, then
// receives the 0-based index of that character among the line's code points.
bool EncodeGameLine(const QString& line, QByteArray* out, qsizetype* badChar = nullptr);

} // namespace morvela
