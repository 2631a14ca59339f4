#pragma once

#include "core/ProgressRecord.h"
#include "core/LinesAttempt.h"
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
// turn; the clock runs from the first correct character of the first
// sentence to the last character of the third. Only the box whose turn it
// is takes characters, so a click elsewhere cannot start the clock late or
// scramble the cursor.
class SpeedTest {
public:
    SpeedTest(ProgressRecord& record, const Clock& clock);

    // The page opens: a new attempt, "未" becomes "練習中" (in memory only).
    void open();

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

    int CursorPos() const { return m_attempt.CursorPos(); }
    int MissCount() const { return m_attempt.MissCount(); }
    bool TimingStarted() const { return m_timingStarted; }
    qint64 StartTime() const { return m_startTime; }
    qint64 EndTime() const { return m_endTime; }
    QString SpeedTime() const { return m_speedTime; }

    QString Label8() const { return m_label8; }
    QString Label9() const { return BestSpeedTimeLine(m_record.BestSpeedTime); }
    // "次ページ>>": open when the page was passed before or the test is done.
    bool Command2Enabled() const { return m_command2Enabled; }

private:
    void finish();

    ProgressRecord& m_record;
    const Clock& m_clock;
    LinesAttempt m_attempt;
    bool m_timingStarted = false;
    bool m_command2Enabled = false;
    qint64 m_startTime = 0;
    qint64 m_endTime = 0;
    QString m_speedTime;
    QString m_label8;
};

} // namespace morvela
