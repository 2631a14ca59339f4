#include "core/FolderChoice.h"

#include "core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace morvela {

namespace {

// A progress or score file is a few hundred bytes; anything near this is
// not one of ours and is left where it is.
constexpr qint64 RecordSizeLimit = 1 << 20;

} // namespace

QString ExecutableFolder(QString* reason)
{
    QByteArray target(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", target.data(), size_t(target.size()));
        if (n < 0) {
            if (reason)
                *reason = QStringLiteral("プログラムのフォルダを確かめられません。\n%1").arg(FileErrorReason(errno));
            return {};
        }
        if (n < target.size())
            return QFileInfo(QFile::decodeName(target.left(n))).absolutePath();
        target.resize(target.size() * 2);
    }
}

ProgramFolders ChooseFolders(const FolderFacts& facts)
{
    const bool besideProgram = facts.programFolderWritable && !facts.installed;
    // Without a data folder of the learner's there is nowhere else to write:
    // the program folder it is, and a failed save says so.
    if (besideProgram || facts.userDataFolder.isEmpty())
        return {facts.programFolder, facts.programFolder};
    return {facts.programFolder, facts.userDataFolder};
}

FolderFacts FactsOf(const QString& programFolder)
{
    FolderFacts facts;
    facts.programFolder = programFolder;
    facts.programFolderWritable = QFileInfo(programFolder).isWritable();
    facts.installed = ProgramFolder(programFolder).has(InstalledMarkerName);
    facts.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return facts;
}

namespace {

// QDir::mkpath, with the reason when it fails (0 when the folder is there).
int makePath(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0777) == 0)
        return 0;
    if (errno == EEXIST)
        return QFileInfo(path).isDir() ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const QString parent = QFileInfo(path).path();
    if (parent == path)
        return ENOENT;
    if (const int error = makePath(parent))
        return error;
    return ::mkdir(native.constData(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

} // namespace

bool MakeUserFolder(ProgramFolders& folders, QString* notice)
{
    if (!folders.separate())
        return true;
    const int error = makePath(QDir::cleanPath(folders.user));
    if (error == 0)
        return true;
    const QString wanted = folders.user;
    folders.user = folders.data;
    if (notice) {
        const bool writable = QFileInfo(folders.data).isWritable();
        *notice = QStringLiteral("練習の記録を保存するフォルダ\n%1\nを作成できません。%2\n"
                                 "記録はプログラムのフォルダ\n%3\nにあるものを読み込みます。%4")
                      .arg(QDir::toNativeSeparators(wanted), FileErrorReason(error),
                           QDir::toNativeSeparators(folders.data),
                           writable ? QStringLiteral("保存もそのフォルダに行います。")
                                    : QStringLiteral("そのフォルダには書き込めないため、練習の記録は保存できません。"));
    }
    return false;
}

QStringList CarryOverRecords(const ProgramFolders& folders, const QStringList& records)
{
    QStringList copied;
    if (!folders.separate())
        return copied;
    const ProgramFolder from(folders.data);
    const ProgramFolder to(folders.user);
    for (const QString& name : records) {
        if (!from.has(name) || !to.findOther(name).isEmpty() || to.has(name))
            continue;
        const ReadResult r = ReadSmallFile(from.find(name), RecordSizeLimit);
        if (r.ok && WriteFileAtomically(to.filePath(name), r.bytes, nullptr))
            copied << name;
    }
    return copied;
}

} // namespace morvela
