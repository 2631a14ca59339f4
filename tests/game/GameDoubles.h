#pragma once

// The game's random numbers, words and caption sizes, fixed so a test knows
// which word falls where.

#include "game/GameEngine.h"
#include "game/GameRandom.h"

#include <QList>

namespace morvela::test {

// Hands out its values in turn, over and over; counts the reseeds.
class ScriptedRandom final : public GameRandom {
public:
    explicit ScriptedRandom(QList<double> values = {0.5}) : values(std::move(values)) {}
    void reseed() override { ++reseeds; }
    double next() override { return values[qsizetype(drawn++) % values.size()]; }

    // One stage in which invader i carries word words[i % n] of a list of n
    // and stands at the left edge.
    static QList<double> wordsInOrder(int n)
    {
        QList<double> v;
        for (int i = 0; i < InvaderCount; ++i)
            v << (i % n + 0.5) / n << 0.0;
        return v;
    }

    QList<double> values;
    int drawn = 0;
    int reseeds = 0;
};

// Ten words of every kind and length, a stage's worth.
inline QList<WordEntry> TenWords()
{
    QList<WordEntry> words;
    for (const char* line : {"猫,ねこ", "電車,でんしゃ", "さくら,さくら", "ペンギン,ぺんぎん", "自転車,じてんしゃ",
                             "おにぎり,おにぎり", "コーヒー,こーひー", "時計,とけい", "インターネット,いんたーねっと",
                             "海,うみ"})
        words << SplitWordEntry(QString::fromUtf8(line));
    return words;
}

// About an 18-point caption: 360 twips a character, 480 high.
inline TwipsSize MeasureByLength(const QString& caption)
{
    return {int(caption.toUcs4().size()) * 360, 480};
}

} // namespace morvela::test
