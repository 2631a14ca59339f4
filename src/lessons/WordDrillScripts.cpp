#include "lessons/WordDrillScripts.h"

#include "lessons/LessonScript.h"

namespace morvela {

namespace {

const QString kNoLooking = QStringLiteral("絶対にキーボードを見ないで下さい。");
const QString kKatakanaWords = QStringLiteral("カタカナの単語です。『-』は小指で打って下さい。");
const QString kHandsStay = QStringLiteral("ホームポジションから指を離さずに変換しましょう。");
const QString kSpacesLine = QStringLiteral("単語と単語の間のスペースはOptionで全角/半角を選べます。");

// The course content of the word drills. Lesson 5's captions are spaced with
// half-width and full-width (U+3000) blanks so that, in the drill font, each
// word stands over its romaji: keep every blank as it is. Lesson 6's texts
// are the word lists, whose spaces the options choose.
const std::array<WordDrillScript, 2> kScripts{{
    // Lesson 5
    {
        5,
        QStringLiteral("F_les5_1"),
        QStringLiteral(" ● Lesson5 ●"),
        QStringLiteral("キーを打つ時には、心の中で文字を唱える様にすると効果的です。"),
        false,
        false,
        QStringLiteral("頭の中で言葉を言いながらキーを押しましょう。"),
        QStringLiteral("ミスタッチが多いようですね。落ち着いてタイプしましょう。"),
        QStringLiteral("なかなかお上手です。もう少しミスタッチを減らせますか？"),
        QStringLiteral("お疲れ様でした。Lesson5終了です。"),
        {{
            {QStringLiteral("05-01"),
             QStringLiteral("     発表　        チェック　    日記　        特急"),
             QStringLiteral("happyou happyou chekku chekku nikki nikki tokkyuu tokkyuu"),
             HomePositionAdvice},
            {QStringLiteral("05-02"),
             QStringLiteral("  いっぱい      マージャン        東京            出席"),
             QStringLiteral("ippai ippai ma-jann ma-jann toukyou toukyou syusseki syusseki"),
             HomePositionAdvice},
            {QStringLiteral("05-03"),
             QStringLiteral("      借金             巨大         ギャング          評論"),
             QStringLiteral("syakkinn syakkinn kyodai kyodai gyanngu gyanngu hyouronn hyouronn"),
             kNoLooking},
            {QStringLiteral("05-04"),
             QStringLiteral("       牛乳                 超能力　　　　　　   社長"),
             QStringLiteral("gyuunyuu gyuunyuu tyounouryoku tyounouryoku syatyou syatyou"),
             HomePositionAdvice},
            {QStringLiteral("05-05"),
             QStringLiteral("       職業                  着色                料金"),
             QStringLiteral("syokugyou syokugyou tyakusyoku tyakusyoku ryoukinn ryoukinn"),
             QStringLiteral("キーボードを見てはいけません。")},
            {QStringLiteral("05-06"),
             QStringLiteral("   データ       キーボード       フォーマット       パッケージ"),
             QStringLiteral("de-ta de-ta ki-bo-do ki-bo-do fo-matto fo-matto pakke-zi pakke-zi"),
             kKatakanaWords}
        }},
    },
    // Lesson 6
    {
        6,
        QStringLiteral("F_les6_1"),
        QStringLiteral(" ● Lesson6 ●"),
        QStringLiteral("かな漢字変換の操作については、お使いのかな漢字変換プログラムのマニュアルをご覧ください。"),
        true,
        true,
        kHandsStay,
        QStringLiteral("誤変換が多いようですね。落ち着いてタイプしましょう。"),
        QStringLiteral("なかなかお上手です。もう少し誤変換を減らせますか？"),
        QStringLiteral("お疲れ様でした。Lesson6終了です。"),
        {{
            {QStringLiteral("06-01"), kSpacesLine, QString(), kHandsStay},
            {QStringLiteral("06-02"), kSpacesLine, QString(), QStringLiteral("変換の時に、手もとを見ないように注意して下さい。")},
            {QStringLiteral("06-03"), kSpacesLine, QString(), kNoLooking},
            {QStringLiteral("06-04"), kSpacesLine, QString(), HomePositionAdvice},
            {QStringLiteral("06-05"), kSpacesLine, QString(), kKatakanaWords},
            {QStringLiteral("06-06"), kSpacesLine, QString(), kKatakanaWords}
        }},
    },
}};

} // namespace

const WordDrillScript& WordDrillLessonScript(int lesson)
{
    return kScripts[lesson == 6 ? 1 : 0];
}

} // namespace morvela
