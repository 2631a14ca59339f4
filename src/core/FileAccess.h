#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace morvela {

// What lies at a path, symbolic links followed. Only regular files are ever
// read or replaced: opening a FIFO blocks, and replacing a device node or a
// folder would destroy what is there.
enum class FileKind { Missing, Regular, Other };
FileKind KindOf(const QString& path);
// KindOf by the bytes of a path on disk (FolderEntry::nativePath).
FileKind KindOfNative(const QByteArray& nativePath);

// Why a file that is not a regular file is left alone.
inline const QString NotARegularFileReason =
    QStringLiteral("通常のファイルではない（フォルダ、FIFO、デバイスなど）ため、読み書きしません。");

// A file of the program folder: its name as the learner reads it, and its
// path as the bytes it has on disk (a CP932 name from a Windows archive is
// no UTF-8 and can be opened only by those bytes).
struct FolderEntry {
    QString name;
    QByteArray nativePath;
};

// The program folder: the folder of the executable, where every file of the
// program lies. File names are matched without regard to case, as the
// earlier Windows program did (Keyboard.bmp = keyboard.bmp).
class ProgramFolder {
public:
    explicit ProgramFolder(QString path = {});

    // The folder path, always ending in the platform's separator.
    QString path() const { return m_path; }

    // The regular file (or link to one) whose name equals `name` ignoring
    // case, else "".
    QString find(const QString& name) const;
    bool has(const QString& name) const { return entry(name).has_value(); }
    // Something else of that name (a folder, FIFO, device...), else "".
    QString findOther(const QString& name) const;
    // The entry of that name and kind, its name read as UTF-8 or else CP932.
    std::optional<FolderEntry> entry(const QString& name, FileKind kind = FileKind::Regular) const;

    // Where to read or write `name`: the existing file of that name in any
    // case, otherwise the name as given.
    QString filePath(const QString& name) const;

    // Regular files whose names end in `suffix` (ignoring case), read as
    // UTF-8 or else CP932, in the order the file system returns them. Two
    // whose names read alike (a CP932 and a UTF-8 name of the same
    // characters) are two entries, each with its own path on disk.
    QList<FolderEntry> entriesWithSuffix(const QString& suffix) const;

private:
    QString m_path;
};

struct ReadResult {
    bool ok = false;
    bool tooLarge = false;
    QByteArray bytes;
    QString error;
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

// Copies `path` to a free name "<name>.bak", "<name>.1.bak", ... beside it.
// Returns the backup's path, or "" with `error` set.
QString KeepBackup(const QString& path, QString* error);

// A save killed while it wrote leaves its temporary file "<name>.XXXXXX"
// beside the file (the file itself is whole). Removes those of `names`;
// only one copy of the program runs per folder, so none is being written.
int RemoveInterruptedSaves(const ProgramFolder& folder, const QStringList& names);

// A file found damaged whose backup could not be made is owed one: it is
// never overwritten until the backup exists. Makes the backup when `owed`
// (clearing it) and returns true when the file may now be replaced.
bool PayOwedBackup(const QString& path, bool& owed, QString* error);

} // namespace morvela
