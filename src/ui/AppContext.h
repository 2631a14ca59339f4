#pragma once

#include "core/AppState.h"
#include "core/AttemptRecord.h"
#include "core/ClickOutput.h"
#include "core/Clock.h"
#include "ui/MessageService.h"
#include "ui/ModalRunner.h"
#include "ui/UrlOpener.h"

#include <functional>

class QWidget;

namespace morvela {

// What every window is handed: the shared state and the services over the
// desktop (message boxes, modal screens, the clock), which tests replace.
class AppContext {
public:
    AppContext(AppState& state, MessageService& messages, ModalRunner& runner, const Clock& clock, UrlOpener& links,
               OpenClickOutput openClicks)
        : state(state), messages(messages), runner(runner), clock(clock), links(links), openClicks(std::move(openClicks))
    {
    }

    AppState& state;
    MessageService& messages;
    ModalRunner& runner;
    const Clock& clock;
    UrlOpener& links; // the browser
    // Opens the metronome's click stream (the click player beside the program).
    const OpenClickOutput openClicks;

    // MessageText := text, then the message box (OK, icon, title).
    void showMessage(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None,
                     const QString& title = ProgramTitle);

    // SaveProgress. A failure is shown with its reason; the in-memory record
    // stays as it is, so nothing the learner did is lost.
    // `afterwards` is one more line for the failure's message (what the
    // learner can do next).
    bool saveProgress(QWidget* parent, const QString& afterwards = {});

    // game.ini with GameHighScore, the same way: atomic, a failure shown.
    bool saveGameScore(QWidget* parent);

    // The one way a screen runs: built, loaded, shown modally; its result.
    // A screen is constructed as Screen(ctx, args..., parent).
    // Every screen runs so, with four that differ around it
    // (src/CourseScreens.cpp wires them): Lesson 0 (RunLesson0) runs its
    // pages so one after another, each page naming the next; the game
    // (RunGame) first loads its word list and runs only when it has words;
    // the mock exam (RunExam) first reads its text and runs only when it
    // could;
    // the hint window is made once, on first use, and filled afresh for
    // each page (F_hint::showHint in place of Form_Load), then shown
    // through `runner` itself. The menu is no screen: it is the start window.
    template <class Screen, class... Args>
    int runScreen(QWidget* parent, Args&&... args)
    {
        Screen screen(*this, std::forward<Args>(args)..., parent);
        screen.Form_Load();
        return runner.run(screen);
    }

    // The learner's record, where every finished attempt goes (none until
    // the composition root hands one over).
    AttemptLog& attemptLog() const { return *m_attemptLog; }
    void setAttemptLog(AttemptLog& log) { m_attemptLog = &log; }

    // A lesson changed its state: the menu's status box of that course row
    // (0 = Lesson 0 .. 9 = graduation) shows it at once.
    void showRowState(int row) const
    {
        if (rowStateChanged)
            rowStateChanged(row);
    }
    std::function<void(int row)> rowStateChanged;

private:
    inline static NoAttemptLog s_noAttemptLog;
    AttemptLog* m_attemptLog = &s_noAttemptLog;

    // What could not be saved, where, why, and what that means for the learner.
    void showSaveFailure(QWidget* parent, const QString& what, const QString& fileName, const QString& error,
                         const QString& consequence);
};

} // namespace morvela
