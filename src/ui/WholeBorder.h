#pragma once

class QColor;
class QPainter;
class QSize;
class QWidget;

namespace morvela {

// Draws a border one pixel wide (as many device pixels as the screen has
// whole to the pixel) round a widget of `size`, with the painter that
// paints the widget.
//
// At a fractional scale (1.25, 1.5 ...) a widget's edges fall between device
// pixels, and Qt rounds each widget's corner and size on its own: a child
// laid against its parent's frame may cover the frame's last pixels, and a
// line drawn on the widget's outermost pixel may fall outside what the
// widget may paint. The border is therefore drawn on the outermost device
// pixels lying wholly inside the widget, which belong to it however the
// rounding goes.
void PaintWholeBorder(QPainter& painter, const QSize& size, const QColor& colour);

// Gives `widget` (a scroll area, whose viewport covers its frame's last
// pixels at a fractional scale) a whole border drawn over its children, on
// the same pixels at every scale.
void AddWholeBorder(QWidget* widget);

} // namespace morvela
