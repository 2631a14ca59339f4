#include "lessons/WeakKeyPractice.h"

#include "lessons/PracticeScript.h"
#include "lessons/RhythmLessonWindow.h"
#include "ui/AppContext.h"

#include <QDialog>

namespace morvela {

int RunWeakKeyPractice(AppContext& ctx, const QString& line, QWidget* parent)
{
    if (line.isEmpty())
        return QDialog::Rejected;
    const LessonScript script = PracticeScript(line); // outlives the window
    return ctx.runScreen<RhythmLessonWindow>(parent, script);
}

} // namespace morvela
