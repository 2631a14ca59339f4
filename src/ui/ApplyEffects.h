#pragma once

#include "core/ScreenEffects.h"

#include <functional>

class QDialog;

namespace morvela {

class AppContext;

// Carries out an engine's effects on its window, in the order of the
// fields of ScreenEffects: boxes emptied, the message, the result window,
// the menu's status box of `courseRow`, the save, the focus, the close.
// `showResultScreen` opens a result window by name and waits for it.
// A box or focus that names no control of the window is a fault of the
// program: it stops a debug build and is warned of otherwise.
void ApplyEffects(AppContext& ctx, QDialog& window, int courseRow, const ScreenEffects& effects,
                  const std::function<void(const QString&)>& showResultScreen = {});

// The warning for a control `window` does not have.
QString MissingControlWarning(const QString& window, const QString& control);

} // namespace morvela
