#pragma once

#include <QString>

#include <array>

namespace morvela {

// One page of a word drill.
struct WordDrillPage {
    QString pageId;    // "LL-PP", what FurthestPage is raised to on a pass
    QString caption;   // Label6: Lesson 5's words spaced to stand over their
                       // romaji; Lesson 6's line about the spaces
    QString drillText; // Lesson 5's romaji; Lesson 6 types its word list
    QString advice;    // Label5 when the page is entered (page 1: on coming back)
};

// A word drill lesson: six pages and what its window shows around them.
struct WordDrillScript {
    int lesson;              // 5 or 6; also its row on the menu
    QString windowName;      // "F_les5_1"
    QString titleTag;        // " ● Lesson5 ●"
    QString hint;            // Label1
    bool inputMethod;        // Lesson 6 converts; Lesson 5's box keeps the input method out
    bool typesWordLists;     // the drill texts are WordList1..6, which the options set
    QString openingAdvice;   // Label5 of page 1 when the window opens
    QString manyMisses;      // 10 misses or more
    QString fewerMisses;     // 5 to 9 misses
    QString endMessage;      // "次ページ>>" on the last page
    std::array<WordDrillPage, 6> pages;

    static constexpr int PageCount = 6;

    const WordDrillPage& page(int pageNo) const { return pages[size_t(pageNo - 1)]; }
};

// The scripts of Lessons 5 and 6 (any other lesson: Lesson 5's).
const WordDrillScript& WordDrillLessonScript(int lesson);

} // namespace morvela
