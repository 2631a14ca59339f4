#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace morvela {

// A sentence lesson: a few fixed lines, each shown in a label L<n> over the
// box T<n> it is typed into, and what its window shows around them.
struct SentenceScript {
    int lesson;          // 7 or 8; also its row on the menu
    QString windowName;  // "F_les7_1"
    QString titleTag;    // " ● Lesson7 ●"
    QString instruction; // Label1
    QString pageId;      // what FurthestPage is raised to on a pass
    bool panel;          // the coloured panel Label9 behind the lines
    QList<int> numbers;  // n of L<n>/T<n> for each line, in the box order
    QStringList lines;

    QString boxName(int line) const { return QStringLiteral("T%1").arg(numbers.value(line)); }
    QString labelName(int line) const { return QStringLiteral("L%1").arg(numbers.value(line)); }
    QStringList boxNames() const;
};

// The scripts of Lessons 7 and 8 (any other lesson: Lesson 7's). The
// graduation exam types Lesson 7's lines.
const SentenceScript& SentenceLessonScript(int lesson);

// The verdict of a typed-through text, shown in a message box.
QString SentencePassMessage();
QString SentenceFailMessage(int misses);

} // namespace morvela
