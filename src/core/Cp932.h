#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace morvela {

// The files of the program are in the Japanese Windows code page (CP932,
// "windows-31j"), not strict Shift_JIS: 0x8160 is U+FF5E and the NEC circled
// digits exist, so files of the earlier Windows program load unchanged.
// The name Qt's converters know the code page by.
inline constexpr char Cp932CodecName[] = "windows-31j";

struct Decoded {
    QString text;
    bool ok = true; // false when a byte sequence is not CP932
};

Decoded DecodeCp932(const QByteArray& bytes);
// `ok` is false when a character has no CP932 form that decodes back to it.
QByteArray EncodeCp932(const QString& text, bool* ok = nullptr);

// Splits file bytes into lines. CR LF and a lone CR end a line; so does a
// lone LF when `lfEndsLine` (files edited on other systems). A final line
// break does not start an empty last line.
QByteArrayList SplitLines(const QByteArray& bytes, bool lfEndsLine);

// Joins lines with CR LF after each, as every file of the program is written.
QByteArray JoinLinesCrLf(const QByteArrayList& lines);

// The numeric value of a line: blanks are ignored, the leading number is
// taken and reading stops at the first character that cannot belong to it.
// A line without a number counts as 0.
double LeadingNumber(const QString& line);

} // namespace morvela
