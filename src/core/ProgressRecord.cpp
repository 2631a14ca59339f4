#include "core/ProgressRecord.h"

#include "core/Cp932.h"

namespace morvela {

double ProgressRecord::optionCodeValue() const
{
    return LeadingNumber(OptionCode);
}

void ProgressRecord::setOptionCode(int code)
{
    OptionCode = QStringLiteral(" %1 ").arg(code);
}

void ProgressRecord::clearPracticeRecords()
{
    LessonStates.fill(LessonState::NotStarted);
    GraduationState = LessonState::NotStarted;
    SpareState = LessonState::NotStarted;
    FurthestPage = NoPagePassed;
}

bool ApplyBestTime(QString& stored, const QString& newTime)
{
    if (stored > newTime) {
        stored = newTime;
        return true;
    }
    return false;
}

QString FormatBestTime(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    if (seconds >= 3600)
        seconds = 59 * 60 + 59;
    return QStringLiteral("%1分%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool StartLesson(QString& state, const QString& started)
{
    if (state != LessonState::NotStarted)
        return false;
    state = started;
    return true;
}

bool RaiseFurthestPage(ProgressRecord& record, const QString& page)
{
    if (record.FurthestPage < page) {
        record.FurthestPage = page;
        return true;
    }
    return false;
}

bool PagePassed(const ProgressRecord& record, const QString& page)
{
    return record.FurthestPage >= page;
}

QString MakePageId(int lesson, int page)
{
    return QStringLiteral("%1-%2").arg(lesson, 2, 10, QLatin1Char('0')).arg(page, 2, 10, QLatin1Char('0'));
}

namespace {

constexpr std::array<std::array<int, 5>, 3> kTempoTable{{
    {1300, 1000, 800, 600, 500}, // 普通
    {900, 700, 550, 400, 330},   // 速い
    {650, 500, 400, 300, 250},   // すごく速い
}};

const std::array<QString, 6> kWordListsFullWidth{
    QStringLiteral("搭載　搭載　高速　高速　最大　最大　性能　性能　部分　部分"),
    QStringLiteral("標準　標準　拡張　拡張　好評　好評　液晶　液晶　注意　注意"),
    QStringLiteral("牛乳　牛乳　評論　評論　機種　機種　周辺　周辺　編集　編集"),
    QStringLiteral("相対的　相対的　天然色　天然色　重装備　重装備　新機能　新機能"),
    QStringLiteral("コンピュータ　コンピュータ　バッテリー　バッテリー　ファックス"),
    QStringLiteral("ネットワーク　ネットワーク　バーチャル　バーチャル　パスポート"),
};

} // namespace

void ApplyOptionCode(DerivedSettings& settings, double optionCode)
{
    for (int code = 1; code <= 6; ++code) {
        if (optionCode == code)
            settings.RhythmInterval = kTempoTable[(code - 1) % 3];
    }
    const bool halfWidth = optionCode > 3;
    for (size_t i = 0; i < kWordListsFullWidth.size(); ++i) {
        QString line = kWordListsFullWidth[i];
        if (halfWidth)
            line.replace(QChar(0x3000), QLatin1Char(' '));
        settings.WordList[i] = line;
    }
}

} // namespace morvela
