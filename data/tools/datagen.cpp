// morvela-datagen: makes the data files that lie beside the program.
//
//   morvela-datagen keyboard OUT.bmp FINGERPRINT
//                                        picture of the JIS keyboard, and
//                                        the fingerprint the program knows it by
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
#include "core/Cp932.h"
#include "ui/KeyboardPicture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
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

// The picture beside the program is the one the program draws itself at
// the screen's pixel ratio; the program knows it by its fingerprint
// (`fingerprintOut`), so a picture the learner put in its place is shown
// as it is.
int makeKeyboard(const QString& out, const QString& fingerprintOut)
{
    if (!morvela::KeyboardPictureFontInstalled())
        fail(QStringLiteral("font \"%1\" not found; install the Noto CJK fonts (Debian: fonts-noto-cjk)")
                 .arg(morvela::KeyboardPictureFont()));
    QStringList overflows;
    const QImage image = morvela::DrawKeyboardPicture(1.0, {}, &overflows);
    if (!overflows.isEmpty())
        fail(QStringLiteral("keyboard picture: does not fit: ") + overflows.join(QStringLiteral(", ")));

    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        // RGB888 makes Qt write a plain 24-bit BMP, which every viewer reads.
        if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
            fail(QStringLiteral("cannot encode the keyboard picture as BMP"));
    }
    writeFile(out, bytes);
    writeFile(fingerprintOut, morvela::KeyboardPictureFingerprint(bytes));
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: morvela-datagen keyboard OUT.bmp FINGERPRINT\n"
                 "       morvela-datagen gamepictures DIR\n"
                 "       morvela-datagen ken IN.txt OUT\n"
                 "       morvela-datagen icons DIR ID\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == QLatin1String("keyboard") && argc == 4) {
        QGuiApplication app(argc, argv); // fonts and painting need it
        return makeKeyboard(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
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
