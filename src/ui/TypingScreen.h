#pragma once

#include "core/ScreenEffects.h"

#include <QDialog>

namespace morvela {

class AppContext;
class LiveStrip;
class TypingAttempt;

// A window whose engine judges what the learner types: Lesson 0's speed
// test and home-position pages, the rhythm and word drills, the sentence
// lessons, the graduation exam and the game. Whatever happens on it (a
// character judged, a button, a tick) ends one way: the engine's screen is
// shown, then its effects are carried out in their order (ApplyEffects), so
// a message, a save or a move of the focus always meets controls that
// already show the new state.
class TypingScreen : public QDialog {
    Q_OBJECT
protected:
    // `courseRow` is the menu's row whose status box the effects refresh
    // (0 = Lesson 0 .. 9 = graduation; -1 for the game, which has none).
    TypingScreen(AppContext& ctx, int courseRow, QWidget* parent);

    // Shows the engine's screen state on the controls.
    virtual void render() = 0;
    // Opens the result window of that name modally and waits for it; only
    // screens whose engine names result windows have any.
    virtual void showResultScreen(const QString& name);

    // Render, then carry out `effects`.
    void apply(const ScreenEffects& effects);
    // A character judged by the engine, handled like every other event; the
    // outcome goes back to the box (whether the character goes in, and on
    // screens of several lines whose turn it is).
    KeyOutcome judged(const KeyOutcome& outcome);

    // The live strip over the engine's `attempt`, made once; the window
    // places it in spare room. Every event refreshes it.
    LiveStrip* makeLiveStrip(const TypingAttempt& attempt, bool inputMethod);
    // An attempt restarted outside the engine's effects.
    void refreshLiveStrip();

    AppContext& m_ctx;

private:
    int m_courseRow;
    LiveStrip* m_liveStrip = nullptr;
};

} // namespace morvela
