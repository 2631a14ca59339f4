#include "core/ProgramFolder.h"

#include "core/Cp932.h"
#include "core/FileError.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace morvela {

namespace {

// The names in a folder as the bytes they have on disk. Qt's own listing
// skips names that are not UTF-8, such as the CP932 names of files
// unpacked from a Windows archive. `systemError` is set when the folder
// cannot be listed.
QList<QByteArray> nativeNames(const QString& folder, int* systemError = nullptr)
{
    QList<QByteArray> names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        if (systemError)
            *systemError = errno;
        return names;
    }
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(dir);
    return names;
}

// A name as the learner reads it: UTF-8, else CP932, else the best guess.
QString shownName(const QByteArray& nativeName)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(nativeName);
    if (!utf8.hasError())
        return text;
    const Decoded cp = DecodeCp932(nativeName);
    return cp.ok ? cp.text : QString::fromLocal8Bit(nativeName);
}

} // namespace

FileKind KindOfNative(const QByteArray& nativePath, int* systemError)
{
    struct stat st {};
    if (::stat(nativePath.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileKind::Missing;
        if (systemError)
            *systemError = errno;
        return FileKind::Unreachable;
    }
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
}

FileKind KindOf(const QString& path, int* systemError)
{
    return KindOfNative(QFile::encodeName(path), systemError);
}

ProgramFolder::ProgramFolder(QString path)
{
    if (path.isEmpty())
        path = QDir::currentPath();
    path = QDir::cleanPath(QDir(path).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    m_path = QDir::toNativeSeparators(path);
}

QList<FolderEntry> ProgramFolder::entries() const
{
    QList<FolderEntry> all;
    const QByteArray folder = QFile::encodeName(m_path);
    for (const QByteArray& native : nativeNames(m_path))
        all << FolderEntry{shownName(native), folder + native};
    return all;
}

std::optional<FolderEntry> ProgramFolder::entry(const QString& name, FileKind kind) const
{
    const QByteArray exact = QFile::encodeName(m_path) + QFile::encodeName(name);
    if (KindOfNative(exact) == kind)
        return FolderEntry{name, exact};
    for (const FolderEntry& e : entries()) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0 && KindOfNative(e.nativePath) == kind)
            return e;
    }
    return std::nullopt;
}

FolderLookup ProgramFolder::look(const QString& name) const
{
    int error = 0;
    const FileKind exact = KindOf(m_path + name, &error);
    if (exact == FileKind::Unreachable)
        return {exact, FileErrorReason(error)};
    if (exact != FileKind::Missing)
        return {exact, {}};
    // Another letter case, if the folder can be listed at all.
    error = 0;
    const QList<QByteArray> names = nativeNames(m_path, &error);
    if (error != 0)
        return {FileKind::Unreachable, FileErrorReason(error)};
    const QByteArray folder = QFile::encodeName(m_path);
    FolderLookup found;
    for (const QByteArray& native : names) {
        if (shownName(native).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const FileKind kind = KindOfNative(folder + native, &error);
        if (kind == FileKind::Regular)
            return {kind, {}};
        if (found.kind == FileKind::Missing)
            found = {kind, kind == FileKind::Unreachable ? FileErrorReason(error) : QString()};
    }
    return found;
}

QString ProgramFolder::find(const QString& name) const
{
    const std::optional<FolderEntry> e = entry(name, FileKind::Regular);
    if (!e)
        return {};
    // Only a path that Qt's files can open by name; others are read by
    // their bytes on disk (ReadNativeFile).
    const QString path = QFile::decodeName(e->nativePath);
    return QFile::encodeName(path) == e->nativePath ? path : QString();
}

QString ProgramFolder::findOther(const QString& name) const
{
    const std::optional<FolderEntry> e = entry(name, FileKind::Other);
    return e ? QFile::decodeName(e->nativePath) : QString();
}

QString ProgramFolder::filePath(const QString& name) const
{
    const QString found = find(name);
    return found.isEmpty() ? m_path + name : found;
}

QList<FolderEntry> ProgramFolder::entriesWithSuffix(const QString& suffix) const
{
    QList<FolderEntry> found;
    for (const FolderEntry& e : entries()) {
        if (e.name.endsWith(suffix, Qt::CaseInsensitive) && KindOfNative(e.nativePath) == FileKind::Regular)
            found << e;
    }
    return found;
}

} // namespace morvela
