#include "GamePictures.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>

#include <cmath>

namespace {

// A fixed sequence, so every build draws the same sky.
class Dice {
public:
    double next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(m_state >> 11) / double(1ULL << 53);
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    quint64 m_state = 0x4D6F7276656C61ULL;
};

// The words fall over this in white and yellow, so the sky stays dark and
// quiet where they pass: faint stars, a dim nebula, a planet in a corner and
// the lit windows of a city at the bottom, behind the input bar.
QImage background(int scale)
{
    const int w = 539, h = 414;
    QImage image(w * scale, h * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(4, 6, 22));
    sky.setColorAt(0.6, QColor(12, 14, 44));
    sky.setColorAt(1.0, QColor(34, 22, 62));
    p.fillRect(QRect(0, 0, w, h), sky);

    const auto haze = [&p](QPointF centre, double radius, QColor colour) {
        QRadialGradient g(centre, radius);
        g.setColorAt(0, colour);
        colour.setAlpha(0);
        g.setColorAt(1, colour);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(centre, radius, radius * 0.6);
    };
    haze({150, 120}, 190, QColor(70, 30, 110, 60));
    haze({380, 230}, 160, QColor(20, 70, 110, 50));

    Dice dice;
    for (int i = 0; i < 260; ++i) {
        const QPointF at(dice.between(0, w), dice.between(0, h - 60));
        const double bright = dice.next();
        const int level = int(90 + 120 * bright * bright);
        const QColor star = QColor(level, level, qMin(255, level + 30));
        p.setPen(Qt::NoPen);
        p.setBrush(star);
        const double r = bright > 0.93 ? 1.3 : 0.6;
        p.drawEllipse(at, r, r);
        if (bright > 0.97) { // a few glint
            p.setPen(QPen(QColor(level, level, 255, 110), 0.6));
            p.drawLine(at - QPointF(3, 0), at + QPointF(3, 0));
            p.drawLine(at - QPointF(0, 3), at + QPointF(0, 3));
        }
    }

    // A ringed planet, half out of the picture at the upper right.
    const QPointF planet(505, 52);
    QRadialGradient body(planet - QPointF(14, 14), 58);
    body.setColorAt(0, QColor(120, 92, 150));
    body.setColorAt(1, QColor(36, 24, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(planet, 40, 40);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 130, 180, 120), 3));
    p.save();
    p.translate(planet);
    p.rotate(-18);
    p.drawEllipse(QPointF(0, 0), 66, 13);
    p.restore();

    // The city, its roofs standing up to 70 pixels above the bottom edge.
    QPainterPath city;
    city.moveTo(0, h);
    double x = 0;
    QList<QRectF> windows;
    while (x < w) {
        const double bw = dice.between(18, 42);
        const double top = h - dice.between(22, 70);
        city.lineTo(x, top);
        city.lineTo(x + bw, top);
        for (double wy = top + 5; wy < h - 4; wy += 7)
            for (double wx = x + 4; wx < x + bw - 4; wx += 6)
                if (dice.next() < 0.22)
                    windows << QRectF(wx, wy, 2, 3);
        x += bw;
    }
    city.lineTo(w, h);
    city.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 8, 20));
    p.drawPath(city);
    p.setBrush(QColor(200, 170, 90));
    for (const QRectF& r : windows)
        p.drawRect(r);
    p.end();

    // Indexed colours, dithered so the gradients stay smooth.
    return image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
}

// The shot: a white core in a cyan glow, alike all the way up, so it may be
// drawn at any length.
QImage beam(int scale)
{
    const int w = 11, h = 402;
    QImage image(w * scale, h * scale, QImage::Format_ARGB32);
    for (int x = 0; x < image.width(); ++x) {
        const double at = (x + 0.5) / scale - 0.5; // the pixel's centre, in pixels of the 1x picture
        const double d = qMin(1.0, std::abs(at - (w - 1) / 2.0) / ((w - 1) / 2.0)); // 0 centre, 1 edge
        QColor c;
        if (d < 0.2)
            c = QColor(255, 255, 255);
        else
            c = QColor::fromRgbF(0.45 * (1 - d) + 0.1, 0.95 - 0.25 * d, 1.0, std::pow(1 - d, 1.6));
        for (int y = 0; y < image.height(); ++y)
            image.setPixelColor(x, y, c);
    }
    image.setDevicePixelRatio(scale);
    return image;
}

// A burst: a hot core, flames out to the edge and a ring of sparks.
QImage explosion(int scale)
{
    const int w = 84, h = 44;
    QImage image(w * scale, h * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(w / 2.0, h / 2.0);

    Dice dice;
    QPainterPath flames;
    const int points = 18;
    for (int i = 0; i < points * 2; ++i) {
        const double a = M_PI * i / points;
        const double r = (i % 2 == 0) ? dice.between(0.8, 1.0) : dice.between(0.35, 0.5);
        const QPointF at(c.x() + std::cos(a) * r * (w / 2.0 - 1), c.y() + std::sin(a) * r * (h / 2.0 - 1));
        i == 0 ? flames.moveTo(at) : flames.lineTo(at);
    }
    flames.closeSubpath();
    QRadialGradient fire(c, w / 2.0);
    fire.setColorAt(0.0, QColor(255, 255, 220));
    fire.setColorAt(0.25, QColor(255, 230, 90));
    fire.setColorAt(0.6, QColor(255, 120, 20));
    fire.setColorAt(1.0, QColor(200, 30, 10, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(fire);
    p.drawPath(flames);

    p.setBrush(QColor(255, 240, 160));
    for (int i = 0; i < 14; ++i) {
        const double a = dice.between(0, 2 * M_PI);
        const double r = dice.between(0.55, 0.95);
        p.drawEllipse(QPointF(c.x() + std::cos(a) * r * w / 2.0, c.y() + std::sin(a) * r * h / 2.0), 1.1, 1.1);
    }
    p.end();
    return image;
}

bool save(const QImage& image, const QString& path, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSaveFile file(path);
    if (!image.save(&buffer, "PNG") || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()
        || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool DrawGamePictures(const QString& dir, QString* error)
{
    QDir().mkpath(dir);
    const QDir out(dir);
    // Each at its own size and, for screens of two device pixels to the
    // pixel and more, at twice the size ("@2x").
    for (const int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        const auto path = [&](const char* name) { return out.filePath(QString::fromLatin1(name) + suffix + QStringLiteral(".png")); };
        if (!save(background(scale), path("background"), error) || !save(beam(scale), path("beam"), error)
            || !save(explosion(scale), path("explosion"), error))
            return false;
    }
    return true;
}
