#include "ui/ApplyEffects.h"

#include "ui/AppContext.h"

#include <QDialog>
#include <QLineEdit>

namespace morvela {

void ApplyEffects(AppContext& ctx, QDialog& window, int courseRow, const ScreenEffects& effects,
                  const std::function<void(const QString&)>& showResultScreen)
{
    for (const QString& name : effects.clearBoxes) {
        if (auto* box = window.findChild<QLineEdit*>(name))
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
        auto* target = window.findChild<QWidget*>(effects.focus);
        if (target && target->isEnabled())
            target->setFocus();
    }
    if (effects.close)
        window.accept();
}

} // namespace morvela
