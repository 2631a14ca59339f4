#include "ui/ApplyEffects.h"

#include "ui/AppContext.h"

#include <QDialog>
#include <QLineEdit>
#include <QtGlobal>

namespace morvela {

namespace {

// An effect names a control the window does not have: the engine and the
// window disagree, a fault of the program, never of the learner. A debug
// build stops at once; a release build says so on the standard error (the
// test suite fails on it) and carries on without that one effect.
template <class Control>
Control* namedControl(QDialog& window, const QString& name)
{
    auto* control = window.findChild<Control*>(name);
    if (!control) {
        qWarning("%s", qPrintable(MissingControlWarning(window.objectName(), name)));
        Q_ASSERT_X(false, "ApplyEffects", qPrintable(MissingControlWarning(window.objectName(), name)));
    }
    return control;
}

} // namespace

QString MissingControlWarning(const QString& window, const QString& control)
{
    return QStringLiteral("ApplyEffects: %1 has no control named \"%2\"").arg(window, control);
}

void ApplyEffects(AppContext& ctx, QDialog& window, int courseRow, const ScreenEffects& effects,
                  const std::function<void(const QString&)>& showResultScreen)
{
    if (effects.finishedAttempt)
        ctx.attemptLog().record(*effects.finishedAttempt);
    for (const QString& name : effects.clearBoxes) {
        if (auto* box = namedControl<QLineEdit>(window, name))
            box->clear();
    }
    if (!effects.message.isEmpty())
        ctx.showMessage(&window, effects.message, effects.messageIcon);
    if (!effects.resultScreen.isEmpty() && showResultScreen)
        showResultScreen(effects.resultScreen);
    if (effects.rowStateShown)
        ctx.showRowState(courseRow);
    if (effects.save)
        ctx.saveProgress(&window);
    if (!effects.focus.isEmpty()) {
        auto* target = namedControl<QWidget>(window, effects.focus);
        if (target && target->isEnabled())
            target->setFocus();
    }
    if (effects.close)
        window.accept();
}

} // namespace morvela
