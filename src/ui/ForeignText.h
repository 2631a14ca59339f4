#pragma once

class QKeyEvent;
class QWidget;

namespace morvela {

// Typing screens measure typing, so text must come from the keyboard or
// the input method, never from elsewhere. What both kinds of box refuse:

// Drops and the context menu (with its paste entry).
void RefuseDropsAndContextMenu(QWidget* box);

// A key that pastes: Ctrl+V, Shift+Insert, the paste key.
bool IsPasteKey(const QKeyEvent* e);

} // namespace morvela
