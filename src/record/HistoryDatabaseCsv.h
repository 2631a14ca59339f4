#pragma once

#include "core/AttemptRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace morvela {

// The history as a spreadsheet reads it: UTF-8 with a byte-order mark (so a
// Japanese spreadsheet does not take it for the code page), lines ending
// CR LF, fields quoted where RFC 4180 asks for it.
inline constexpr char CsvByteOrderMark[] = "\xEF\xBB\xBF";

// One line of fields, quoted where needed, ending CR LF.
QByteArray CsvLine(const QStringList& fields);

// The header line's fields.
QStringList HistoryCsvHeader();

// An attempt's fields, in the header's order. Its keys are one field:
// per character the character, a space and "expected/missed", entries
// separated by one space ("a 3/1 s 2/0"); the character is always exactly
// one, so even the space key reads back.
QStringList HistoryCsvFields(const AttemptRecord& attempt);

} // namespace morvela
