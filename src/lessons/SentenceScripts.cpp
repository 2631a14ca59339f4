#include "lessons/SentenceScripts.h"

#include <array>

namespace morvela {

namespace {

// The course content of the sentence lessons: the opening of a novel in the
// public domain, and a new-product announcement as computer magazines print
// them, mixing katakana, kanji and full-width letters and digits (each line
// has the make-up the lesson's instruction prepares the learner for).
const std::array<SentenceScript, 2> kScripts{{
    {
        7,
        QStringLiteral("F_les7_1"),
        QStringLiteral(" ● Lesson7 ●"),
        QStringLiteral("以下の文章(坊ちゃんの冒頭)を入力して下さい。決して急がず、正確に！"),
        QStringLiteral("07-01"),
        true,
        {1, 2, 3, 4, 5, 6, 7, 8},
        {
            QStringLiteral("親譲りの無鉄砲で子供の時から損ばかりしている。小学校にいる時分"),
            QStringLiteral("学校の二階から飛び降りて、一週間ほど腰を抜かしたことがある。"),
            QStringLiteral("なぜそんなむやみをしたと聞く人があるかも知れぬ。別段深い理由でもない。"),
            QStringLiteral("新築の二階から首を出していたら、同級生の一人が冗談に、いくら頑張っても"),
            QStringLiteral("そこからとびおりることはできまい。弱虫やあい、とはやしたからである。"),
            QStringLiteral("小使におぶさって帰って来た時、おやじが大きな目をして二階ぐらいから飛び"),
            QStringLiteral("降りて腰を抜かすやつがあるかと言ったから、この次は抜かさずに飛んで"),
            QStringLiteral("見せますと答えた。"),
        },
    },
    {
        8,
        QStringLiteral("F_les8_1"),
        QStringLiteral(" ● Lesson8 ●"),
        QStringLiteral("カタカナ・英文字混じり文は、パソコン雑誌の新製品紹介記事より取りました。英大文字を入力する時には、左手小指でシフトキーを押すようにします。数字を入力する場合は、無理にキーボードを見ないで打つ必要はありません。"),
        QStringLiteral("08-01"),
        false,
        {1, 2, 3, 4, 8},
        {
            QStringLiteral("ＮｏｒｖｉｎｅのパソコンＳｋｙＢｏｏｋ３１０は、軽量スリムボディで、"),
            QStringLiteral("デュアルコア２４００ＭＨｚ最新型ＣＰＵと１６ＧＢメモリを搭載し"),
            QStringLiteral("１３．３インチワイドディスプレイとＵＳＢコネクタを２個備え"),
            QStringLiteral("ており、５１２ＧＢ高速ドライブとＥｔｈｅｒｎｅｔ端子もあります。"),
            QStringLiteral("２０２７年春発売予定、パソコン量販店とネットショップで予約を受付中。"),
        },
    },
}};

} // namespace

QStringList SentenceScript::boxNames() const
{
    QStringList names;
    for (int line = 0; line < lines.size(); ++line)
        names << boxName(line);
    return names;
}

const SentenceScript& SentenceLessonScript(int lesson)
{
    return kScripts[lesson == 8 ? 1 : 0];
}

QString SentencePassMessage()
{
    return QStringLiteral("おめでとうございます。合格です(=^_^=)");
}

QString SentenceFailMessage(int misses)
{
    return QStringLiteral("入力ミスが ") + QString::number(misses) + QStringLiteral(" 回ありました。合格は 10 回未満です。");
}

} // namespace morvela
