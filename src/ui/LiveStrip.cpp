#include "ui/LiveStrip.h"

namespace morvela {

LiveStrip::LiveStrip(const TypingAttempt& attempt, bool inputMethod, QWidget* parent)
    : QLabel(parent), m_attempt(attempt), m_inputMethod(inputMethod)
{
    setObjectName(QStringLiteral("LiveStrip"));
    setTextFormat(Qt::PlainText);
    setAccessibleDescription(objectName());
    // Only the room there is: the strip never pushes a control aside.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &LiveStrip::refresh);
    display(LiveFiguresOf(m_attempt, m_inputMethod));
}

QString LiveStrip::widestLine(bool inputMethod)
{
    return LiveLine(99 * 60 * 1000 + 59000, 9999, 999, 100, inputMethod);
}

void LiveStrip::refresh()
{
    if (isHidden())
        return;
    const bool begun = m_attempt.acceptedCount() > 0 || m_attempt.misses() > 0;
    if (m_holdsFinished && !begun)
        return;
    m_holdsFinished = false;
    display(LiveFiguresOf(m_attempt, m_inputMethod));
    if (m_attempt.started() != m_tick.isActive()) {
        if (m_attempt.started())
            m_tick.start();
        else
            m_tick.stop();
    }
}

void LiveStrip::attemptEnded(const AttemptRecord& finished)
{
    m_tick.stop();
    m_holdsFinished = true;
    display(LiveFiguresOf(finished));
}

void LiveStrip::hideEvent(QHideEvent* event)
{
    m_tick.stop();
    QLabel::hideEvent(event);
}

void PlaceLiveStrip(QBoxLayout& row, LiveStrip* strip)
{
    row.addStretch(0);
    row.addWidget(strip, 1);
}

void LiveStrip::display(const LiveFigures& figures)
{
    const QString line = LiveLine(figures);
    if (text() != line)
        setText(line);
}

} // namespace morvela
