#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace morvela {

// Controls carry the names the screens are known by ("Label5", "Command2").

// A label that shows its text as plain text, never as markup.
QLabel* NamedLabel(const QString& name, const QString& text, QWidget* parent);

// A button that Enter presses while it has the focus.
QPushButton* NamedButton(const QString& name, const QString& caption, QWidget* parent);

} // namespace morvela
