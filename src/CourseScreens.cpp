#include "CourseScreens.h"

#include "core/AppContext.h"
#include "app/F_mokuji.h"
#include "intro/Lesson0Windows.h"
#include "lessons/GraduationWindows.h"
#include "lessons/RhythmLessonWindow.h"
#include "lessons/SentenceLessonWindow.h"
#include "lessons/WordDrillWindow.h"

namespace morvela {

void ConnectScreens(F_mokuji& menu, AppContext& ctx)
{
    // A lesson that changes its state shows it on the menu at once.
    ctx.rowStateChanged = [&menu](int row) { menu.refreshRowState(row); };

    // One line per screen; each screen's own file says how it runs.
    menu.setCourseScreen(0, [&ctx, &menu] { RunLesson0(ctx, &menu); });
    for (int lesson = 1; lesson <= 4; ++lesson)
        menu.setCourseScreen(lesson, [&ctx, &menu, lesson] { ctx.runScreen<RhythmLessonWindow>(&menu, lesson); });
    for (int lesson = 5; lesson <= 6; ++lesson)
        menu.setCourseScreen(lesson, [&ctx, &menu, lesson] { ctx.runScreen<WordDrillWindow>(&menu, lesson); });
    for (int lesson = 7; lesson <= 8; ++lesson)
        menu.setCourseScreen(lesson, [&ctx, &menu, lesson] { ctx.runScreen<SentenceLessonWindow>(&menu, lesson); });
    menu.setCourseScreen(9, [&ctx, &menu] { ctx.runScreen<GraduationExamWindow>(&menu); });
}

} // namespace morvela
