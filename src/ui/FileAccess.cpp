#include "ui/FileAccess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace morvela {

ProgramFolder::ProgramFolder(QString path)
{
    if (path.isEmpty())
        path = QDir::currentPath();
    path = QDir::cleanPath(QDir(path).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    m_path = QDir::toNativeSeparators(path);
}

QString ProgramFolder::find(const QString& name) const
{
    const QString exact = m_path + name;
    if (QFileInfo(exact).isFile())
        return exact;
    QDirIterator it(m_path, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return it.filePath();
    }
    return {};
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

ReadResult ReadSmallFile(const QString& path, qint64 limit)
{
    ReadResult r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.error = f.errorString();
        return r;
    }
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
    QSaveFile f(path);
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

} // namespace morvela
