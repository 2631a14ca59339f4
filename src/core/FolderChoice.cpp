#include "core/FolderChoice.h"

#include "core/FileAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace morvela {

namespace {

// A progress or score file is a few hundred bytes; anything near this is
// not one of ours and is left where it is.
constexpr qint64 RecordSizeLimit = 1 << 20;

} // namespace

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

bool MakeUserFolder(const ProgramFolders& folders)
{
    return !folders.separate() || QDir().mkpath(folders.user);
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
