#include "game/GameWordList.h"

#include "ui/Cp932.h"

#include <cmath>

namespace morvela {

namespace {

// The code of one field: its leading number, blanks ignored (none is 0).
int fieldCode(const QByteArray& field)
{
    const double v = LeadingNumber(QString::fromLatin1(field));
    const double code = std::nearbyint((v + 13) / 14); // the default rounding: halves to even
    if (!std::isfinite(code) || code < 0 || code > 0xFFFF)
        return -1;
    return int(code);
}

} // namespace

QString DecodeGameLine(const QByteArray& line)
{
    QString text;
    qsizetype start = 0;
    for (qsizetype tab = line.indexOf('\t'); tab >= 0; tab = line.indexOf('\t', start)) {
        const int code = fieldCode(line.mid(start, tab - start));
        start = tab + 1;
        QByteArray bytes;
        if (code > 0xFF)
            bytes += char(code >> 8);
        if (code >= 0)
            bytes += char(code & 0xFF);
        const Decoded d = DecodeCp932(bytes);
        text += (code < 0 || !d.ok || d.text.isEmpty()) ? QString(QChar::ReplacementCharacter) : d.text;
    }
    return text;
}

WordEntry SplitWordEntry(const QString& line)
{
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    if (comma < 0)
        return {line, QString()};
    return {line.left(comma), line.mid(comma + 1)};
}

QList<WordEntry> DecodeGameWordList(const QByteArray& bytes)
{
    QList<WordEntry> entries;
    for (const QByteArray& line : SplitLines(bytes, false))
        entries << SplitWordEntry(DecodeGameLine(line));
    return entries;
}

bool EncodeGameLine(const QString& line, QByteArray* out)
{
    QByteArray fields;
    for (const char32_t c : line.toUcs4()) {
        bool ok = false;
        const QByteArray b = EncodeCp932(QString::fromUcs4(&c, 1), &ok);
        if (!ok || b.isEmpty() || b.size() > 2)
            return false;
        const int code = b.size() == 1 ? quint8(b[0]) : quint8(b[0]) * 256 + quint8(b[1]);
        fields += QByteArray::number(14 * code - 13);
        fields += '\t';
    }
    *out += fields + "\r\n";
    return true;
}

} // namespace morvela
