#include "intro/SpeedTest.h"

#include "intro/Lesson0.h"

namespace morvela {

const std::array<QString, 3>& SpeedTestSentences()
{
    static const std::array<QString, 3> sentences{
        QStringLiteral("親譲りの無鉄砲で子供の時から損ばかりしている。小学校にいる時分"),
        QStringLiteral("学校の二階から飛び降りて、一週間ほど腰を抜かしたことがある。"),
        QStringLiteral("なぜそんなむやみをしたと聞く人があるかも知れぬ。別段深い理由でもない。"),
    };
    return sentences;
}

QString SpeedResultLine(const QString& speedTime, int misses)
{
    return QStringLiteral("お疲れ様でした。ただ今の所要時間は") + speedTime + QStringLiteral("秒、入力ミスは")
        + QString::number(misses) + QStringLiteral("回でした。");
}

QString BestSpeedTimeLine(const QString& bestSpeedTime)
{
    return QStringLiteral("あなたの最高タイムは") + bestSpeedTime + QStringLiteral("秒です");
}

SpeedTest::SpeedTest(ProgressRecord& record, const Clock& clock) : m_record(record), m_clock(clock)
{
    restart();
}

bool SpeedTest::open()
{
    restart();
    QString& state = m_record.LessonStates[0];
    if (state == LessonState::NotStarted)
        state = LessonState::Practising;
    return Lesson0NextPageOpen(m_record, Lesson0Page::Welcome);
}

void SpeedTest::restart()
{
    m_box = 0;
    m_attempt.setText(SpeedTestSentences()[0]);
    m_timingStarted = false;
}

SpeedTest::Key SpeedTest::keyPress(int box, char32_t typed)
{
    Key key;
    if (box != m_box)
        return key; // a box out of reach takes nothing and counts nothing

    const TypingAttempt::Result result = m_attempt.type(typed);
    if (result == TypingAttempt::Result::Refused)
        return key;

    key.accepted = true;
    if (box == 0 && !m_timingStarted) {
        m_startTime = m_clock.nowSeconds();
        m_timingStarted = true;
    }
    if (result != TypingAttempt::Result::Completed)
        return key;

    if (m_box < 2) {
        ++m_box;
        m_attempt.continueWith(SpeedTestSentences()[size_t(m_box)]);
        key.focus = m_box == 1 ? Focus::Text2 : Focus::Text3;
        return key;
    }
    // The last sentence is in: typing on checks it from its start again,
    // and finishing again is timed from the first start.
    m_attempt.rewind();
    finish();
    key.focus = Focus::Command2;
    key.finished = true;
    return key;
}

void SpeedTest::finish()
{
    m_endTime = m_clock.nowSeconds();
    m_speedTime = FormatBestTime(m_endTime - m_startTime);
    m_label8 = SpeedResultLine(m_speedTime, MissCount());
    ApplyBestTime(m_record.BestSpeedTime, m_speedTime);
}

} // namespace morvela
