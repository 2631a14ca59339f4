#include "exam/ExamCompare.h"

#include <QList>

namespace morvela {

QStringList SplitExamLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != u'\r')
            continue;
        lines << text.mid(start, i - start);
        if (i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines << text.mid(start);
    return lines;
}

QString TypedTextFromEditor(const QString& plainText)
{
    QString typed = plainText;
    typed.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return typed;
}

ExamResult CompareExamLines(const QStringList& modelLines, const QStringList& typedLines)
{
    ExamResult r;
    const QString empty;
    for (qsizetype i = 0; i < modelLines.size(); ++i) {
        const QString& typedLine = i < typedLines.size() ? typedLines[i] : empty;
        const QList<uint> model = modelLines[i].toUcs4();
        const QList<uint> typed = typedLine.toUcs4();
        const QString lineNo = QString::number(i + 1);
        if (model.size() != typed.size()) {
            ++r.mistakeCount;
            r.mistakeReport += lineNo + QStringLiteral("行目の文字数が違います。\r\n");
            continue;
        }
        for (qsizetype j = 0; j < model.size(); ++j) {
            if (model[j] == typed[j])
                continue;
            ++r.mistakeCount;
            const char32_t expected = model[j];
            r.mistakeReport += lineNo + QStringLiteral("行") + QString::number(j + 1) + QStringLiteral("文字目の『")
                + QString::fromUcs4(&expected, 1) + QStringLiteral("』が違います。\r\n");
        }
    }
    return r;
}

ExamResult CompareExam(const QString& modelText, const QString& typedText)
{
    return CompareExamLines(SplitExamLines(modelText), SplitExamLines(typedText));
}

} // namespace morvela
