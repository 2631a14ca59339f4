#pragma once

#include "core/AppState.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace morvela {

// The start-up steps that need no window, in the order the menu runs them.

// What keeps a picture from showing whole ("" when it shows); decoding a
// picture is the window layer's, which hands it in.
using PictureCheck = std::function<QString(const QString& path)>;

// Keyboard.bmp, then game.dat: the message that ends the program when one is
// missing, cannot be looked at, or (the picture, by `checkPicture`) does not
// show; else "".
QString MissingDataFileMessage(const ProgramFolder& folder, const PictureCheck& checkPicture = {});

// Creates morvela.ini and game.ini when missing and reads both once per run.
// Returns a message for the learner ("" when all went well): files that were
// damaged and repaired, or that could not be written.
QString PrepareRecords(AppState& state);

// Exam texts: the *.ken files, in the order the file system gives them.
QList<FolderEntry> ExamFiles(const ProgramFolder& folder);
// Both places: the learner's texts first, then those that came with the
// program, each name once.
QList<FolderEntry> ExamFiles(const AppState& state);
// The name an exam text is listed by: its file name without the extension.
QString ExamName(const FolderEntry& file);

// The mock exam's "開始": the message when the chosen text `name` has no
// file (none was listed, or it is gone since), else "".
QString MissingExamMessage(const std::optional<FolderEntry>& file, const QString& name);

} // namespace morvela
