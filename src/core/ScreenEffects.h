#pragma once

#include "core/AttemptRecord.h"
#include "core/MessageIcon.h"

#include <QString>
#include <QStringList>

namespace morvela {

// What a screen does after an event, besides showing its engine's screen
// state. Every engine answers with this; its window carries the effects out
// in the order of the fields, so a rule decides the order, never a window.
struct ScreenEffects {
    QStringList clearBoxes;   // typing boxes (by name) emptied
    QString message;          // a message box, waited for; "" = none
    MessageIcon messageIcon = MessageIcon::None;
    QString resultScreen;     // a result window (by name) shown modally, waited for
    bool rowStateShown = false; // the menu's status box of this screen's row shows its new state
    bool save = false;        // SaveProgress (a failure is shown, the record kept)
    QString focus;            // the control (by name) that takes the focus; "" = as it is
    bool close = false;       // the window closes
    // An attempt that ended with this event, for the learner's record
    // (written before anything else is carried out).
    std::optional<AttemptRecord> finishedAttempt;

    friend bool operator==(const ScreenEffects&, const ScreenEffects&) = default;
};

// One character typed or committed into a typing box: whether it goes in,
// the line whose turn it is now (screens of several lines), and what the
// screen does about it.
struct KeyOutcome {
    bool accepted = false;
    int line = 0;
    ScreenEffects effects;
};

} // namespace morvela
