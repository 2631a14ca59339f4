#include "ui/WholeBorder.h"

#include <QColor>
#include <QEvent>
#include <QPainter>
#include <QSize>
#include <QWidget>

#include <cmath>

namespace morvela {

void PaintWholeBorder(QPainter& painter, const QSize& size, const QColor& colour)
{
    const QTransform toDevice = painter.deviceTransform();
    const QRectF onDevice = toDevice.mapRect(QRectF(QPointF(0, 0), QSizeF(size)));
    // A hair of tolerance, so 1.25 x 4 counts as 5.
    constexpr double hair = 1e-6;
    const int left = int(std::ceil(onDevice.left() - hair));
    const int top = int(std::ceil(onDevice.top() - hair));
    const int right = int(std::floor(onDevice.right() + hair));   // one past the last pixel
    const int bottom = int(std::floor(onDevice.bottom() + hair)); // likewise
    const int width = qMax(1, int(std::floor(toDevice.m11() + hair)));
    if (right - left < 2 * width || bottom - top < 2 * width)
        return;

    painter.save();
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform(), false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(left, top, right - left, width), colour);
    painter.fillRect(QRect(left, bottom - width, right - left, width), colour);
    painter.fillRect(QRect(left, top, width, bottom - top), colour);
    painter.fillRect(QRect(right - width, top, width, bottom - top), colour);
    painter.restore();
}

namespace {

// Lies over the whole of its parent, above its children, and draws only
// the border: clicks and keys go through to what lies under it.
class WholeBorderOverlay final : public QWidget {
public:
    explicit WholeBorderOverlay(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        parent->installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // The scroll area lays out and raises its scroll bars as it is shown.
        if (watched == parent()
            && (e->type() == QEvent::Resize || e->type() == QEvent::ChildAdded || e->type() == QEvent::Show
                || e->type() == QEvent::LayoutRequest))
            follow();
        return false;
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        PaintWholeBorder(p, size(), parentWidget()->palette().color(QPalette::Mid));
    }

private:
    void follow()
    {
        setGeometry(parentWidget()->rect());
        raise();
    }
};

} // namespace

void AddWholeBorder(QWidget* widget)
{
    new WholeBorderOverlay(widget);
}

} // namespace morvela
