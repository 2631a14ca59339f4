// morvela-datagen: makes the data files that lie beside the program.
//
//   morvela-datagen keyboard OUT.bmp     picture of the JIS keyboard
//   morvela-datagen gamepictures DIR     the game's pictures, built into the program
//   morvela-datagen ken IN.txt OUT       exam text
//   morvela-datagen icons DIR ID         the desktop menu's icon, hicolor layout
//
// The program reads its files in the Japanese Windows code page (CP932) with
// CR LF line ends, so every text is converted here and checked on the way:
// a character CP932 cannot hold stops the build instead of turning into '?'
// on the learner's screen.

#include "AppIcon.h"
#include "GamePictures.h"
#include "core/KeyLayout.h"
#include "core/Cp932.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const QString& message)
{
    std::fprintf(stderr, "morvela-datagen: %s\n", qUtf8Printable(message));
    std::exit(1);
}

QString readUtf8(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(file.readAll());
    if (decoder.hasError())
        fail(QStringLiteral("%1 is not UTF-8").arg(path));
    text.remove(QChar(0xFEFF)); // a BOM left by an editor
    text.remove(QLatin1Char('\r'));
    return text;
}

// Written through QSaveFile, so a failed run never leaves a half file that
// the build would take as up to date.
void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

// Encodes one line; `where` names it ("file:line") in the error message.
QByteArray toCp932(const QString& text, const QString& where)
{
    bool ok = false;
    const QByteArray bytes = morvela::EncodeCp932(text, &ok);
    if (ok)
        return bytes;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        morvela::EncodeCp932(one, &ok);
        if (!ok)
            fail(QStringLiteral("%1: %2 (U+%3) cannot be written in CP932")
                     .arg(where, one)
                     .arg(uint(c), 4, 16, QLatin1Char('0')));
    }
    fail(QStringLiteral("%1: cannot be written in CP932").arg(where));
}

// --------------------------------------------------------------- exam texts

int makeKen(const QString& in, const QString& out)
{
    QStringList lines = readUtf8(in).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    qsizetype chars = 0;
    QByteArray bytes;
    for (int i = 0; i < lines.size(); ++i) {
        chars += lines[i].size();
        bytes += toCp932(lines[i], QStringLiteral("%1:%2").arg(in).arg(i + 1));
        // The exam screen drops the last two bytes of the file, so the text
        // must end with CR LF like every other line.
        bytes += "\r\n";
    }
    // A mock certification text: long enough to test, short enough for the
    // exam time.
    if (chars < 400 || chars > 800)
        fail(QStringLiteral("%1 has %2 characters; an exam text has 400 to 800").arg(in).arg(chars));
    writeFile(out, bytes);
    return 0;
}

// ----------------------------------------------------------------- keyboard

constexpr auto kFontFamily = "Noto Sans CJK JP";

// The finger colours, key faces and legends come from the key layout table
// that the lessons mark their keys in, so the picture and the marks agree.
using morvela::Finger;
using morvela::KeyCap;

QColor fingerColor(Finger f)
{
    return QColor(QRgb(morvela::FingerColour(f)));
}

class KeyboardPainter {
public:
    explicit KeyboardPainter(QImage& image) : p(&image)
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
    }

    // Draws `text` in `box` and remembers it if its ink does not fit: a
    // clipped legend is a fault of this picture. One-line legends stand on a
    // common baseline (centred on the capital height), so "," sits low and
    // "^" high, as printed on real keys.
    void text(const QRectF& box, const QString& s, int px, bool bold, Qt::Alignment align = Qt::AlignCenter)
    {
        QFont font(QString::fromLatin1(kFontFamily));
        font.setPixelSize(px);
        font.setBold(bold);
        p.setFont(font);
        p.setPen(QColor(0x22, 0x22, 0x22));
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
        p.setBrush(fingerColor(key.finger));
        // Home keys carry a heavy dark outline so the eye finds them at once.
        p.setPen(key.home ? QPen(QColor(0x20, 0x20, 0x20), 3.0) : QPen(QColor(0x80, 0x80, 0x80), 1.0));
        p.drawPath(shape);
    }

    void key(const QRectF& r, const KeyCap& key)
    {
        QPainterPath shape;
        shape.addRoundedRect(r, 5, 5);
        keyShape(shape, key);
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

    QPainter p;
    QStringList overflows;
};

