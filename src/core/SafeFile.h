#pragma once

#include "core/FileError.h"
#include "core/ProgramFolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvela {

struct ReadResult {
    bool ok = false;
    // More than the reader's limit: the file's content is not what it
    // should be. Any other failure (no permission, not a regular file, a
    // disk error) says nothing about the content: the file is unreadable.
    bool tooLarge = false;
    QByteArray bytes;
    QString error; // in the learner's words, the system's text as a detail
};

// Reads at most `limit` bytes of a regular file; a larger file is
// reported, not read.
ReadResult ReadSmallFile(const QString& path, qint64 limit);

// ReadSmallFile by the bytes of a path on disk (FolderEntry::nativePath).
ReadResult ReadNativeFile(const QByteArray& nativePath, qint64 limit);

// Reads the first `limit` bytes of a regular file, however long it is;
// `tooLarge` says that there was more.
ReadResult ReadFileStart(const QString& path, qint64 limit);

// Replaces the file as a whole or not at all (QSaveFile): a crash, a full
// disk or a read-only folder never leaves a half-written file. A symbolic
// link is written through: its target is replaced, in the target's folder.
// Anything but a regular file (or a new name) is refused.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// The most any of the program's files is read of. A backup of a larger file
// is never a copy (see KeepBackup).
inline constexpr qint64 BackupCopyLimit = 1024 * 1024;

// Keeps `path` beside itself under a free name "<name>.bak", "<name>.1.bak",
// ... A file of up to BackupCopyLimit bytes is copied. A larger one (a
// sparse file of gigabytes costs minutes to copy and its size in real disk)
// gets the backup name as a second name of the same file, which costs
// nothing; where the file system has no such names, the backup holds the
// first BackupCopyLimit bytes, all that was ever read of it. Returns the
// backup's path, or "" with `error` set.
QString KeepBackup(const QString& path, QString* error);

// The name a save of `fileName` is written under until it is whole: a
// hidden name of the program's own that no learner's file has. QSaveFile's
// own temporary is this name followed by "." and six letters or digits.
QString SaveInProgressName(const QString& fileName);

// A save killed while it wrote leaves its file under SaveInProgressName
// (or QSaveFile's temporary of it) beside the file, which itself is whole.
// Removes those of `names` and nothing else; only one copy of the program
// runs per folder, so none is being written. Returns how many went.
int RemoveInterruptedSaves(const ProgramFolder& folder, const QStringList& names);

// A file that must not be overwritten before its backup exists (found
// damaged and not yet kept, or unreadable) is owed one. Makes the backup
// when `owed` (clearing it) and returns true when the file may now be
// replaced.
bool PayOwedBackup(const QString& path, bool& owed, QString* error);

} // namespace morvela
