#include "intro/SpeedTest.h"

#include "core/OfferKey.h"
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

SpeedTest::SpeedTest(ProgressRecord& record, const Clock& clock)
    : m_record(record),
      m_attempt({SpeedTestSentences()[0], SpeedTestSentences()[1], SpeedTestSentences()[2]}, clock)
{
}

ScreenEffects SpeedTest::open()
{
    restart();
    StartLesson(m_record.LessonStates[0]);
    m_nextPageOpen = Lesson0NextPageOpen(m_record, Lesson0Page::Welcome);
    ScreenEffects effects;
    effects.clearBoxes = {QStringLiteral("Text1"), QStringLiteral("Text2"), QStringLiteral("Text3")};
    effects.focus = QStringLiteral("Text1");
    return effects;
}

void SpeedTest::restart()
{
    m_attempt.restart();
}

KeyOutcome SpeedTest::keyPress(int box, char32_t typed)
{
    return OfferToLines(m_attempt, box, typed, [this] { return finish(); });
}

ScreenEffects SpeedTest::finish()
{
    ScreenEffects effects;
    AttemptRecord finished = m_attempt.attempt().figures();
    finished.screen = QStringLiteral("F_welcome");
    finished.pageId = QStringLiteral("00-01");
    finished.inputMethod = true; // the sentences come through the input method
    finished.outcome = m_attempt.time(); // the time the page shows, "mm分ss"
    effects.finishedAttempt = finished;
    // The last sentence is in: typing on checks it from its start again,
    // and finishing again is timed from the first start.
    m_attempt.rewindLine();
    m_resultLine = SpeedResultLine(speedTime(), misses());
    m_attempt.keepBestTime(m_record.BestSpeedTime);
    m_nextPageOpen = true;
    effects.focus = QStringLiteral("Command2");
    return effects;
}

} // namespace morvela
