#include "CourseScreens.h"

#include "core/AppContext.h"
#include "app/F_mokuji.h"
#include "intro/Lesson0Windows.h"
#include "lessons/RhythmLessonWindow.h"

namespace morvela {

void ConnectScreens(F_mokuji& menu, AppContext& ctx)
{
    // One line per screen; each screen's own file says how it runs.
    menu.setCourseScreen(0, [&ctx, &menu] { RunLesson0(ctx, &menu); });
    menu.setCourseScreen(1, [&ctx, &menu] { RunRhythmLesson(ctx, 1, &menu); });
    menu.setCourseScreen(2, [&ctx, &menu] { RunRhythmLesson(ctx, 2, &menu); });
    menu.setCourseScreen(3, [&ctx, &menu] { RunRhythmLesson(ctx, 3, &menu); });
    menu.setCourseScreen(4, [&ctx, &menu] { RunRhythmLesson(ctx, 4, &menu); });
}

} // namespace morvela
