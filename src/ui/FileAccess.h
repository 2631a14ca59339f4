#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvela {

// The program folder: the folder of the executable, where every file of the
// program lies. File names are matched without regard to case, as the
// earlier Windows program did (Keyboard.bmp = keyboard.bmp).
class ProgramFolder {
public:
    explicit ProgramFolder(QString path = {});

    // The folder path, always ending in the platform's separator.
    QString path() const { return m_path; }

    // The existing file whose name equals `name` ignoring case, else "".
    QString find(const QString& name) const;
    bool has(const QString& name) const { return !find(name).isEmpty(); }

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

// Reads at most `limit` bytes; a larger file is reported, not read.
ReadResult ReadSmallFile(const QString& path, qint64 limit);

// Replaces the file as a whole or not at all (QSaveFile): a crash, a full
// disk or a read-only folder never leaves a half-written file.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// Copies `path` to a free name "<name>.bak", "<name>.1.bak", ... beside it.
// Returns the backup's path, or "" with `error` set.
QString KeepBackup(const QString& path, QString* error);

} // namespace morvela
