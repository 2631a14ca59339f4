#include "AppIcon.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <array>

namespace {

// A rounded rectangle on a 64 x 64 grid.
struct Shape {
    double x, y, w, h, radius;
    const char* colour;
};

// A blue tile with two rows of keycaps and a space bar; the home-position
// key is picked out in orange with its raised bar, the key a learner's
// index finger feels for.
constexpr std::array<Shape, 10> kShapes {{
    {4, 4, 56, 56, 12, "#2b5fa8"},
    {10, 13, 12, 12, 2.5, "#f4f6fa"},
    {26, 13, 12, 12, 2.5, "#f4f6fa"},
    {42, 13, 12, 12, 2.5, "#f4f6fa"},
    {10, 29, 12, 12, 2.5, "#f4f6fa"},
    {26, 29, 12, 12, 2.5, "#f59a23"},
    {42, 29, 12, 12, 2.5, "#f4f6fa"},
    {29, 37, 6, 1.6, 0.8, "#8a4b00"},
    {14, 45, 36, 7, 2.5, "#f4f6fa"},
    {14, 45, 36, 1.5, 0.75, "#dfe5ef"},
}};

constexpr std::array kSizes {16, 24, 32, 48, 64, 128, 256};

bool save(const QString& path, const QByteArray& bytes, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

QByteArray svg()
{
    QByteArray out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n";
    for (const Shape& s : kShapes)
        out += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
                   .arg(s.x).arg(s.y).arg(s.w).arg(s.h).arg(s.radius).arg(QLatin1String(s.colour))
                   .toUtf8();
    return out + "</svg>\n";
}

QImage png(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.scale(size / 64.0, size / 64.0);
    for (const Shape& s : kShapes) {
        p.setBrush(QColor(QLatin1String(s.colour)));
        p.drawRoundedRect(QRectF(s.x, s.y, s.w, s.h), s.radius, s.radius);
    }
    return image;
}

} // namespace

bool DrawAppIcons(const QString& dir, const QString& id, QString* error)
{
    const QDir root(dir);
    for (const int size : kSizes) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        png(size).save(&buffer, "PNG");
        const QString path = root.filePath(QStringLiteral("hicolor/%1x%1/apps/%2.png").arg(size).arg(id));
        if (!save(path, bytes, error))
            return false;
    }
    return save(root.filePath(QStringLiteral("hicolor/scalable/apps/%1.svg").arg(id)), svg(), error);
}
