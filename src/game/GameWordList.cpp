#include "game/GameWordList.h"

#include "core/Cp932.h"

#include <algorithm>
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

// The one character a code stands for, or "" when it stands for none: a
// lone lead byte, an unassigned pair, or a "pair" of two single-byte
// characters (0x4141 would be "AA").
QString characterOf(int code)
{
    if (code < 0)
        return {};
    QByteArray bytes;
    if (code > 0xFF)
        bytes += char(code >> 8);
    bytes += char(code & 0xFF);
    const Decoded d = DecodeCp932(bytes);
    if (!d.ok || d.text.toUcs4().size() != 1)
        return {};
    return d.text;
}

} // namespace

QString DecodeGameLine(const QByteArray& line, QList<int>* droppedFields)
{
    QString text;
    qsizetype start = 0;
    int fieldNo = 0;
    for (qsizetype tab = line.indexOf('\t'); tab >= 0; tab = line.indexOf('\t', start)) {
        ++fieldNo;
        const QString c = characterOf(fieldCode(line.mid(start, tab - start)));
        start = tab + 1;
        if (c.isEmpty() && droppedFields)
            *droppedFields << fieldNo;
        text += c;
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

bool IsTypeable(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return false;
    default:
        return true;
    }
}

qsizetype FirstUntypeable(const QString& text)
{
    const QList<uint> codePoints = text.toUcs4();
    const auto bad = std::find_if_not(codePoints.begin(), codePoints.end(), [](uint c) { return IsTypeable(c); });
    return bad == codePoints.end() ? -1 : qsizetype(bad - codePoints.begin());
}

QList<WordListLine> DecodeGameWordLines(const QByteArray& bytes)
{
    QList<WordListLine> lines;
    for (const QByteArray& raw : SplitLines(bytes, false)) {
        WordListLine line;
        line.text = DecodeGameLine(raw, &line.noCharacterFields);
        line.untypeable = FirstUntypeable(line.text);
        const bool nothingLeft = line.text.isEmpty() && !line.noCharacterFields.isEmpty();
        if (!nothingLeft && line.untypeable < 0)
            line.entry = SplitWordEntry(line.text);
        lines << line;
    }
    return lines;
}

QList<WordEntry> DecodeGameWordList(const QByteArray& bytes)
{
    QList<WordEntry> entries;
    for (const WordListLine& line : DecodeGameWordLines(bytes))
        if (line.entry)
            entries << *line.entry;
    return entries;
}

bool EncodeGameLine(const QString& line, QByteArray* out, qsizetype* badChar)
{
    QByteArray fields;
    const QList<uint> codePoints = line.toUcs4();
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        const char32_t c = codePoints[i];
        bool ok = false;
        const QByteArray b = EncodeCp932(QString::fromUcs4(&c, 1), &ok);
        if (!ok || b.isEmpty() || b.size() > 2) {
            if (badChar)
                *badChar = i;
            return false;
        }
        const int code = b.size() == 1 ? quint8(b[0]) : quint8(b[0]) * 256 + quint8(b[1]);
        fields += QByteArray::number(14 * code - 13);
        fields += '\t';
    }
    *out += fields + "\r\n";
    return true;
}

} // namespace morvela
