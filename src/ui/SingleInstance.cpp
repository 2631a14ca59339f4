#include "ui/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>

namespace morvela {

SingleInstance::SingleInstance(const QString& programFolder)
{
    m_lock = std::make_unique<QLockFile>(QDir(programFolder).filePath(QStringLiteral("morvela.lock")));
    m_acquired = m_lock->tryLock(0);
    if (m_acquired || m_lock->error() != QLockFile::PermissionError)
        return;
    const QByteArray key = QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(),
                                                    QCryptographicHash::Sha1).toHex().left(16);
    m_lock = std::make_unique<QLockFile>(QDir::temp().filePath(QStringLiteral("morvela-%1.lock").arg(QString::fromLatin1(key))));
    m_acquired = m_lock->tryLock(0);
    if (!m_acquired && m_lock->error() == QLockFile::PermissionError)
        m_acquired = true; // nowhere to lock: better to run than to refuse
}

} // namespace morvela
