#pragma once

#include "core/OptionSettings.h"
#include "core/ProgressRecord.h"
#include "core/ProgramFolder.h"

#include <QString>

namespace morvela {

inline const QString ProgramTitle = QStringLiteral("Morvela Ver.4.0");

// The values the whole program shares: made by main, handed to every window.
struct AppState {
    explicit AppState(const QString& programFolder) : AppState(programFolder, programFolder) {}
    AppState(const QString& dataFolder, const QString& userFolder) : folder(userFolder), data(dataFolder) {}

    // The learner's files: what the program writes (progress, score, the
    // exam's work files) and the exam texts they add. The program folder
    // itself when it runs from a folder of its own.
    ProgramFolder folder;     // ProgramFolder
    // The files that come with the program: Keyboard.bmp, game.dat and the
    // sample exam texts.
    ProgramFolder data;
    ProgressRecord progress;  // the in-memory record; the truth during a run
    DerivedSettings settings; // RhythmInterval1..5, WordList1..6
    qint64 GameHighScore = 0;
    bool LoadedOnce = false;
    // Files found damaged at start whose backup could not be made yet, or
    // unreadable: never overwritten until a backup of them exists.
    bool ProgressBackupOwed = false;
    bool GameScoreBackupOwed = false;
    // Why the learner's files are not where they belong (their data folder
    // could not be made), said once at start-up; "" when they are.
    QString FolderNotice;
    QString MessageText;      // the prompt of the message box about to show
    // The mock exam's last comparison (0 and "" while typing is under way),
    // read by its mistake report: one line per mistake, each ended by CR LF.
    int MistakeCount = 0;
    QString MistakeReport;
};

} // namespace morvela

namespace morvela {

// Course windows carry the program title and a tag: " ● Lesson1 ●".
inline QString CourseTitle(const QString& tag)
{
    return ProgramTitle + tag;
}

} // namespace morvela
