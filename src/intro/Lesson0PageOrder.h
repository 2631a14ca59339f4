#pragma once

#include "core/ScreenEffects.h"
#include "intro/Lesson0.h"

namespace morvela {

// The buttons that leave a Lesson 0 page.
enum class Lesson0Turn { Next, Previous, Menu };

// Where a page leads and what leaving it does.
struct Lesson0Leave {
    Lesson0Page next = Lesson0Page::Menu;
    ScreenEffects effects;
};

// The page order 00-01 → 00-02 → 00-03 → the menu. "次ページ>>" passes the
// page (the record is saved only when that raised the furthest page
// passed); "<<前ページ" goes back without passing; "目次へ" leaves the lesson
// and saves nothing. The first page has no page before it: back is the menu.
Lesson0Leave LeaveLesson0Page(ProgressRecord& record, Lesson0Page page, Lesson0Turn turn);

// The page a closed page's result names; a page closed any other way (its
// window closed) leaves for the menu.
Lesson0Page Lesson0PageFromResult(int result);

} // namespace morvela
