#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace morvela {

// What lies at a path, symbolic links followed. Only regular files are ever
// read or replaced: opening a FIFO blocks, and replacing a device node or a
// folder would destroy what is there. Unreachable: the path cannot be looked
// at (too long, no permission on a folder on the way, a disk error), which
// says nothing about whether a file is there.
enum class FileKind { Missing, Regular, Other, Unreachable };
// `systemError` receives the errno of an Unreachable path.
FileKind KindOf(const QString& path, int* systemError = nullptr);
FileKind KindOfNative(const QByteArray& nativePath, int* systemError = nullptr);

// A file of the program folder: its name as the learner reads it, and its
// path as the bytes it has on disk (a CP932 name from a Windows archive is
// no UTF-8 and can be opened only by those bytes).
struct FolderEntry {
    QString name;
    QByteArray nativePath;
};

// What a name of the folder is, and why it could not be looked at.
struct FolderLookup {
    FileKind kind = FileKind::Missing;
    QString reason; // for Unreachable, in the learner's words
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
    // What lies under that name: a missing file told from one that cannot
    // be looked at.
    FolderLookup look(const QString& name) const;

    // Where to read or write `name`: the existing file of that name in any
    // case, otherwise the name as given.
    QString filePath(const QString& name) const;

    // Regular files whose names end in `suffix` (ignoring case), read as
    // UTF-8 or else CP932, in the order the file system returns them. Two
    // whose names read alike (a CP932 and a UTF-8 name of the same
    // characters) are two entries, each with its own path on disk.
    QList<FolderEntry> entriesWithSuffix(const QString& suffix) const;

    // Every name in the folder, as the learner reads it and as its bytes.
    QList<FolderEntry> entries() const;

private:
    QString m_path;
};

} // namespace morvela
