#pragma once

// Finding a screen's controls by the names the screens are known by.

#include "ui/TypingBox.h"

#include <QLabel>
#include <QPushButton>

namespace morvela::test {

inline QPushButton* button(const QWidget& w, int n)
{
    return w.findChild<QPushButton*>(QStringLiteral("Command%1").arg(n));
}

inline QLabel* label(const QWidget& w, int n)
{
    return w.findChild<QLabel*>(QStringLiteral("Label%1").arg(n));
}

inline TypingBox* typingBox(const QWidget& w, int n)
{
    return w.findChild<TypingBox*>(QStringLiteral("Text%1").arg(n));
}

} // namespace morvela::test
