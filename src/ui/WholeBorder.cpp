#include "ui/WholeBorder.h"

#include <QColor>
#include <QPainter>
#include <QSize>

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

} // namespace morvela
