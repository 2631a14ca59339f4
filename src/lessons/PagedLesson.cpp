#include "lessons/PagedLesson.h"

namespace morvela {

PagedLesson::PagedLesson(ProgressRecord& record, int lesson, QStringList pageIds, QString nextPageButton)
    : m_record(record), m_lesson(lesson), m_pageIds(std::move(pageIds)), m_nextPageButton(std::move(nextPageButton))
{
}

bool PagedLesson::start()
{
    return !m_practice && StartLesson(state());
}

bool PagedLesson::passedBefore(int pageNo) const
{
    return m_practice || PagePassed(m_record, m_pageIds.value(pageNo - 1));
}

ScreenEffects PagedLesson::pass(int pageNo)
{
    ScreenEffects effects;
    effects.focus = m_nextPageButton;
    if (m_practice)
        return effects;
    RaiseFurthestPage(m_record, m_pageIds.value(pageNo - 1));
    if (isLastPage(pageNo)) {
        state() = LessonState::Completed;
        effects.rowStateShown = true;
    }
    effects.save = true;
    return effects;
}

} // namespace morvela