int makeKeyboard(const QString& out)
{
    if (!QFontDatabase::families().contains(QString::fromLatin1(kFontFamily)))
        fail(QStringLiteral("font \"%1\" not found; install the Noto CJK fonts (Debian: fonts-noto-cjk)")
                 .arg(QString::fromLatin1(kFontFamily)));

    // Shown at this size under the typing line of the lesson windows.
    const int width = morvela::JisKeyboard::PictureSize.width(), height = morvela::JisKeyboard::PictureSize.height();

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0xF7, 0xF6, 0xF2));
    KeyboardPainter kp(image);

    const QRectF body = morvela::JisKeyboard::Frame();
    kp.p.setPen(QPen(QColor(0xA8, 0xA6, 0xA0), 1));
    kp.p.setBrush(QColor(0xE6, 0xE4, 0xDE));
    kp.p.drawRoundedRect(body, 8, 8);

    for (const KeyCap& key : morvela::JisKeyboard::Keys()) {
        if (key.lower.isEmpty()) {
            kp.key(key.face, key);
            continue;
        }
        // The tall Enter: its two parts joined into one key.
        QPainterPath a, b;
        a.addRoundedRect(key.face, 5, 5);
        b.addRoundedRect(key.lower, 5, 5);
        kp.keyShape(a.united(b), key);
        kp.text(QRectF(key.lower.left(), key.face.top(), key.lower.width(), key.lower.bottom() - key.face.top()),
                key.legend, 13, false);
    }

    // Legend: one swatch per finger, then what the heavy outline means,
    // spread evenly under the keyboard.
    {
        const int px = 12;
        QFont font(QString::fromLatin1(kFontFamily));
        font.setPixelSize(px);
        const QFontMetricsF fm(font);
        const double swatch = 14, pad = 4, y = body.bottom() + 6, h = height - 3 - y;
        QStringList names;
        for (int f = 0; f < morvela::FingerCount; ++f)
            names << morvela::FingerName(Finger(f));
        names << QString::fromUtf8("ホームポジション");
        double natural = 0;
        for (const QString& name : names)
            natural += swatch + pad + fm.horizontalAdvance(name);
        const double spare = (body.width() - natural) / (names.size() - 1);
        if (spare < 6)
            kp.overflows << QStringLiteral("legend");
        double x = body.left();
        for (int i = 0; i < names.size(); ++i) {
            const QRectF box(x, y + (h - swatch) / 2, swatch, swatch);
            if (i < morvela::FingerCount) {
                kp.p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
                kp.p.setBrush(fingerColor(Finger(i)));
            } else {
                kp.p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2.5));
                kp.p.setBrush(Qt::white);
            }
            kp.p.drawRoundedRect(box, 3, 3);
            x += swatch + pad;
            const double w = fm.horizontalAdvance(names[i]);
            kp.text(QRectF(x, y, w + 1, h), names[i], px, false, Qt::AlignLeft | Qt::AlignVCenter);
            x += w + spare;
        }
    }

    kp.p.end();
    if (!kp.overflows.isEmpty())
        fail(QStringLiteral("keyboard picture: does not fit: ") + kp.overflows.join(QStringLiteral(", ")));

    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        // RGB888 makes Qt write a plain 24-bit BMP, which every viewer reads.
        if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
            fail(QStringLiteral("cannot encode the keyboard picture as BMP"));
    }
    writeFile(out, bytes);
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: morvela-datagen keyboard OUT.bmp\n"
                 "       morvela-datagen gamepictures DIR\n"
                 "       morvela-datagen ken IN.txt OUT\n"
                 "       morvela-datagen icons DIR ID\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == QLatin1String("keyboard") && argc == 3) {
        QGuiApplication app(argc, argv); // fonts and painting need it
        return makeKeyboard(QString::fromLocal8Bit(argv[2]));
    }
    if (command == QLatin1String("gamepictures") && argc == 3) {
        QGuiApplication app(argc, argv);
        QString error;
        if (!DrawGamePictures(QString::fromLocal8Bit(argv[2]), &error))
            fail(error);
        return 0;
    }
    if (command == QLatin1String("icons") && argc == 4) {
        QGuiApplication app(argc, argv);
        QString error;
        if (!DrawAppIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), &error))
            fail(error);
        return 0;
    }
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (command == QLatin1String("ken") && argc == 4)
        return makeKen(args[2], args[3]);
    return usage();
}
