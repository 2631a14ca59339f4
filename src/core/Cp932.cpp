#include "core/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace morvela {

namespace {

// Most files of the program hold plain ASCII (digits, names, option codes).
// There the code page agrees with Latin-1 save for three control codes it
// swaps (0x1A, 0x1C, 0x7F), so Qt's own Latin-1 converter gives the very same
// text without loading ICU's code-page tables, about a mebibyte at start-up.
bool SameAsLatin1(char16_t c)
{
    return c < 0x80 && c != 0x1A && c != 0x1C && c != 0x7F;
}

bool SameAsLatin1(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return SameAsLatin1(char16_t(uchar(c))); });
}

bool SameAsLatin1(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return SameAsLatin1(c.unicode()); });
}

} // namespace

Decoded DecodeCp932(const QByteArray& bytes)
{
    if (SameAsLatin1(bytes))
        return {QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless).decode(bytes), true};
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
    if (SameAsLatin1(text)) {
        if (ok)
            *ok = true;
        return QStringEncoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless).encode(text);
    }
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
