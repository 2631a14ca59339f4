#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

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

// Whether a key or the input method can put `c` into the game's box:
// control characters (a TAB, a line break, Backspace...), private-use and
// unassigned codes never arrive there.
bool IsTypeable(char32_t c);

// The 0-based index (among code points) of the first character of `text`
// that is not typeable, or -1 when every one is.
qsizetype FirstUntypeable(const QString& text);

// What became of one line of game.dat.
struct WordListLine {
    // The entry the line gives, or none when it is left out: its fields all
    // stand for no character, or it holds a character no one can type. A
    // line without fields (a blank one) is an entry with an empty Word.
    std::optional<WordEntry> entry;
    QList<int> noCharacterFields; // 1-based fields that stand for no character, left out of the text
    QString text;                 // the decoded line
    qsizetype untypeable = -1;    // FirstUntypeable(text)
};

// Every line of a file (CR LF or a lone CR ends one), in order: the one
// reading of game.dat, for the game and for the tools that show a list.
QList<WordListLine> DecodeGameWordLines(const QByteArray& bytes);

// The entries the game plays: those of the lines that are not left out.
QList<WordEntry> DecodeGameWordList(const QByteArray& bytes);

// One line of text as fields, ended by CR LF. Returns false (and appends
// nothing) when a character has no CP932 form; `badChar`, when given, then
// receives the 0-based index of that character among the line's code points.
bool EncodeGameLine(const QString& line, QByteArray* out, qsizetype* badChar = nullptr);

} // namespace morvela
