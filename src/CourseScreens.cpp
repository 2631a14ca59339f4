#include "CourseScreens.h"

#include "core/AppContext.h"
#include "app/F_mokuji.h"
#include "exam/F_kentei.h"
#include "intro/Lesson0Windows.h"
#include "lessons/RhythmLessonWindow.h"

#include <QComboBox>

namespace morvela {

void ConnectScreens(F_mokuji& menu, AppContext& ctx)
{
    // A lesson that changes its state shows it on the menu at once.
    ctx.rowStateChanged = [&menu](int row) { menu.refreshRowState(row); };

    // One line per screen; each screen's own file says how it runs.
    menu.setCourseScreen(0, [&ctx, &menu] { RunLesson0(ctx, &menu); });
    for (int lesson = 1; lesson <= 4; ++lesson)
        menu.setCourseScreen(lesson, [&ctx, &menu, lesson] { ctx.runScreen<RhythmLessonWindow>(&menu, lesson); });
    menu.setExamScreen([&ctx, &menu] { ctx.runScreen<F_kentei>(&menu, menu.examList()->currentText()); });
}

} // namespace morvela
