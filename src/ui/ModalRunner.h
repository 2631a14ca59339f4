#pragma once

#include <QDialog>
#include <QList>

#include <functional>

namespace morvela {

// Shows a screen modally and returns its result. Tests replace it with a
// script that works the screen while it is "open", so nothing blocks.
class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    virtual int run(QDialog& dialog) { return dialog.exec(); }
};

// Runs each screen it is given with the next action of its script: the
// action clicks and types on the shown screen until the screen closes.
class ScriptedModalRunner final : public ModalRunner {
public:
    using Action = std::function<void(QDialog&)>;
    void then(Action action) { m_script.append(std::move(action)); }
    int run(QDialog& dialog) override;
    QStringList opened; // objectNames of the screens, in order
    bool scriptDone() const { return m_script.isEmpty(); }

private:
    QList<Action> m_script;
};

} // namespace morvela
