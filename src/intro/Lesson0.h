#pragma once

#include "core/ProgressRecord.h"
#include "core/ScreenEffects.h"
#include "core/TypingAttempt.h"

#include <QString>
#include <array>

namespace morvela {

// The pages of Lesson 0. A page closes with the page that comes next as its
// result; Menu (0, the result of a window simply closed) leaves the lesson.
enum class Lesson0Page : int { Menu = 0, Welcome = 1, Hantei = 2, Position = 3 };

// "00-01" .. "00-03".
QString Lesson0PageId(Lesson0Page page);

// Whether a page's "次ページ>>" is open when it loads: the lesson was
// completed before, or the learner has passed this page before.
bool Lesson0NextPageOpen(const ProgressRecord& record, Lesson0Page page);

// "次ページ>>" on a Lesson 0 page: the record reaches the file only when
// passing this page raised the furthest page passed.
ScreenEffects PassLesson0Page(ProgressRecord& record, Lesson0Page passed);

// The judgement of the best speed-test time: bands 1 (fastest) to 5.
// Best times compare as text, bounds included; any other text, "99分99"
// among them, is band 5.
int SpeedBand(const QString& bestSpeedTime);

// The three comment lines (Label2, Label3, Label4) of a band.
std::array<QString, 3> SpeedBandLines(int band);

// Label1 of the judgement page.
QString JudgedTimeLine(const QString& bestSpeedTime);

// The home-row sequence of page 00-03, typed with the input method off.
inline const QString HomeRowSequence = QStringLiteral("ffjjddkkssllaa;;");

// Typing the home-row sequence through completes Lesson 0. The box is not
// cleared: typing on checks the sequence from its start again.
class HomeRowDrill {
public:
    // `clock` times the attempt for the live strip (none: no time).
    explicit HomeRowDrill(ProgressRecord& record, const Clock* clock = nullptr)
        : m_record(record), m_attempt(HomeRowSequence)
    {
        m_attempt.setClock(clock);
    }

    // The page opens: a new attempt in an emptied box; "次ページ>>" open if
    // passed before.
    ScreenEffects open();
    // Completing the sequence makes Lesson0State "完了", praises the learner
    // and sends the focus to "次ページ>>".
    KeyOutcome keyPress(char32_t typed);

    int cursor() const { return m_attempt.cursor(); }
    int misses() const { return m_attempt.misses(); }
    const TypingAttempt& attempt() const { return m_attempt; }
    QString praise() const { return m_praise; } // "" until the sequence is typed through
    bool nextPageOpen() const { return m_nextPageOpen; }
    // The character whose key the keyboard picture marks after a miss (0:
    // none), and the keys missed most, named each time the sequence is
    // typed through (the misses count on from one sequence to the next).
    char32_t markedKey() const { return m_attempt.markedKey(); }
    QString missedKeysLine() const { return m_missedKeys; }

private:
    ProgressRecord& m_record;
    TypingAttempt m_attempt;
    QString m_praise;
    QString m_missedKeys;
    bool m_nextPageOpen = false;
};

} // namespace morvela
