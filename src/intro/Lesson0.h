#pragma once

#include "core/ProgressRecord.h"
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
    struct Key {
        bool accepted = false;
        bool completed = false; // Lesson0State has become "完了"
    };

    explicit HomeRowDrill(ProgressRecord& record) : m_record(record), m_attempt(HomeRowSequence) {}

    Key keyPress(char32_t typed);
    void restart() { m_attempt.restart(); }

    int CursorPos() const { return m_attempt.CursorPos(); }
    int MissCount() const { return m_attempt.MissCount(); }

private:
    ProgressRecord& m_record;
    TypingAttempt m_attempt;
};

} // namespace morvela
