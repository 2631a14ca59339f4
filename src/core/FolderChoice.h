#pragma once

#include <QString>
#include <QStringList>

namespace morvela {

// An installation lays this file beside the program, so that even a
// program folder the user may write to (root's, or an install into a
// home folder) keeps the learner's files out of the installed files.
inline const QString InstalledMarkerName = QStringLiteral("morvela.installed");

// The folder of the running executable, as the system tells it; "" with
// `reason` set when the system cannot (a path longer than it takes). Qt's
// own answer would then be a guess (the root folder), where the program's
// files would be called missing.
QString ExecutableFolder(QString* reason);

// What start-up knows about the place the program runs from.
struct FolderFacts {
    QString programFolder; // the executable's folder
    bool programFolderWritable = false;
    bool installed = false;  // the marker lies in the program folder
    QString userDataFolder;  // the learner's data folder ("" when there is none)
};

// The bundled data (Keyboard.bmp, game.dat, sample exam texts) is always
// read from the program folder. The files the program writes go beside it
// when it runs from a folder of its own (a build folder, an unpacked copy),
// and to the learner's data folder otherwise.
struct ProgramFolders {
    QString data;
    QString user;
    bool separate() const { return data != user; }
};

ProgramFolders ChooseFolders(const FolderFacts& facts);

// The facts of the running program, from the file system and QStandardPaths.
FolderFacts FactsOf(const QString& programFolder);

// Makes the learner's data folder when it is a folder of its own, before
// anything (the single-instance lock first) is put there. When it cannot be
// made, the learner's files are read where they lie, beside the program
// (`folders.user` becomes the program folder), and `notice` says why the
// progress cannot be kept where it belongs and where that is.
bool MakeUserFolder(ProgramFolders& folders, QString* notice = nullptr);

// Copies into the learner's data folder those of `records` (progress,
// score) that lie in the program folder and not yet there: a copy run from
// a folder the learner can no longer write to keeps its progress. The
// program folder's files are never changed. Returns the names copied.
QStringList CarryOverRecords(const ProgramFolders& folders, const QStringList& records);

} // namespace morvela
