#pragma once

#include "ui/MessageIcon.h"

#include <QString>

class QWidget;

namespace morvela {

// Every message box of the program goes through here (OK button, icon,
// title), so a test can put a recorder in its place and never block.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void show(QWidget* parent, const QString& text, MessageIcon icon, const QString& title) = 0;
};

class QtMessageService final : public MessageService {
public:
    void show(QWidget* parent, const QString& text, MessageIcon icon, const QString& title) override;
};

} // namespace morvela
