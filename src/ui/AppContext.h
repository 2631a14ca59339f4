#pragma once

#include "core/AppState.h"
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
    AppContext(AppState& state, MessageService& messages, ModalRunner& runner, const Clock& clock,
               OpenClickOutput openClicks)
        : state(state), messages(messages), runner(runner), clock(clock), openClicks(std::move(openClicks))
    {
    }

    AppState& state;
    MessageService& messages;
    ModalRunner& runner;
    const Clock& clock;
    // Opens the metronome's click stream (the click player beside the program).
    const OpenClickOutput openClicks;
    // The browser; a test points this at a recorder.
    UrlOpener* links = &m_desktopLinks;

    // MessageText := text, then the message box (OK, icon, title).
    void showMessage(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None,
                     const QString& title = ProgramTitle);

    // SaveProgress. A failure is shown with its reason; the in-memory record
    // stays as it is, so nothing the learner did is lost.
    bool saveProgress(QWidget* parent);

    // game.ini with GameHighScore, the same way: atomic, a failure shown.
    bool saveGameScore(QWidget* parent);

    // The one way a screen runs: built, loaded, shown modally; its result.
    // A screen is constructed as Screen(ctx, args..., parent).
    template <class Screen, class... Args>
    int runScreen(QWidget* parent, Args&&... args)
    {
        Screen screen(*this, std::forward<Args>(args)..., parent);
        screen.Form_Load();
        return runner.run(screen);
    }

    // A lesson changed its state: the menu's status box of that course row
    // (0 = Lesson 0 .. 9 = graduation) shows it at once.
    void showRowState(int row) const
    {
        if (rowStateChanged)
            rowStateChanged(row);
    }
    std::function<void(int row)> rowStateChanged;

private:
    DesktopUrlOpener m_desktopLinks;

    // What could not be saved, where, why, and what that means for the learner.
    void showSaveFailure(QWidget* parent, const QString& what, const QString& fileName, const QString& error,
                         const QString& consequence);
};

} // namespace morvela
