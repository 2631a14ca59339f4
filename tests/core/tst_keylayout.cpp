// The key layout the keyboard picture is drawn from and the keys are marked
// in, the rule of when a key is marked, and the keys an attempt missed most.

#include "core/KeyLayout.h"
#include "core/MissedKeys.h"
#include "core/TypingAttempt.h"
#include "lessons/LessonScript.h"
#include "lessons/WordDrillScripts.h"

#include <QSet>
#include <QTest>

using namespace morvela;

Q_DECLARE_METATYPE(morvela::Finger)
Q_DECLARE_METATYPE(morvela::MissTally)

namespace {

// Every character the learner types with the input method off: Lesson 0's
// home row, Lessons 1 to 4 and Lesson 5.
QSet<char32_t> drillCharacters()
{
    QString all = QStringLiteral("ffjjddkkssllaa;;");
    for (int lesson = 1; lesson <= 4; ++lesson) {
        for (const DrillPage& page : RhythmLessonScript(lesson).pages)
            all += page.drillText;
    }
    for (const WordDrillPage& page : WordDrillLessonScript(5).pages)
        all += page.drillText;
    QSet<char32_t> set;
    for (const char32_t c : all.toUcs4())
        set.insert(c);
    return set;
}

// The characters of the table of expected keys, by the finger that strikes
// them; the space bar is the thumbs'.
const struct {
    const char* chars;
    Finger finger;
} kFingerColumns[] = {
    {"qaz", Finger::LeftLittle},    {"wsx", Finger::LeftRing},     {"edc", Finger::LeftMiddle},
    {"rfvtgb", Finger::LeftIndex},  {"yhnujm", Finger::RightIndex}, {"ik,", Finger::RightMiddle},
    {"ol.", Finger::RightRing},     {"p;/-", Finger::RightLittle},
};

QString ucs(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

} // namespace

class TestKeyLayout : public QObject {
    Q_OBJECT
private slots:
    void keyAndFingerOfEveryDrillCharacter_data();
    void keyAndFingerOfEveryDrillCharacter();
    void everyDrillCharacterIsInTheTable();
    void shiftedCharactersHoldTheOtherHandsShift_data();
    void shiftedCharactersHoldTheOtherHandsShift();
    void charactersNoKeyTypesMarkNothing();
    void keysLieApartInsideTheFrame();
    void aRefusedKeyMarksTheExpectedOneUntilTheNextAccepted_data();
    void aRefusedKeyMarksTheExpectedOneUntilTheNextAccepted();
    void mostMissedRanksByCountThenByFirstMiss_data();
    void mostMissedRanksByCountThenByFirstMiss();
    void mostMissedStartsAfreshOnlyWithANewAttempt();
    void mostMissedLine_data();
    void mostMissedLine();
};

// Expected character → the legend of its key and the finger that strikes it.
void TestKeyLayout::keyAndFingerOfEveryDrillCharacter_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("legend");
    QTest::addColumn<Finger>("finger");
    for (const auto& column : kFingerColumns) {
        for (const char* c = column.chars; *c; ++c) {
            const QString ch = QString(QLatin1Char(*c));
            const QString legend = QChar(*c).isLetter() ? ch.toUpper() : ch;
            QTest::newRow(qPrintable(ch)) << ch << legend << column.finger;
        }
    }
    QTest::newRow("space") << QStringLiteral(" ") << QString() << Finger::Thumb;
}

void TestKeyLayout::keyAndFingerOfEveryDrillCharacter()
{
    QFETCH(QString, character);
    QFETCH(QString, legend);
    QFETCH(Finger, finger);
    const KeyMark mark = MarkFor(character.toUcs4().first());
    QVERIFY(mark);
    QCOMPARE(mark.key->legend, legend);
    QCOMPARE(mark.finger(), finger);
    QVERIFY(!mark.shift);
}

