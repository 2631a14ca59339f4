#include "ui/PictureCheck.h"

#include "core/SafeFile.h"

#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <cstdlib>

namespace morvela {

namespace {

// The size an uncompressed BMP needs to hold all its rows, from its
// headers; 0 when that cannot be told from them (RLE and other encodings,
// which the reader itself finds cut short).
qint64 bmpSizeNeeded(const QByteArray& head)
{
    const auto u16 = [&](int at) { return qint64(qFromLittleEndian<quint16>(head.constData() + at)); };
    const auto s32 = [&](int at) { return qint64(qFromLittleEndian<qint32>(head.constData() + at)); };
    const auto u32 = [&](int at) { return qint64(qFromLittleEndian<quint32>(head.constData() + at)); };
    if (head.size() < 26 || !head.startsWith("BM"))
        return 0;
    const qint64 pixelsAt = u32(10);
    qint64 width = 0, height = 0, bitsPerPixel = 0, compression = 0;
    if (u32(14) == 12) { // the old OS/2 header
        width = u16(18);
        height = u16(20);
        bitsPerPixel = u16(24);
    } else {
        if (head.size() < 34)
            return 0;
        width = s32(18);
        height = std::llabs(s32(22));
        bitsPerPixel = u16(28);
        compression = u32(30);
    }
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6; // RGB, bit fields
    if (!uncompressed || width <= 0 || bitsPerPixel <= 0 || bitsPerPixel > 32)
        return 0;
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return pixelsAt + rowBytes * height;
}

// The checks that need no decoding: "" when they pass, `needed` the size
// the BMP's rows take (0 when that cannot be told from its headers).
QString faultBeforeDecoding(const QString& path, QImageReader& reader, qint64& needed)
{
    // Only the start of the file is needed: its headers.
    const ReadResult head = ReadFileStart(path, 64);
    if (!head.ok)
        return head.error;
    if (head.bytes.isEmpty())
        return QStringLiteral("ファイルが空です。");
    if (!reader.canRead() || !reader.size().isValid())
        return QStringLiteral("画像のファイルではないか、形式が分かりません。（%1）").arg(reader.errorString());
    const qint64 size = QFileInfo(path).size();
    needed = reader.format() == "bmp" ? bmpSizeNeeded(head.bytes) : 0;
    if (needed > size)
        return QStringLiteral("ファイルが途中で切れています（%1バイトのはずが%2バイトしかありません）。").arg(needed).arg(size);
    return {};
}

QImage decode(QImageReader& reader, QSize within, QString* fault)
{
    const QSize size = reader.size();
    if (size.width() > within.width() || size.height() > within.height())
        reader.setScaledSize(size.scaled(within, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull() && fault)
        *fault = QStringLiteral("画像を読み込めません。（%1）").arg(reader.errorString());
    return image;
}

} // namespace

QImage ReadPicture(const QString& path, QSize within, QString* fault)
{
    QImageReader reader(path);
    qint64 needed = 0;
    const QString before = faultBeforeDecoding(path, reader, needed);
    if (!before.isEmpty()) {
        if (fault)
            *fault = before;
        return {};
    }
    return decode(reader, within, fault);
}

QString PictureFault(const QString& path, QSize within)
{
    QImageReader reader(path);
    qint64 needed = 0;
    QString fault = faultBeforeDecoding(path, reader, needed);
    if (!fault.isEmpty() || needed > 0)
        return fault; // a BMP with every row there: nothing left that could fail
    // Other encodings tell of a cut or damage only when decoded.
    decode(reader, within, &fault);
    return fault;
}

} // namespace morvela
