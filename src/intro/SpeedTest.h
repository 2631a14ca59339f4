#pragma once

#include "core/ProgressRecord.h"
#include "core/TimedLinesAttempt.h"
#include "core/ScreenEffects.h"
#include "core/Clock.h"

#include <QString>
#include <array>

namespace morvela {

// The three sentences of the speed test, one per box (Text1 to Text3).
const std::array<QString, 3>& SpeedTestSentences();

// The result line of an attempt: its time and its misses (Label8).
QString SpeedResultLine(const QString& speedTime, int misses);
// The line of the stored best time (Label9).
QString BestSpeedTimeLine(const QString& bestSpeedTime);

// The speed test of page 00-01: the learner types the three sentences in
// turn against the clock (a timed attempt: the clock runs from the first
// correct character to the last one of the third sentence). Only the box
// whose turn it is takes characters, so a click elsewhere cannot start the
// clock late or scramble the cursor.
class SpeedTest {
public:
    SpeedTest(ProgressRecord& record, const Clock& clock);

    // The page opens: a new attempt with the boxes emptied, "未" becomes
    // "練習中" (in memory only, the menu's row is not redrawn).
    ScreenEffects open();

    // "もう一度": a new attempt. The result and best lines stay.
    void restart();

    // A character typed or committed into box 0..2 (Text1..Text3). A box
    // whose turn it is not takes nothing and counts nothing. The outcome's
    // line is the box whose turn it is now; finishing the third sentence
    // sends the focus to "次ページ>>".
    KeyOutcome keyPress(int box, char32_t typed);

    // The box whose turn it is: 0..2. After the attempt is finished it stays
    // at the last box, where typing on checks the last sentence again.
    int currentBox() const { return m_attempt.line(); }

    int cursor() const { return m_attempt.cursor(); }
    int misses() const { return m_attempt.misses(); }
    const TypingAttempt& attempt() const { return m_attempt.attempt(); }
    bool timingStarted() const { return m_attempt.timingStarted(); }
    qint64 startTime() const { return m_attempt.startTime(); }
    qint64 endTime() const { return m_attempt.endTime(); }
    QString speedTime() const { return m_attempt.time(); }

    // The result of the last finished attempt ("" before the first), and the
    // stored best time, as the page shows them.
    QString resultLine() const { return m_resultLine; }
    QString bestTimeLine() const { return BestSpeedTimeLine(m_record.BestSpeedTime); }
    // "次ページ>>": open when the page was passed before or the test is done.
    bool nextPageOpen() const { return m_nextPageOpen; }

private:
    ScreenEffects finish();

    ProgressRecord& m_record;
    TimedLinesAttempt m_attempt;
    bool m_nextPageOpen = false;
    QString m_resultLine;
};

} // namespace morvela
