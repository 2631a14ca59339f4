#pragma once

#include <QString>

#include <array>

namespace morvela {

// One page of a rhythm lesson.
struct DrillPage {
    enum class Kind { Rhythm, Word };

    QString pageId;    // "LL-PP", what FurthestPage is raised to on a pass
    Kind kind;         // word pages come after the lesson's lastRhythmPage
    QString drillText; // exactly what the learner types
    QString label;     // Label6: the instruction line, or on a word page the
                       // kanji caption whose spaces set each word over its
                       // romaji (none in Lesson 1)
    QString advice;    // Label5 on entering a word page
};

// A rhythm lesson: seven pages and what its window shows around them.
struct LessonScript {
    int lesson;             // 1 to 4; also its row on the menu
    QString windowName;     // "F_les1_1"
    QString titleTag;       // " ● Lesson1 ●"
    QString hint;           // Label1
    int lastRhythmPage;     // the pages after it are word pages
    QString endMessage;     // shown when the last page is left forward
    std::array<DrillPage, 7> pages;
    // The pages in use: a lesson has all seven; a practice page made at run
    // time has one.
    int pageCount = PageCount;
    // A practice page outside the course: passing it books nothing.
    bool practice = false;

    static constexpr int PageCount = 7;

    const DrillPage& page(int pageNo) const { return pages[size_t(pageNo - 1)]; }
    bool isWordPage(int pageNo) const { return pageNo > lastRhythmPage; }
    // Lesson 1 has no page label.
    bool hasPageLabel() const { return lesson > 1; }
};

// The scripts of Lessons 1 to 4 (lesson outside 1..4: Lesson 1's).
const LessonScript& RhythmLessonScript(int lesson);

// The advice every rhythm page opens with.
inline const QString HomePositionAdvice = QStringLiteral("両手の指は、つねにホームポジションに置きましょう。");

} // namespace morvela
