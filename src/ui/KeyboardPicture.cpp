#include "ui/KeyboardPicture.h"

#include <QCryptographicHash>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace morvela {

namespace {

const QColor Ink(0x22, 0x22, 0x22);
const QColor Paper(0xF7, 0xF6, 0xF2);

class KeyboardPainter {
public:
    KeyboardPainter(QImage& image, const KeyFill& fill) : m_fill(fill), p(&image)
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
    }

    // Draws `text` in `box` and remembers it if its ink does not fit: a
    // clipped legend is a fault of the picture. One-line legends stand on a
    // common baseline (centred on the capital height), so "," sits low and
    // "^" high, as printed on real keys.
    void text(const QRectF& box, const QString& s, int px, bool bold, Qt::Alignment align = Qt::AlignCenter)
    {
        QFont font(KeyboardPictureFont());
        font.setPixelSize(px);
        font.setBold(bold);
        p.setFont(font);
        p.setPen(Ink);
        const QFontMetricsF fm(font);
        if (s.isEmpty())
            return;
        if (s.contains(QLatin1Char('\n'))) {
            const QRectF need = fm.boundingRect(box, int(align), s);
            if (need.width() > box.width() + 0.5 || need.height() > box.height() + 0.5)
                overflows << s;
            p.drawText(box, int(align), s);
            return;
        }
        const QRectF ink = fm.tightBoundingRect(s);
        double x = box.center().x() - ink.center().x();
        if (align & Qt::AlignLeft)
            x = box.left() - ink.left();
        else if (align & Qt::AlignRight)
            x = box.right() - ink.right();
        double y = box.center().y() + fm.capHeight() / 2;
        if (align & Qt::AlignTop)
            y = box.top() + fm.capHeight();
        else if (align & Qt::AlignBottom)
            y = box.bottom();
        const QRectF placed = ink.translated(x, y);
        if (!box.adjusted(-0.5, -0.5, 0.5, 0.5).contains(placed))
            overflows << s;
        p.drawText(QPointF(x, y), s);
    }

    void keyShape(const QPainterPath& shape, const KeyCap& key)
    {
        p.setBrush(m_fill ? m_fill(key) : QColor(QRgb(FingerColour(key.finger))));
        // Home keys carry a heavy dark outline so the eye finds them at once.
        p.setPen(key.home ? QPen(QColor(0x20, 0x20, 0x20), 3.0) : QPen(QColor(0x80, 0x80, 0x80), 1.0));
        p.drawPath(shape);
    }

    void key(const KeyCap& key)
    {
        const QRectF r = key.face;
        keyShape(KeyOutline(key), key);
        const QRectF inner = r.adjusted(4, 2, -4, -2);
        if (!key.shiftLegend.isEmpty() || (key.legend.size() == 1 && !key.legend[0].isLetter())) {
            // Symbol keys: the Shift legend small in the upper left corner.
            const double h = inner.height();
            if (!key.shiftLegend.isEmpty())
                text(QRectF(inner.left(), inner.top(), inner.width() / 2, h * 0.55), key.shiftLegend, 13, false,
                     Qt::AlignLeft | Qt::AlignVCenter);
            text(QRectF(inner.left(), inner.top() + h * 0.35, inner.width(), h * 0.65), key.legend, 18, true);
        } else if (key.legend.size() == 1) {
            text(inner, key.legend, 20, true);
        } else {
            text(inner, key.legend, key.legend.contains(QLatin1Char('\n')) ? 11 : 13, false);
        }
        if (key.bump) {
            // The raised bar of F and J that the index fingers feel for.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x30, 0x30, 0x30));
            p.drawRoundedRect(QRectF(r.center().x() - 7, r.bottom() - 8, 14, 3), 1.5, 1.5);
        }
    }

    // The tall Enter: its two parts joined into one key.
    void tallKey(const KeyCap& key)
    {
        keyShape(KeyOutline(key), key);
        text(QRectF(key.lower.left(), key.face.top(), key.lower.width(), key.lower.bottom() - key.face.top()),
             key.legend, 13, false);
    }

    // One swatch per finger, then what the heavy outline means, spread
    // evenly under the keyboard.
    void fingerLegend(const QRectF& body, double pictureHeight)
    {
        const int px = 12;
        QFont font(KeyboardPictureFont());
        font.setPixelSize(px);
        const QFontMetricsF fm(font);
        const double swatch = 14, pad = 4, y = body.bottom() + 6, h = pictureHeight - 3 - y;
        QStringList names;
        for (int f = 0; f < FingerCount; ++f)
            names << FingerName(Finger(f));
        names << QStringLiteral("ホームポジション");
        double natural = 0;
        for (const QString& name : names)
            natural += swatch + pad + fm.horizontalAdvance(name);
        const double spare = (body.width() - natural) / (names.size() - 1);
        if (spare < 6)
            overflows << QStringLiteral("legend");
        double x = body.left();
        for (int i = 0; i < names.size(); ++i) {
            const QRectF box(x, y + (h - swatch) / 2, swatch, swatch);
            if (i < FingerCount) {
                p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
                p.setBrush(QColor(QRgb(FingerColour(Finger(i)))));
            } else {
                p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2.5));
                p.setBrush(Qt::white);
            }
            p.drawRoundedRect(box, 3, 3);
            x += swatch + pad;
            const double w = fm.horizontalAdvance(names[i]);
            text(QRectF(x, y, w + 1, h), names[i], px, false, Qt::AlignLeft | Qt::AlignVCenter);
            x += w + spare;
        }
    }

    const KeyFill& m_fill;
    QPainter p;
    QStringList overflows;
};

} // namespace

QString KeyboardPictureFont()
{
    return QStringLiteral("Noto Sans CJK JP");
}

bool KeyboardPictureFontInstalled()
{
    return QFontDatabase::families().contains(KeyboardPictureFont());
}

QPainterPath KeyOutline(const KeyCap& key)
{
    QPainterPath shape;
    shape.addRoundedRect(key.face, 5, 5);
    if (!key.lower.isEmpty()) {
        QPainterPath lower;
        lower.addRoundedRect(key.lower, 5, 5);
        shape = shape.united(lower);
    }
    return shape;
}

QImage DrawKeyboardPicture(qreal devicePixelRatio, const KeyFill& fill, QStringList* overflows)
{
    const QSize size = JisKeyboard::PictureSize;
    QImage image(QSizeF(QSizeF(size) * devicePixelRatio).toSize(), QImage::Format_RGB32);
    // The painter then works in the picture's own pixels at any ratio.
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Paper);
    KeyboardPainter kp(image, fill);

    const QRectF body = JisKeyboard::Frame();
    kp.p.setPen(QPen(QColor(0xA8, 0xA6, 0xA0), 1));
    kp.p.setBrush(QColor(0xE6, 0xE4, 0xDE));
    kp.p.drawRoundedRect(body, 8, 8);
    for (const KeyCap& key : JisKeyboard::Keys()) {
        if (key.lower.isEmpty())
            kp.key(key);
        else
            kp.tallKey(key);
    }
    kp.fingerLegend(body, size.height());
    kp.p.end();
    if (overflows)
        *overflows = kp.overflows;
    return image;
}

QByteArray KeyboardPictureFingerprint(const QByteArray& fileBytes)
{
    return QCryptographicHash::hash(fileBytes, QCryptographicHash::Sha256).toHex();
}

} // namespace morvela
