#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvela {

// What lies at a path, symbolic links followed. Only regular files are ever
// read or replaced: opening a FIFO blocks, and replacing a device node or a
// folder would destroy what is there.
enum class FileKind { Missing, Regular, Other };
FileKind KindOf(const QString& path);

// Why a file that is not a regular file is left alone.
inline const QString NotARegularFileReason =
    QStringLiteral("通常のファイルではない（フォルダ、FIFO、デバイスなど）ため、読み書きしません。");

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
    bool has(const QString& name) const { return !find(name).isEmpty(); }
    // Something else of that name (a folder, FIFO, device...), else "".
    QString findOther(const QString& name) const;

    // Where to read or write `name`: the existing file of that name in any
    // case, otherwise the name as given.
    QString filePath(const QString& name) const;

    // Names of files ending in `suffix` (ignoring case), in the order the file
    // system returns them.
    QStringList namesWithSuffix(const QString& suffix) const;

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

// A file found damaged whose backup could not be made is owed one: it is
// never overwritten until the backup exists. Makes the backup when `owed`
// (clearing it) and returns true when the file may now be replaced.
bool PayOwedBackup(const QString& path, bool& owed, QString* error);

} // namespace morvela