void TestKeyLayout::everyDrillCharacterIsInTheTable()
{
    // The table above covers what the lessons ask for: a new drill text with
    // a character it lacks fails here until the table has a row for it.
    QSet<char32_t> covered{U' '};
    for (const auto& column : kFingerColumns) {
        for (const char* c = column.chars; *c; ++c)
            covered.insert(char32_t(*c));
    }
    const QSet<char32_t> drills = drillCharacters();
    for (const char32_t c : drills)
        QVERIFY2(covered.contains(c), qPrintable(QStringLiteral("no row for \"%1\"").arg(ucs(c))));
    for (const char32_t c : drills)
        QVERIFY2(MarkFor(c), qPrintable(QStringLiteral("no key for \"%1\"").arg(ucs(c))));
    QVERIFY(drills.contains(U'-') && drills.contains(U';') && drills.contains(U' ') && drills.contains(U'/'));
}

void TestKeyLayout::shiftedCharactersHoldTheOtherHandsShift_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("legend");
    QTest::addColumn<Finger>("shiftFinger");
    QTest::newRow("F, left hand: right Shift") << "F" << "F" << Finger::RightLittle;
    QTest::newRow("J, right hand: left Shift") << "J" << "J" << Finger::LeftLittle;
    QTest::newRow("+ on the ; key") << "+" << ";" << Finger::LeftLittle;
    QTest::newRow("\" on the 2 key") << "\"" << "2" << Finger::RightLittle;
    QTest::newRow("? on the / key") << "?" << "/" << Finger::LeftLittle;
    QTest::newRow("_ on the \\ key") << "_" << "\\" << Finger::LeftLittle;
}

void TestKeyLayout::shiftedCharactersHoldTheOtherHandsShift()
{
    QFETCH(QString, character);
    QFETCH(QString, legend);
    QFETCH(Finger, shiftFinger);
    const KeyMark mark = MarkFor(character.toUcs4().first());
    QVERIFY(mark);
    QCOMPARE(mark.key->legend, legend);
    QVERIFY(mark.shift);
    QVERIFY(mark.shift->shift);
    QCOMPARE(mark.shift->finger, shiftFinger);
}

void TestKeyLayout::charactersNoKeyTypesMarkNothing()
{
    for (const char32_t c : {char32_t(0), char32_t(U'あ'), char32_t(0x3000), char32_t(U'Ａ')})
        QVERIFY(!MarkFor(c));
}

void TestKeyLayout::keysLieApartInsideTheFrame()
{
    const QList<KeyCap>& keys = JisKeyboard::Keys();
    const QRectF frame = JisKeyboard::Frame();
    QVERIFY(QRectF(QPointF(0, 0), QSizeF(JisKeyboard::PictureSize)).contains(frame));
    QSet<char32_t> typed;
    int shifts = 0;
    for (int i = 0; i < keys.size(); ++i) {
        const KeyCap& a = keys[i];
        QVERIFY2(frame.contains(a.face) && (a.lower.isEmpty() || frame.contains(a.lower)), qPrintable(a.legend));
        for (int j = i + 1; j < keys.size(); ++j) {
            const KeyCap& b = keys[j];
            for (const QRectF& pa : {a.face, a.lower}) {
                for (const QRectF& pb : {b.face, b.lower}) {
                    if (!pa.isEmpty() && !pb.isEmpty())
                        QVERIFY2(!pa.intersects(pb), qPrintable(a.legend + QLatin1String(" / ") + b.legend));
                }
            }
        }
        // One key per character, so a mark is never ambiguous.
        for (const char32_t c : {a.plain, a.shifted}) {
            if (c) {
                QVERIFY2(!typed.contains(c), qPrintable(ucs(c)));
                typed.insert(c);
            }
        }
        shifts += a.shift;
    }
    QCOMPARE(shifts, 2);
}

// A line of outcomes typed against "fj": each step is a key and the key the
// picture then marks ("" = nothing).
void TestKeyLayout::aRefusedKeyMarksTheExpectedOneUntilTheNextAccepted_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("marked");
    QTest::newRow("typing correctly marks nothing") << "fj" << QStringList{"", ""};
    QTest::newRow("a miss marks, the next right key clears") << "xfj" << QStringList{"f", "", ""};
    QTest::newRow("misses in a row keep the mark") << "xx\bf" << QStringList{"f", "f", "f", ""};
    QTest::newRow("the mark follows the cursor") << "fkj" << QStringList{"", "j", ""};
    QTest::newRow("a capital is a miss") << "Ff" << QStringList{"f", ""};
    QTest::newRow("keys after the end mark nothing") << "fjx" << QStringList{"", "", ""};
}

