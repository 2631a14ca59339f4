#pragma once

#include "ui/MessageService.h"

#include <QList>

namespace morvela::test {

// Records the messages instead of showing them.
class RecordingMessageService final : public MessageService {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
        QString title;
    };
    void show(QWidget*, const QString& text, MessageIcon icon, const QString& title) override
    {
        shown.append({text, icon, title});
    }
    // A question is recorded as shown, and answered with the next of
    // `answers` ("いいえ" once they run out).
    bool ask(QWidget*, const QString& text, MessageIcon icon, const QString& title) override
    {
        shown.append({text, icon, title});
        return !answers.isEmpty() && answers.takeFirst();
    }
    void beep() override { ++beeps; }
    int beeps = 0;
    QList<Shown> shown;
    QList<bool> answers;
};

} // namespace morvela::test
