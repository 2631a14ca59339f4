#pragma once

#include "ui/ModalRunner.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace morvela::test {

// Runs each screen it is given with the next action of its script: the
// action clicks and types on the shown screen until the screen closes.
class ScriptedModalRunner final : public ModalRunner {
public:
    using Action = std::function<void(QDialog&)>;
    void then(Action action) { m_script.append(std::move(action)); }
    int run(QDialog& dialog) override
    {
        opened << dialog.objectName();
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        if (!m_script.isEmpty()) {
            Action action = m_script.takeFirst();
            action(dialog);
        }
        if (dialog.isVisible())
            dialog.reject(); // a script that leaves a screen open closes it
        return dialog.result();
    }
    QStringList opened; // objectNames of the screens, in order
    bool scriptDone() const { return m_script.isEmpty(); }

private:
    QList<Action> m_script;
};

} // namespace morvela::test
