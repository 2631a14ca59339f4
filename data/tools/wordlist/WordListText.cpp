#include "WordListText.h"

#include "core/Cp932.h"

#include <QStringDecoder>

using namespace morvela;

namespace {

QString at(const QString& source, int lineNo)
{
    return QStringLiteral("%1:%2").arg(source).arg(lineNo);
}

QString codePointName(char32_t c)
{
    const QString hex = QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("\"%1\" (U+%2)").arg(QString::fromUcs4(&c, 1), hex);
}

} // namespace

Conversion EncodeWordListText(const QByteArray& utf8, const QString& source)
{
    Conversion out;
    QByteArray bytes;
    int words = 0;
    const QList<QByteArray> lines = utf8.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString where = at(source, i + 1);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        QString line = decoder.decode(lines[i]);
        if (decoder.hasError()) {
            out.problems << where + QStringLiteral(": not UTF-8 text");
            continue;
        }
        if (i == 0)
            line.remove(QChar(0xFEFF)); // the mark some editors put first
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char(','))) {
            out.problems << where + QStringLiteral(": the word before the comma is empty; no one could type it");
            continue;
        }
        qsizetype bad = FirstUntypeable(line);
        if (bad >= 0) {
            out.problems << where
                    + QStringLiteral(": character %1, %2, is typed by no key and no input method")
                          .arg(bad + 1)
                          .arg(codePointName(line.toUcs4().at(bad)));
            continue;
        }
        if (!EncodeGameLine(line, &bytes, &bad)) {
            const char32_t c = line.toUcs4().at(bad);
            out.problems << where
                    + QStringLiteral(": character %1, %2, has no form in the Japanese Windows code page (CP932)")
                          .arg(bad + 1)
                          .arg(codePointName(c));
            continue;
        }
        ++words;
    }
    if (words == 0 && out.problems.isEmpty())
        out.problems << source + QStringLiteral(": no words");
    if (out.problems.isEmpty())
        out.bytes = bytes;
    return out;
}

Conversion DecodeWordListText(const QByteArray& gameDat, const QString& source)
{
    Conversion out;
    const QList<WordListLine> lines = DecodeGameWordLines(gameDat);
    for (int i = 0; i < lines.size(); ++i) {
        const WordListLine& line = lines[i];
        const QString where = at(source, i + 1);
        for (const int field : line.noCharacterFields)
            out.notes << where + QStringLiteral(": field %1 stands for no character; left out").arg(field);
        if (line.untypeable >= 0) {
            out.notes << where
                    + QStringLiteral(": character %1, %2, is typed by no key and no input method; the game leaves the line out")
                          .arg(line.untypeable + 1)
                          .arg(codePointName(line.text.toUcs4().at(line.untypeable)));
            continue;
        }
        if (!line.entry) {
            out.notes << where + QStringLiteral(": no character at all; the game leaves the line out");
            continue;
        }
        if (line.text.isEmpty()) {
            // Not written: the text form skips blank lines.
            out.notes << where + QStringLiteral(": no word; the game shows an invader no one can hit");
            continue;
        }
        if (line.entry->Word.isEmpty())
            out.notes << where + QStringLiteral(": the word is empty; the game shows an invader no one can hit");
        out.bytes += line.text.toUtf8() + '\n';
    }
    return out;
}
