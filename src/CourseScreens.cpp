#include "CourseScreens.h"

#include "app/CourseGates.h"
#include "app/F_Option.h"
#include "app/F_hint.h"
#include "app/F_mokuji.h"
#include "ui/AppContext.h"
#include "exam/F_kentei.h"
#include "game/F_game.h"
#include "game/GameRandom.h"
#include "intro/RunLesson0.h"
#include "lessons/GraduationWindows.h"
#include "lessons/RhythmLessonWindow.h"
#include "lessons/SentenceLessonWindow.h"
#include "lessons/LessonScript.h"
#include "lessons/WordDrillScripts.h"
#include "lessons/WordDrillWindow.h"
#include "record/PracticeLine.h"
#include "record/RecordWindow.h"

#include <QFileDialog>

// The weakest-key practice page (a rhythm drill of the lessons).
#if __has_include("lessons/WeakKeyPractice.h")
#include "lessons/WeakKeyPractice.h"
#define MORVELA_WEAK_KEY_PRACTICE 1
#endif

#include <memory>

namespace morvela {

namespace {

// What the weakest-key practice is made of: the course's own drill lines
// and romaji words, and the home row of Lesson 1 for a learner with too
// little record.
RecordWindowSetup PracticeMaterial()
{
    QStringList texts;
    for (int lesson = 1; lesson <= 4; ++lesson) {
        for (const DrillPage& page : RhythmLessonScript(lesson).pages)
            texts << page.drillText;
    }
    for (const WordDrillPage& page : WordDrillLessonScript(5).pages)
        texts << page.drillText;
    RecordWindowSetup setup;
    setup.practiceWords = PracticeCandidates(texts);
    setup.homeRow = RhythmLessonScript(1).page(3).drillText;
    return setup;
}

void RunRecord(AppContext& ctx, QWidget* parent, HistoryDatabase& history)
{
    HistoryRecord record(history);
    RecordWindowSetup setup = PracticeMaterial();
#ifdef MORVELA_WEAK_KEY_PRACTICE
    setup.practise = [&ctx](QWidget* window, const QString& line) { RunWeakKeyPractice(ctx, line, window); };
#endif
    setup.chooseCsvFile = [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("CSVに書き出す"), suggested,
                                            QStringLiteral("CSVファイル (*.csv)"));
    };
    ctx.runScreen<RecordWindow>(parent, record, std::move(setup));
}

} // namespace

void ConnectScreens(F_mokuji& menu, AppContext& ctx, HistoryDatabase* history)
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

    menu.setOptionsScreen([&ctx, &menu] { ctx.runScreen<F_Option>(&menu); });

    // One hint window, made on first use (not at start-up) and filled
    // afresh for each page; the menu owns it.
    auto hints = std::make_shared<F_hint*>(nullptr);
    for (int row = 0; row < CourseRowCount; ++row) {
        menu.setHintPage(row, [&ctx, &menu, hints, row] {
            if (!*hints)
                *hints = new F_hint(ctx, &menu);
            (*hints)->showHint(row + 1);
            ctx.runner.run(**hints);
        });
    }

    menu.setExamScreen([&ctx, &menu] { RunExam(ctx, &menu, *menu.chosenExam()); });
    // The game's generator and march go on from one opening to the next.
    menu.setGameScreen([&ctx, &menu, game = std::make_shared<GameRun>()] { RunGame(ctx, &menu, *game); });
    if (history)
        menu.setRecordScreen([&ctx, &menu, history] { RunRecord(ctx, &menu, *history); });
}

} // namespace morvela
