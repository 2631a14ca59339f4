#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace morvela {

// Controls carry the names the screens are known by ("Label5", "Command2").

// A label that shows its text as plain text, never as markup.
QLabel* NamedLabel(const QString& name, const QString& text, QWidget* parent);

// The line of the keys missed most ("MissedKeys"), set after each judgement
// of the screens that keep the input method out. It is laid into room a page
// has to spare and takes only the width it is given, so however long its
// text it never moves another control.
QLabel* MissedKeysLabel(QWidget* parent);

// A button that Enter presses while it has the focus.
QPushButton* NamedButton(const QString& name, const QString& caption, QWidget* parent);

} // namespace morvela
