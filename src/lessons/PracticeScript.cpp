#include "lessons/PracticeScript.h"

namespace morvela {

LessonScript PracticeScript(const QString& line)
{
    LessonScript script{
        0, // no row of the menu
        PracticeWindowName,
        QStringLiteral(" ● ") + PracticePageId + QStringLiteral(" ●"),
        QStringLiteral("苦手なキーを集めた練習です。リズムに合わせて以下の文字をタイプして下さい。"),
        1,
        QString(), // "次ページ>>" just closes the page
        {},
    };
    script.pages[0] = {PracticePageId, DrillPage::Kind::Rhythm, line, QString(), QString()};
    script.pageCount = 1;
    script.practice = true;
    return script;
}

} // namespace morvela
