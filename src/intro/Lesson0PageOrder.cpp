#include "intro/Lesson0PageOrder.h"

namespace morvela {

namespace {

Lesson0Page pageAfter(Lesson0Page page, int step)
{
    return Lesson0PageFromResult(int(page) + step);
}

} // namespace

Lesson0Leave LeaveLesson0Page(ProgressRecord& record, Lesson0Page page, Lesson0Turn turn)
{
    if (page == Lesson0Page::Menu)
        return {};
    switch (turn) {
    case Lesson0Turn::Next:
        return {pageAfter(page, +1), PassLesson0Page(record, page)};
    case Lesson0Turn::Previous:
        return {pageAfter(page, -1), {}};
    case Lesson0Turn::Menu:
        break;
    }
    return {};
}

Lesson0Page Lesson0PageFromResult(int result)
{
    return (result >= int(Lesson0Page::Welcome) && result <= int(Lesson0Page::Position)) ? Lesson0Page(result)
                                                                                          : Lesson0Page::Menu;
}

} // namespace morvela
