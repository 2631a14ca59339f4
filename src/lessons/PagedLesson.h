#pragma once

#include "core/ProgressRecord.h"
#include "core/ScreenEffects.h"

#include <QString>
#include <QStringList>

namespace morvela {

// What the pages of one lesson (Lessons 1 to 8) do to the learner's record:
// opening the lesson starts it, a page passed before may be left forward,
// and a pass is booked the same way on every page.
class PagedLesson {
public:
    // `pageIds` in page order ("LL-01" first); `nextPageButton` is the
    // control a pass sends the focus to ("" when the screen has none).
    PagedLesson(ProgressRecord& record, int lesson, QStringList pageIds, QString nextPageButton);

    // A practice page outside the course: it starts nothing, is never gated,
    // and a pass books nothing (no furthest page, no completion, no save,
    // no row state); only the focus goes on to "次ページ>>".
    void setPractice(bool practice) { m_practice = practice; }

    // The window opens: "未" becomes "練習中" in memory; it reaches the file
    // with the next save. True when the state changed, so the menu's row
    // shows it.
    bool start();

    // Whether "次ページ>>" may lead past page `pageNo` (1-based): it was
    // passed before, now or on an earlier visit.
    bool passedBefore(int pageNo) const;

    // Page `pageNo` passed: the furthest page rises to it; the last page
    // completes the lesson (and the menu's row shows it); the record is saved
    // on every pass, raised or not; the focus goes to "次ページ>>", so the
    // learner goes on without the mouse.
    ScreenEffects pass(int pageNo);

    int pageCount() const { return int(m_pageIds.size()); }
    bool isLastPage(int pageNo) const { return pageNo == pageCount(); }

private:
    QString& state() const { return m_record.LessonStates[size_t(m_lesson)]; }

    ProgressRecord& m_record;
    int m_lesson;
    QStringList m_pageIds;
    QString m_nextPageButton;
    bool m_practice = false;
};

// The page ids of a script's pages, in order.
template<typename Pages>
QStringList PageIdsOf(const Pages& pages)
{
    QStringList ids;
    for (const auto& page : pages)
        ids << page.pageId;
    return ids;
}

} // namespace morvela