void TestKeyLayout::aRefusedKeyMarksTheExpectedOneUntilTheNextAccepted()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, marked);
    TypingAttempt attempt(QStringLiteral("fj"));
    const auto keys = typed.toUcs4();
    for (int i = 0; i < keys.size(); ++i) {
        attempt.type(keys[i]);
        const char32_t m = attempt.markedKey();
        QCOMPARE(m ? ucs(m) : QString(), marked[i]);
    }
    attempt.type(U'x');
    attempt.restart();
    QCOMPARE(attempt.markedKey(), char32_t(0));
}

// Typed against "asdf asdf": the keys missed most, "char×count" in rank order.
void TestKeyLayout::mostMissedRanksByCountThenByFirstMiss_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ranked");
    QTest::newRow("no miss") << "asdf asdf" << "";
    QTest::newRow("one key") << "axxsdf asdf" << "s2";
    QTest::newRow("by count, ties by first miss") << "xaxsxsdxxf asdf" << "d2 f2 a1";
    QTest::newRow("ties by first miss, not by place") << "axsxdf asdxf" << "s1 d1 f1";
    QTest::newRow("at most three") << "xaxsxdxf xasdf" << "a2 s1 d1";
    QTest::newRow("counted by the expected key, not the typed one") << "aAsdf asdf" << "s1";
    QTest::newRow("space") << "asdfx asdf" << " 1";
}

void TestKeyLayout::mostMissedRanksByCountThenByFirstMiss()
{
    QFETCH(QString, typed);
    QFETCH(QString, ranked);
    TypingAttempt attempt(QStringLiteral("asdf asdf"));
    for (const char32_t c : typed.toUcs4())
        attempt.type(c);
    QStringList got;
    for (const MissTally& t : attempt.mostMissed())
        got << ucs(t.expected) + QString::number(t.count);
    QCOMPARE(got.join(QLatin1Char(' ')), ranked);
}

void TestKeyLayout::mostMissedStartsAfreshOnlyWithANewAttempt()
{
    TypingAttempt attempt(QStringLiteral("ab"));
    attempt.type(U'x'); // a
    attempt.type(U'a');
    attempt.type(U'b');
    // Typed through and begun again: the misses so far stay counted.
    attempt.rewind();
    attempt.type(U'x'); // a again
    QCOMPARE(attempt.mostMissed(), (QList<MissTally>{{U'a', 2}}));
    // The next line of the same attempt keeps them too.
    attempt.continueWith(QStringLiteral("cd"));
    attempt.type(U'x'); // c
    QCOMPARE(attempt.mostMissed(), (QList<MissTally>{{U'a', 2}, {U'c', 1}}));
    QCOMPARE(attempt.misses(), 3);
    attempt.restart();
    QVERIFY(attempt.mostMissed().isEmpty());
    attempt.type(U'x');
    attempt.setText(QStringLiteral("ab"));
    QVERIFY(attempt.mostMissed().isEmpty());
}

void TestKeyLayout::mostMissedLine_data()
{
    QTest::addColumn<QList<MissTally>>("most");
    QTest::addColumn<QString>("line");
    QTest::newRow("no miss") << QList<MissTally>{} << "";
    QTest::newRow("one") << QList<MissTally>{{U'f', 1}} << "よく間違えたキー：［f］１回";
    QTest::newRow("three, space and ten")
        << QList<MissTally>{{U' ', 12}, {U';', 3}, {U'-', 1}} << "よく間違えたキー：［スペース］１２回、［;］３回、［-］１回";
}

void TestKeyLayout::mostMissedLine()
{
    QFETCH(QList<MissTally>, most);
    QFETCH(QString, line);
    QCOMPARE(MostMissedLine(most), line);
}

QTEST_APPLESS_MAIN(TestKeyLayout)
#include "tst_keylayout.moc"
