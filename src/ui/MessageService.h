#pragma once

#include "core/MessageIcon.h"

#include <QString>

class QWidget;

namespace morvela {

// Every message box of the program goes through here (OK button, icon,
// title), so a test can put a recorder in its place and never block.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void show(QWidget* parent, const QString& text, MessageIcon icon, const QString& title) = 0;
    // A question with "はい" and "いいえ"; true for "はい". "いいえ" is the
    // default, so Enter pressed in haste changes nothing.
    virtual bool ask(QWidget* parent, const QString& text, MessageIcon icon, const QString& title) = 0;
    // The system beep.
    virtual void beep() = 0;
};

class QtMessageService final : public MessageService {
public:
    void show(QWidget* parent, const QString& text, MessageIcon icon, const QString& title) override;
    bool ask(QWidget* parent, const QString& text, MessageIcon icon, const QString& title) override;
    void beep() override;
};

// A message's text as the screen shows it: a CR (the program's line break in
// messages) is a line break.
QString ScreenText(const QString& text);

} // namespace morvela
