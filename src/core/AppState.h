#pragma once

#include "core/ProgressRecord.h"
#include "ui/FileAccess.h"

#include <QString>

namespace morvela {

inline const QString ProgramTitle = QStringLiteral("Morvela Ver.4.0");

// The values the whole program shares: made by main, handed to every window.
struct AppState {
    explicit AppState(const QString& programFolder) : folder(programFolder) {}

    ProgramFolder folder;     // ProgramFolder
    ProgressRecord progress;  // the in-memory record; the truth during a run
    DerivedSettings settings; // RhythmInterval1..5, WordList1..6
    qint64 GameHighScore = 0;
    bool LoadedOnce = false;
    // Files found damaged at start whose backup could not be made yet.
    bool ProgressBackupOwed = false;
    bool GameScoreBackupOwed = false;
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
