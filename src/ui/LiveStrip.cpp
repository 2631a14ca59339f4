#include "ui/LiveStrip.h"

#include <QFontMetricsF>
#include <QResizeEvent>

#include <algorithm>

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
    m_baseFont = font();
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

void LiveStrip::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fitToRoom();
}

void LiveStrip::fitToRoom()
{
    QFont fitted = m_baseFont;
    const qreal room = contentsRect().width() - 2;
    const qreal needed = QFontMetricsF(m_baseFont, this).horizontalAdvance(text());
    if (room > 0 && needed > room) {
        // No smaller than half the size: below that it could not be read.
        const qreal scale = std::max(room / needed, 0.5);
        if (m_baseFont.pixelSize() > 0)
            fitted.setPixelSize(std::max(1, int(m_baseFont.pixelSize() * scale)));
        else
            fitted.setPointSizeF(m_baseFont.pointSizeF() * scale * 0.98);
    }
    if (fitted != font())
        setFont(fitted);
}

void PlaceLiveStrip(QBoxLayout& row, LiveStrip* strip)
{
    row.addStretch(0);
    row.addWidget(strip, 1);
}

void LiveStrip::display(const LiveFigures& figures)
{
    const QString line = LiveLine(figures);
    if (text() != line) {
        setText(line);
        fitToRoom();
    }
}

} // namespace morvela
