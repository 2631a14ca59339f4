#include "ui/TypingScreen.h"

#include "ui/ApplyEffects.h"
#include "ui/LiveStrip.h"

namespace morvela {

TypingScreen::TypingScreen(AppContext& ctx, int courseRow, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_courseRow(courseRow)
{
}

void TypingScreen::showResultScreen(const QString&) {}

void TypingScreen::apply(const ScreenEffects& effects)
{
    render();
    if (m_liveStrip) {
        if (effects.finishedAttempt)
            m_liveStrip->attemptEnded(*effects.finishedAttempt);
        else
            m_liveStrip->refresh();
    }
    ApplyEffects(m_ctx, *this, m_courseRow, effects, [this](const QString& name) { showResultScreen(name); });
}

LiveStrip* TypingScreen::makeLiveStrip(const TypingAttempt& attempt, bool inputMethod)
{
    if (!m_liveStrip)
        m_liveStrip = new LiveStrip(attempt, inputMethod, this);
    return m_liveStrip;
}

void TypingScreen::refreshLiveStrip()
{
    if (m_liveStrip)
        m_liveStrip->refresh();
}

KeyOutcome TypingScreen::judged(const KeyOutcome& outcome)
{
    apply(outcome.effects);
    return outcome;
}

} // namespace morvela
