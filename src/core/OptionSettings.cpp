#include "core/OptionSettings.h"

// What OptionCode stands for: the metronome's tempo table and the drill
// lines of Lesson 6, whose spaces follow the chosen width.

namespace morvela {

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
