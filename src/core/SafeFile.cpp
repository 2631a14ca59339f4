#include "core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvela {

namespace {

// Opens only a regular file: the kind is checked before opening (a device
// is never opened) and on the open file itself (nothing swapped in
// between), and O_NONBLOCK keeps a FIFO from ever blocking.
bool openRegular(const QByteArray& nativePath, QFile& f, ReadResult& r)
{
    int error = 0;
    switch (KindOfNative(nativePath, &error)) {
    case FileKind::Missing:
        r.error = FileErrorReason(ENOENT);
        return false;
    case FileKind::Other:
        r.error = NotARegularFileReason;
        return false;
    case FileKind::Unreachable:
        r.error = FileErrorReason(error);
        return false;
    case FileKind::Regular:
        break;
    }
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.error = FileErrorReason(errno);
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
        r.error = QStringLiteral("ファイルを開けません。（%1）").arg(f.errorString());
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
    const QString tooLarge = QStringLiteral("ファイルが大きすぎます（%1バイトまで）。").arg(limit);
    if (!startOnly && f.size() > limit) {
        r.tooLarge = true;
        r.error = tooLarge;
        return r;
    }
    r.bytes = f.read(limit + 1);
    r.tooLarge = r.bytes.size() > limit;
    if (r.tooLarge && !startOnly) {
        r.bytes.clear();
        r.error = tooLarge;
        return r;
    }
    if (r.tooLarge)
        r.bytes.truncate(limit);
    r.ok = f.error() == QFileDevice::NoError;
    if (!r.ok)
        r.error = QStringLiteral("読み取りの途中で失敗しました。（%1）").arg(f.errorString());
    return r;
}

const QString SavePrefix = QStringLiteral(".morvela-saving-");
const QString SaveSuffix = QStringLiteral(".tmp");

// Skips `word` at the start of `rest`, in any case.
bool skip(QStringView& rest, QStringView word)
{
    if (!rest.startsWith(word, Qt::CaseInsensitive))
        return false;
    rest = rest.mid(word.size());
    return true;
}

// Whether `name` is SaveInProgressName of `fileName` or of one of its
// backups ("morvela.ini.1.bak"), or QSaveFile's temporary of either
// (six letters or digits after a dot). Matched by hand, not by a regular
// expression: it runs at every start, and PCRE costs 0.4 MiB there.
bool isSaveInProgress(const QString& name, const QString& fileName)
{
    QStringView rest(name);
    if (!skip(rest, SavePrefix) || !skip(rest, fileName))
        return false;
    QStringView backup = rest; // ".bak" or ".N.bak"
    if (skip(backup, u".")) {
        const auto digits = std::find_if_not(backup.begin(), backup.end(), [](QChar c) { return c.isDigit() && c.unicode() < 0x80; })
                          - backup.begin();
        if (digits > 0 && backup.mid(digits).startsWith(u'.'))
            backup = backup.mid(digits + 1);
        if (skip(backup, u"bak"))
            rest = backup;
    }
    if (!skip(rest, SaveSuffix))
        return false;
    if (rest.isEmpty())
        return true;
    // A letter matches in any case, as ASCII's own do when folded (the
    // Kelvin sign folds to k).
    return rest.size() == 7 && rest.front() == u'.'
        && std::all_of(rest.begin() + 1, rest.end(), [](QChar c) {
               const char16_t f = c.toCaseFolded().unicode();
               return (f >= u'0' && f <= u'9') || (f >= u'a' && f <= u'z');
           });
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

QString SaveInProgressName(const QString& fileName)
{
    return SavePrefix + fileName + SaveSuffix;
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
    // QSaveFile names its temporary after the file it makes; made under a
    // name of the program's own, the file and its temporary, if a crash
    // leaves them, are told from anything of the learner's.
    const QFileInfo targetInfo(target);
    const QString staging = targetInfo.dir().filePath(SaveInProgressName(targetInfo.fileName()));
    QSaveFile f(staging);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("ファイルを作成できません。（%1）").arg(f.errorString());
        return false;
    }
    // QSaveFile::commit() can succeed after a short write (a full disk, a
    // file size limit), so the bytes are flushed and counted first.
    if (f.write(bytes) != bytes.size() || !f.flush() || f.size() != bytes.size()) {
        if (error)
            *error = f.error() == QFileDevice::NoError
                ? QStringLiteral("書き込みが途中で失敗しました。")
                : QStringLiteral("書き込みが途中で失敗しました。（%1）").arg(f.errorString());
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = QStringLiteral("ファイルを書き込めません。（%1）").arg(f.errorString());
        return false;
    }
    // The whole new file takes the place of the old one in one step.
    const QByteArray stagingNative = QFile::encodeName(staging);
    if (::rename(stagingNative.constData(), QFile::encodeName(target).constData()) != 0) {
        const int why = errno;
        ::unlink(stagingNative.constData());
        if (error)
            *error = FileErrorReason(why);
        return false;
    }
    return true;
}

QString KeepBackup(const QString& path, QString* error)
{
    QString backup = path + QStringLiteral(".bak");
    for (int n = 1;; ++n) {
        int why = 0;
        const FileKind kind = KindOf(backup, &why);
        if (kind == FileKind::Unreachable) {
            if (error)
                *error = FileErrorReason(why);
            return {};
        }
        if (kind == FileKind::Missing && !QFileInfo(backup).isSymLink())
            break;
        backup = path + QStringLiteral(".%1.bak").arg(n);
    }
    const ReadResult start = ReadFileStart(path, BackupCopyLimit);
    if (!start.ok) {
        if (error)
            *error = start.error;
        return {};
    }
    // A second name of the very file (through a link, of its target).
    if (start.tooLarge
        && ::linkat(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD, QFile::encodeName(backup).constData(),
                    AT_SYMLINK_FOLLOW) == 0)
        return backup;
    return WriteFileAtomically(backup, start.bytes, error) ? backup : QString();
}

int RemoveInterruptedSaves(const ProgramFolder& folder, const QStringList& names)
{
    int removed = 0;
    for (const FolderEntry& e : folder.entries()) {
        const bool ours = std::any_of(names.begin(), names.end(),
                                      [&](const QString& name) { return isSaveInProgress(e.name, name); });
        if (ours && KindOfNative(e.nativePath) == FileKind::Regular && ::unlink(e.nativePath.constData()) == 0)
            ++removed;
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
            *error = QStringLiteral("元の%1を控えとして保存できないため、上書きしません。%2")
                         .arg(QFileInfo(path).fileName(), why);
        return false;
    }
    owed = false;
    return true;
}

} // namespace morvela
