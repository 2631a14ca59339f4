#include "ui/TypingScreen.h"

#include "ui/ApplyEffects.h"

namespace morvela {

TypingScreen::TypingScreen(AppContext& ctx, int courseRow, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_courseRow(courseRow)
{
}

void TypingScreen::showResultScreen(const QString&) {}

void TypingScreen::apply(const ScreenEffects& effects)
{
    render();
    ApplyEffects(m_ctx, *this, m_courseRow, effects, [this](const QString& name) { showResultScreen(name); });
}

KeyOutcome TypingScreen::judged(const KeyOutcome& outcome)
{
    apply(outcome.effects);
    return outcome;
}

} // namespace morvela
