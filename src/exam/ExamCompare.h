#pragma once

#include <QString>
#include <QStringList>

namespace morvela {

// The exam's line splitting rule, for the model and the typed text alike:
// CR LF and a lone CR end a line, a lone LF is an ordinary character. A
// text with k line breaks gives k + 1 lines (the last one empty when the
// text ends with a line break); an empty text gives one empty line.
QStringList SplitExamLines(const QString& text);

// The typed text as the exam reads it: the editor's own line breaks
// (QPlainTextEdit::toPlainText gives them as LF) count as CR LF.
QString TypedTextFromEditor(const QString& plainText);

struct ExamResult {
    int mistakeCount = 0;
    QString mistakeReport; // one line per mistake, each ended by CR LF

    friend bool operator==(const ExamResult&, const ExamResult&) = default;
};

// Compares every model line, however many, with the typed line of the same
// number (a missing typed line is empty; typed lines beyond the model's are
// not looked at). Lines of different length are one mistake; lines of the
// same length count each differing character. Characters are code points,
// compared exactly.
ExamResult CompareExamLines(const QStringList& modelLines, const QStringList& typedLines);

// The comparison of "入力完了": both texts split by the rule above.
ExamResult CompareExam(const QString& modelText, const QString& typedText);

} // namespace morvela
