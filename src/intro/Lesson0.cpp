#include "intro/Lesson0.h"

#include "core/MissedKeys.h"
#include "core/OfferKey.h"

namespace morvela {

QString Lesson0PageId(Lesson0Page page)
{
    return MakePageId(0, int(page));
}

bool Lesson0NextPageOpen(const ProgressRecord& record, Lesson0Page page)
{
    return record.LessonStates[0] == LessonState::Completed || PagePassed(record, Lesson0PageId(page));
}

int SpeedBand(const QString& bestSpeedTime)
{
    struct Band {
        const char16_t* from;
        const char16_t* to;
    };
    static constexpr Band bands[] = {
        {u"00分00", u"00分45"},
        {u"00分46", u"01分10"},
        {u"01分11", u"01分40"},
        {u"01分41", u"02分10"},
    };
    for (int i = 0; i < 4; ++i) {
        if (bestSpeedTime >= QStringView(bands[i].from) && bestSpeedTime <= QStringView(bands[i].to))
            return i + 1;
    }
    return 5;
}

std::array<QString, 3> SpeedBandLines(int band)
{
    const QString keepAtIt2 = QStringLiteral("あなたの様な方にこそ、ぜひともこのソフトでトレーニングして戴きたい！！");
    const QString keepAtIt3 = QStringLiteral("下記の文をお読みになって、奮起されることを期待致します。(^_-)");
    switch (band) {
    case 1:
        return {QStringLiteral("なんとっ！　作者の私よりも速いとは！！　お見逸れ致しました。ﾍ(__ﾍ)"),
                QStringLiteral("そんなにお上手なのに、このソフトを試すなんてお人が悪いですね。ヾ(^_^"),
                QStringLiteral("もう何も申し上げることはございません。以下は無視なさって下さい。")};
    case 2:
        return {QStringLiteral("いやぁ～、なかなか速いですね。(^_^)"),
                QStringLiteral("もしあなたがブラインドタッチで打っているのでしたら、"),
                QStringLiteral("このソフトで練習する必要はありません。")};
    case 3:
        return {QStringLiteral("あなたは、かなりキーボードに慣れていらっしゃいますね。(^_^)"),
                QStringLiteral("もしあなたが、ブラインドタッチをマスターすれば、"),
                QStringLiteral("１分を切るのも不可能じゃありません。ぜひ挑戦なさって下さい!!")};
    case 4:
        return {QStringLiteral("ブラインドタッチは出来なくても、ほぼ不自由無いと感じておられるのでは？"), keepAtIt2, keepAtIt3};
    default:
        return {QStringLiteral("あなたは、あまりキーボードに慣れていらっしゃらない様ですね。"), keepAtIt2, keepAtIt3};
    }
}

QString JudgedTimeLine(const QString& bestSpeedTime)
{
    return QStringLiteral("あなたの最高タイムは") + bestSpeedTime
        + QStringLiteral("秒でした。(ちなみに作者の最高は00分46秒です。）");
}

ScreenEffects PassLesson0Page(ProgressRecord& record, Lesson0Page passed)
{
    ScreenEffects effects;
    effects.save = RaiseFurthestPage(record, Lesson0PageId(passed));
    return effects;
}

ScreenEffects HomeRowDrill::open()
{
    m_attempt.restart();
    m_praise.clear();
    m_missedKeys.clear();
    m_nextPageOpen = Lesson0NextPageOpen(m_record, Lesson0Page::Position);
    ScreenEffects effects;
    effects.clearBoxes = {QStringLiteral("Text1")};
    effects.focus = QStringLiteral("Text1");
    return effects;
}

KeyOutcome HomeRowDrill::keyPress(char32_t typed)
{
    return OfferToText(m_attempt, typed, [this] {
        m_missedKeys = MostMissedLine(m_attempt.mostMissed());
        m_attempt.rewind();
        m_record.LessonStates[0] = LessonState::Completed;
        m_praise = QStringLiteral("ＯＫ！その調子です。");
        m_nextPageOpen = true;
        ScreenEffects effects;
        effects.rowStateShown = true;
        effects.focus = QStringLiteral("Command1");
        return effects;
    });
}

} // namespace morvela
