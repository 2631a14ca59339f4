#pragma once

#include "core/ProgressRecord.h"
#include "core/Cp932.h"
#include "core/SafeFile.h"

#include <QByteArray>
#include <QString>

namespace morvela {

inline const QString ProgressFileName = QStringLiteral("morvela.ini");

// Encodes a text in the file's code page; `ok` false when it cannot.
using TextEncoder = QByteArray (*)(const QString& text, bool* ok);

// morvela.ini: sixteen lines of CP932 text, each ended by CR LF. Returns ""
// with `error` set when a line cannot be written in the code page: a lossy
// or empty line is never written.
QByteArray SerializeProgress(const ProgressRecord& record, QString* error = nullptr,
                             TextEncoder encode = EncodeCp932);

struct ParsedProgress {
    ProgressRecord record;
    // Lines that were missing, not CP932 or otherwise unusable: their fields
    // hold new-file values, and the file needs repair.
    bool damaged = false;
};

// Reads the sixteen fields from file bytes. Damaged lines take their new-file
// values; line 1 is kept as the bytes read, since some CP932 byte pairs map
// to the same character and must go back exactly.
ParsedProgress ParseProgress(const QByteArray& bytes);

struct ProgressLoad {
    bool repaired = false;   // the file was damaged and has been rewritten
    bool unreadable = false; // the file could not be read and is left as it is
    QString backupPath;      // where the damaged file was kept
    QString error;           // why it could not be read, or a repair that could not be written
};

// Creates the file with the new-file values when there is none; an existing
// file is not touched. Returns false with `error` when it cannot be written.
bool EnsureProgressFile(const ProgramFolder& folder, ProgressRecord& record, QString* error);

// Reads the file into `record`. A damaged file is first kept as a backup,
// then rewritten with the fields that could be read and new-file values for
// the rest; the outcome says so, and nothing the learner had is lost. A
// file that cannot be read (no permission, a disk error) may hold all the
// learner's progress: it is left untouched and `record` takes the new-file
// values.
ProgressLoad LoadProgress(const ProgramFolder& folder, ProgressRecord& record);

// Writes the whole record at once. On failure the file is as it was.
bool SaveProgress(const ProgramFolder& folder, const ProgressRecord& record, QString* error,
                  TextEncoder encode = EncodeCp932);

} // namespace morvela
