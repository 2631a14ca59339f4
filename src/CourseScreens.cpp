#include "CourseScreens.h"

#include "core/AppContext.h"
#include "app/F_mokuji.h"
#include "game/F_game.h"
#include "game/GameRandom.h"
#include "intro/Lesson0Windows.h"
#include "lessons/RhythmLessonWindow.h"

#include <memory>

namespace morvela {

void ConnectScreens(F_mokuji& menu, AppContext& ctx)
{
    // A lesson that changes its state shows it on the menu at once.
    ctx.rowStateChanged = [&menu](int row) { menu.refreshRowState(row); };

    // One line per screen; each screen's own file says how it runs.
    menu.setCourseScreen(0, [&ctx, &menu] { RunLesson0(ctx, &menu); });
    for (int lesson = 1; lesson <= 4; ++lesson)
        menu.setCourseScreen(lesson, [&ctx, &menu, lesson] { ctx.runScreen<RhythmLessonWindow>(&menu, lesson); });
    // The game's generator and march go on from one opening to the next.
    menu.setGameScreen([&ctx, &menu, game = std::make_shared<GameRun>()] { RunGame(ctx, &menu, *game); });
}

} // namespace morvela
