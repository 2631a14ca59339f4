#include "core/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace morvela {

Decoded DecodeCp932(const QByteArray& bytes)
{
    QStringDecoder decoder(Cp932CodecName, QStringConverter::Flag::Stateless);
    Decoded d;
    if (!decoder.isValid()) {
        d.ok = false;
        return d;
    }
    d.text = decoder.decode(bytes);
    d.ok = !decoder.hasError();
    return d;
}

QByteArray EncodeCp932(const QString& text, bool* ok)
{
    QStringEncoder encoder(Cp932CodecName, QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) { // a Qt built without the code page
        if (ok)
            *ok = false;
        return {};
    }
    QByteArray bytes = encoder.encode(text);
    // Decoding back also catches one-way "best fit" mappings, which would
    // turn a character into another one on the learner's screen.
    if (ok)
        *ok = !encoder.hasError() && DecodeCp932(bytes).text == text;
    return bytes;
}

QByteArrayList SplitLines(const QByteArray& bytes, bool lfEndsLine)
{
    QByteArrayList lines;
    QByteArray current;
    bool pending = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || (c == '\n' && lfEndsLine)) {
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
            lines << current;
            current.clear();
            pending = false;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending)
        lines << current;
    return lines;
}

QByteArray JoinLinesCrLf(const QByteArrayList& lines)
{
    QByteArray out;
    for (const QByteArray& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

double LeadingNumber(const QString& line)
{
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
    };
    skipBlanks();
    double sign = 1;
    if (i < line.size() && (line[i] == u'-' || line[i] == u'+')) {
        sign = line[i] == u'-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    double scale = 0; // 0 while in the integer part
    for (; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u' ' || c == u'\t')
            continue;
        if (c == u'.' && scale == 0) {
            scale = 0.1;
            continue;
        }
        if (c < u'0' || c > u'9')
            break;
        const int digit = c.unicode() - u'0';
        if (scale == 0) {
            value = value * 10 + digit;
        } else {
            value += digit * scale;
            scale /= 10;
        }
    }
    return sign * value;
}

} // namespace morvela
