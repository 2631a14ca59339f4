#include "ui/SingleInstance.h"

#include "core/ProgramFolder.h"

#include <QCryptographicHash>
#include <QDir>

namespace morvela {

namespace {

enum class Outcome { Locked, HeldByAnother, NoLockHere };

// Only a lock that names a live copy of the program refuses a start. A lock
// file left empty or garbled (a crash while it was written, a copy from
// another machine) is taken over at once instead of after the stale time.
Outcome tryLock(QLockFile& lock, const QString& path)
{
    if (lock.tryLock(0))
        return Outcome::Locked;
    if (lock.error() != QLockFile::LockFailedError)
        return Outcome::NoLockHere; // cannot be made here: full disk, read-only folder, a folder of that name
    qint64 pid = 0;
    QString host, app;
    if (lock.getLockInfo(&pid, &host, &app))
        return Outcome::HeldByAnother;
    if (KindOf(path) == FileKind::Other)
        return Outcome::NoLockHere; // a folder or the like in the lock's place
    lock.removeStaleLockFile();
    return lock.tryLock(0) ? Outcome::Locked : Outcome::HeldByAnother;
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder)
    : m_taking(std::async(std::launch::async, [this, programFolder] { return take(programFolder); }))
{
}

SingleInstance::~SingleInstance()
{
    if (m_taking.valid())
        m_taking.wait();
}

bool SingleInstance::acquired()
{
    if (m_taking.valid())
        m_acquired = m_taking.get();
    return m_acquired;
}

bool SingleInstance::take(const QString& programFolder)
{
    const QString path = QDir(programFolder).filePath(QStringLiteral("morvela.lock"));
    m_lock = std::make_unique<QLockFile>(path);
    Outcome outcome = tryLock(*m_lock, path);
    if (outcome == Outcome::NoLockHere) {
        // The folder takes no lock: one in the temporary folder, named after
        // the program folder, still keeps a second copy out.
        const QByteArray key = QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(),
                                                        QCryptographicHash::Sha1).toHex().left(16);
        const QString temp = QDir::temp().filePath(QStringLiteral("morvela-%1.lock").arg(QString::fromLatin1(key)));
        m_lock = std::make_unique<QLockFile>(temp);
        outcome = tryLock(*m_lock, temp);
    }
    // Nowhere to lock at all: better to run than to refuse silently.
    return outcome != Outcome::HeldByAnother;
}

} // namespace morvela
