#pragma once

#include "lessons/LessonScript.h"

#include <QString>

namespace morvela {

// The window, page id and title of the practice of the weakest keys.
inline const QString PracticeWindowName = QStringLiteral("F_nigate");
inline const QString PracticePageId = QStringLiteral("苦手キー練習");

// A one-page rhythm drill on `line`, outside the course: the rhythm
// engine, the metronome and the key marking as on any rhythm page, but
// never gated and booking nothing in the progress record.
LessonScript PracticeScript(const QString& line);

} // namespace morvela
