#include "ui/FileAccess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace morvela {

FileKind KindOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return FileKind::Missing;
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
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

namespace {

// The first entry named `name` (ignoring case) whose kind `wanted` accepts.
template <class Wanted>
QString findEntry(const QString& folder, const QString& name, Wanted wanted)
{
    const QString exact = folder + name;
    if (wanted(KindOf(exact)))
        return exact;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0 && wanted(KindOf(it.filePath())))
            return it.filePath();
    }
    return {};
}

} // namespace

QString ProgramFolder::find(const QString& name) const
{
    return findEntry(m_path, name, [](FileKind k) { return k == FileKind::Regular; });
}

QString ProgramFolder::findOther(const QString& name) const
{
    return findEntry(m_path, name, [](FileKind k) { return k == FileKind::Other; });
}

QString ProgramFolder::filePath(const QString& name) const
{
    const QString found = find(name);
    return found.isEmpty() ? m_path + name : found;
}

QStringList ProgramFolder::namesWithSuffix(const QString& suffix) const
{
    QStringList names;
    QDirIterator it(m_path, QDir::Files);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().endsWith(suffix, Qt::CaseInsensitive))
            names << it.fileName();
    }
    return names;
}

namespace {

// Opens only a regular file, so a FIFO can never block the program.
bool openRegular(QFile& f, ReadResult& r)
{
    switch (KindOf(f.fileName())) {
    case FileKind::Missing:
        r.error = QStringLiteral("ファイルがありません。");
        return false;
    case FileKind::Other:
        r.error = NotARegularFileReason;
        return false;
    case FileKind::Regular:
        break;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        r.error = f.errorString();
        return false;
    }
    return true;
}

} // namespace

ReadResult ReadFileStart(const QString& path, qint64 limit)
{
    ReadResult r;
    QFile f(path);
    if (!openRegular(f, r))
        return r;
    r.bytes = f.read(limit + 1);
    r.tooLarge = r.bytes.size() > limit;
    if (r.tooLarge)
        r.bytes.truncate(limit);
    r.ok = f.error() == QFileDevice::NoError;
    if (!r.ok)
        r.error = f.errorString();
    return r;
}

ReadResult ReadSmallFile(const QString& path, qint64 limit)
{
    ReadResult r;
    QFile f(path);
    if (!openRegular(f, r))
        return r;
    if (f.size() > limit) {
        r.tooLarge = true;
        r.error = QStringLiteral("file too large");
        return r;
    }
    r.bytes = f.read(limit + 1);
    if (r.bytes.size() > limit) {
        r.tooLarge = true;
        r.bytes.clear();
        return r;
    }
    r.ok = f.error() == QFileDevice::NoError;
    if (!r.ok)
        r.error = f.errorString();
    return r;
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
