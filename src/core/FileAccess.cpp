#include "core/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/Cp932.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvela {

namespace {

FileKind kindOfNative(const QByteArray& nativePath)
{
    struct stat st {};
    if (::stat(nativePath.constData(), &st) != 0)
        return FileKind::Missing;
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
}

// The names in a folder as the bytes they have on disk. Qt's own listing
// skips names that are not UTF-8, such as the CP932 names of files
// unpacked from a Windows archive.
QList<QByteArray> nativeNames(const QString& folder)
{
    QList<QByteArray> names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
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

FileKind KindOf(const QString& path)
{
    return kindOfNative(QFile::encodeName(path));
}

FileKind KindOfNative(const QByteArray& nativePath)
{
    return kindOfNative(nativePath);
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

std::optional<FolderEntry> ProgramFolder::entry(const QString& name, FileKind kind) const
{
    const QByteArray folder = QFile::encodeName(m_path);
    const QByteArray exact = folder + QFile::encodeName(name);
    if (kindOfNative(exact) == kind)
        return FolderEntry{name, exact};
    for (const QByteArray& native : nativeNames(m_path)) {
        const QString shown = shownName(native);
        if (shown.compare(name, Qt::CaseInsensitive) == 0 && kindOfNative(folder + native) == kind)
            return FolderEntry{shown, folder + native};
    }
    return std::nullopt;
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
    QList<FolderEntry> entries;
    const QByteArray folder = QFile::encodeName(m_path);
    for (const QByteArray& native : nativeNames(m_path)) {
        const QString shown = shownName(native);
        if (shown.endsWith(suffix, Qt::CaseInsensitive) && kindOfNative(folder + native) == FileKind::Regular)
            entries << FolderEntry{shown, folder + native};
    }
    return entries;
}

namespace {

// Opens only a regular file: the kind is checked before opening (a device
// is never opened) and on the open file itself (nothing swapped in
// between), and O_NONBLOCK keeps a FIFO from ever blocking.
bool openRegular(const QByteArray& nativePath, QFile& f, ReadResult& r)
{
    switch (kindOfNative(nativePath)) {
    case FileKind::Missing:
        r.error = QStringLiteral("ファイルがありません。");
        return false;
    case FileKind::Other:
        r.error = NotARegularFileReason;
        return false;
    case FileKind::Regular:
        break;
    }
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        r.error = NotARegularFileReason;
        return false;
    }
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        r.error = f.errorString();
        return false;
    }
    return true;
}

ReadResult readNative(const QByteArray& nativePath, qint64 limit, bool startOnly)
{
    ReadResult r;
    QFile f;
    if (!openRegular(nativePath, f, r))
        return r;
    if (!startOnly && f.size() > limit) {
        r.tooLarge = true;
        r.error = QStringLiteral("file too large");
        return r;
    }
    r.bytes = f.read(limit + 1);
    r.tooLarge = r.bytes.size() > limit;
    if (r.tooLarge && !startOnly) {
        r.bytes.clear();
        return r;
    }
    if (r.tooLarge)
        r.bytes.truncate(limit);
    r.ok = f.error() == QFileDevice::NoError;
    if (!r.ok)
        r.error = f.errorString();
    return r;
}

} // namespace

ReadResult ReadSmallFile(const QString& path, qint64 limit)
{
    return readNative(QFile::encodeName(path), limit, false);
}

ReadResult ReadNativeFile(const QByteArray& nativePath, qint64 limit)
{
    return readNative(nativePath, limit, false);
}

ReadResult ReadFileStart(const QString& path, qint64 limit)
{
    return readNative(QFile::encodeName(path), limit, true);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    // Through a link to its target, which is replaced in its own folder.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? (info.exists() ? info.canonicalFilePath() : info.symLinkTarget()) : path;
    if (KindOf(target) == FileKind::Other) {
        if (error)
            *error = NotARegularFileReason;
        return false;
    }
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    // QSaveFile::commit() can succeed after a short write (a full disk, a
    // file size limit), so the bytes are flushed and counted first.
    if (f.write(bytes) != bytes.size() || !f.flush() || f.size() != bytes.size()) {
        if (error)
            *error = f.error() == QFileDevice::NoError ? QStringLiteral("書き込みが途中で失敗しました")
                                                       : f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

QString KeepBackup(const QString& path, QString* error)
{
    QString backup = path + QStringLiteral(".bak");
    for (int n = 1; QFileInfo::exists(backup); ++n)
        backup = path + QStringLiteral(".%1.bak").arg(n);
    QFile source(path);
    if (!source.copy(backup)) {
        if (error)
            *error = source.errorString();
        return {};
    }
    return backup;
}

int RemoveInterruptedSaves(const ProgramFolder& folder, const QStringList& names)
{
    int removed = 0;
    const QByteArray path = QFile::encodeName(folder.path());
    for (const QByteArray& native : nativeNames(folder.path())) {
        const QString shown = shownName(native);
        for (const QString& name : names) {
            const QString tail = shown.mid(name.size() + 1);
            const bool leftover = shown.size() == name.size() + 7 && shown.startsWith(name + QLatin1Char('.'))
                && std::all_of(tail.begin(), tail.end(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; });
            if (leftover && kindOfNative(path + native) == FileKind::Regular && ::unlink((path + native).constData()) == 0)
                ++removed;
        }
    }
    return removed;
}

bool PayOwedBackup(const QString& path, bool& owed, QString* error)
{
    if (!owed || KindOf(path) == FileKind::Missing) {
        owed = false;
        return true;
    }
    QString why;
    if (KeepBackup(path, &why).isEmpty()) {
        if (error)
            *error = QStringLiteral("壊れていたファイルを控えとして保存できないため、上書きしません。%1").arg(why);
        return false;
    }
    owed = false;
    return true;
}

} // namespace morvela
