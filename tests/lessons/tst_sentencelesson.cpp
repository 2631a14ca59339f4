// The sentence lessons 7 and 8: the lines in their box order, misses over the
// whole text, the verdict when the last line is complete and what it records,
// and the make-up of Lesson 8's lines.

#include "lessons/SentenceLesson.h"

#include "support/ManualClock.h"
#include "support/Typing.h"
#include "core/Cp932.h"

#include <QTest>

using namespace morvela;
using test::TypeText;

namespace {

const QString kPass = QStringLiteral("おめでとうございます。合格です(=^_^=)");

struct Lesson {
    explicit Lesson(int lesson) : lesson(SentenceLessonScript(lesson), record, clock)
    {
        record.FurthestPage = QStringLiteral("06-06");
        openEffects = this->lesson.open();
    }
    KeyOutcome key(char32_t c) { return lesson.keyPress(lesson.line(), c); }
    // Types the first `count` lines, with `misses` wrong keys before them.
    KeyOutcome typeLines(int count, int misses = 0)
    {
        return TypeText(lesson.script().lines.mid(0, count).join(QString()), misses,
                        [this](char32_t c) { return key(c); });
    }

    ProgressRecord record;
    test::ManualClock clock;
    SentenceLesson lesson;
    ScreenEffects openEffects;
};

// Character classes of the lines, as the lesson's instruction names them.
struct Composition {
    int katakana = 0, capitals = 0, smallLetters = 0, digits = 0, fullStops = 0, kanji = 0, hiragana = 0,
        commas = 0, periods = 0, other = 0;
};

Composition Compose(const QString& line)
{
    Composition c;
    for (const char32_t ch : line.toUcs4()) {
        if ((ch >= 0x30A1 && ch <= 0x30FA) || ch == 0x30FC)
            ++c.katakana;
        else if (ch >= U'Ａ' && ch <= U'Ｚ')
            ++c.capitals;
        else if (ch >= U'ａ' && ch <= U'ｚ')
            ++c.smallLetters;
        else if (ch >= U'０' && ch <= U'９')
            ++c.digits;
        else if (ch == U'．')
            ++c.fullStops;
        else if (ch >= 0x4E00 && ch <= 0x9FFF)
            ++c.kanji;
        else if (ch >= 0x3041 && ch <= 0x3096)
            ++c.hiragana;
        else if (ch == U'、')
            ++c.commas;
        else if (ch == U'。')
            ++c.periods;
        else
            ++c.other;
    }
    return c;
}

} // namespace

class TestSentenceLesson : public QObject {
    Q_OBJECT
private slots:
    void lesson8Lines_data();
    void lesson8Lines();
    void refusedCharacters_data();
    void refusedCharacters();
    void lineHandOver_data();
    void lineHandOver();
    void verdict_data();
    void verdict();
    void typingOnAfterAVerdict();
    void openAndAgain_data();
    void openAndAgain();
};

void TestSentenceLesson::lesson8Lines_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("katakana");
    QTest::addColumn<int>("letters"); // full-width Latin
    QTest::addColumn<QString>("letterCase"); // "mixed", "capitals" or "any"
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("fullStops"); // "．" as a decimal point
    QTest::addColumn<int>("kanji");
    QTest::addColumn<int>("hiragana");
    QTest::addColumn<int>("commas");
    QTest::addColumn<int>("periods");
    QTest::newRow("line 1") << 0 << 34 << 10 << 14 << "mixed" << 3 << 0 << 2 << 3 << 2 << 0;
    QTest::newRow("line 2") << 1 << 31 << 9 << 8 << "any" << 6 << 0 << 5 << 3 << 0 << 0;
    QTest::newRow("line 3") << 2 << 29 << 16 << 3 << "capitals" << 4 << 1 << 2 << 3 << 0 << 0;
    QTest::newRow("line 4") << 3 << 32 << 4 << 10 << "any" << 3 << 0 << 4 << 9 << 1 << 1;
    QTest::newRow("line 5") << 4 << 34 << 11 << 0 << "any" << 4 << 0 << 14 << 3 << 1 << 1;
}

void TestSentenceLesson::lesson8Lines()
{
    QFETCH(int, line);
    QFETCH(QString, letterCase);
    const SentenceScript& script = SentenceLessonScript(8);
    QCOMPARE(script.lines.size(), 5);
    const QString text = script.lines.at(line);
    const Composition c = Compose(text);
    QTEST(int(text.toUcs4().size()), "length");
    QTEST(c.katakana, "katakana");
    QTEST(c.capitals + c.smallLetters, "letters");
    if (letterCase == QLatin1String("mixed"))
        QVERIFY(c.capitals > 0 && c.smallLetters > 0);
    if (letterCase == QLatin1String("capitals"))
        QCOMPARE(c.smallLetters, 0);
    QTEST(c.digits, "digits");
    QTEST(c.fullStops, "fullStops");
    QTEST(c.kanji, "kanji");
    QTEST(c.hiragana, "hiragana");
    QTEST(c.commas, "commas");
    QTEST(c.periods, "periods");
    QCOMPARE(c.other, 0);
    if (c.fullStops) { // a decimal point stands between digits
        const int at = text.indexOf(u'．');
        QVERIFY(at > 0 && text.at(at - 1).isDigit() && text.at(at + 1).isDigit());
    }
    bool encodable = false;
    EncodeCp932(text, &encodable);
    QVERIFY(encodable);
}

void TestSentenceLesson::refusedCharacters_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("box"); // the line whose box the characters come to
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("misses");
    // Line 1 of Lesson 8 begins with a full-width maker's name.
    const QString l8 = SentenceLessonScript(8).lines.at(0);
    const int digitAt = l8.indexOf(u'３');
    QTest::newRow("Lesson 8: a half-width letter") << 8 << 0 << QStringLiteral("N") << 1;
    QTest::newRow("Lesson 8: a half-width digit")
        << 8 << 0 << (l8.left(digitAt) + QStringLiteral("3")) << 1;
    QTest::newRow("Lesson 7: a two-kanji word converted wrong costs two misses")
        << 7 << 0 << QStringLiteral("親譲りの無鉄砲で小供") << 2;
    // The turn stays with the line being typed: a click into another box
    // changes nothing.
    QTest::newRow("a later box takes nothing and counts nothing") << 7 << 1 << QStringLiteral("学校の") << 0;
    QTest::newRow("Lesson 8: T8 out of turn") << 8 << 4 << QStringLiteral("２０２７") << 0;
}

void TestSentenceLesson::refusedCharacters()
{
    QFETCH(int, lesson);
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(int, misses);
    Lesson l(lesson);
    int accepted = 0;
    for (const char32_t c : typed.toUcs4()) {
        const KeyOutcome k = l.lesson.keyPress(box, c);
        accepted += k.accepted;
        QCOMPARE(k.line, 0);
    }
    const int total = int(typed.toUcs4().size());
    QCOMPARE(l.lesson.misses(), misses);
    QCOMPARE(accepted, box == 0 ? total - misses : 0);
    QCOMPARE(l.lesson.cursor(), accepted + 1);
}

void TestSentenceLesson::lineHandOver_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("linesTyped");
    QTest::addColumn<QString>("box");
    QTest::newRow("Lesson 7: line 3 done, T4") << 7 << 3 << QStringLiteral("T4");
    QTest::newRow("Lesson 7: line 7 done, T8") << 7 << 7 << QStringLiteral("T8");
    QTest::newRow("Lesson 8: line 1 done, T2") << 8 << 1 << QStringLiteral("T2");
    QTest::newRow("Lesson 8: line 4 done, T8") << 8 << 4 << QStringLiteral("T8");
}

void TestSentenceLesson::lineHandOver()
{
    QFETCH(int, lesson);
    QFETCH(int, linesTyped);
    QFETCH(QString, box);
    Lesson l(lesson);
    const KeyOutcome last = l.typeLines(linesTyped, 3);
    QVERIFY(last.accepted);
    QCOMPARE(l.lesson.script().boxName(last.line), box);
    QCOMPARE(l.lesson.cursor(), 1);
    QCOMPARE(l.lesson.misses(), 3);
    QVERIFY(last.effects == ScreenEffects()); // the widget moves the focus by the line
    // The new line's box takes its first character.
    const KeyOutcome next = l.lesson.keyPress(last.line, l.lesson.script().lines.at(last.line).toUcs4().at(0));
    QVERIFY(next.accepted);
    QCOMPARE(l.lesson.cursor(), 2);
}

void TestSentenceLesson::verdict_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("stateBefore");
    QTest::addColumn<QString>("furthestBefore");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("furthestAfter");
    const QString practising = LessonState::Practising;
    for (int lesson : {7, 8}) {
        const QString page = MakePageId(lesson, 1);
        const QString before = MakePageId(lesson - 1, 6);
        QTest::addRow("Lesson %d, no misses", lesson) << lesson << 0 << practising << before << kPass << page;
        QTest::addRow("Lesson %d, 9 misses pass", lesson) << lesson << 9 << practising << before << kPass << page;
        QTest::addRow("Lesson %d, 10 misses fail", lesson)
            << lesson << 10 << practising << before
            << QStringLiteral("入力ミスが 10 回ありました。合格は 10 回未満です。") << before;
        QTest::addRow("Lesson %d, 23 misses fail", lesson)
            << lesson << 23 << practising << before
            << QStringLiteral("入力ミスが 23 回ありました。合格は 10 回未満です。") << before;
        QTest::addRow("Lesson %d, a pass again leaves a later page", lesson)
            << lesson << 2 << LessonState::Completed << QStringLiteral("09-01") << kPass << QStringLiteral("09-01");
    }
}

void TestSentenceLesson::verdict()
{
    QFETCH(int, lesson);
    QFETCH(int, misses);
    QFETCH(QString, stateBefore);
    QFETCH(QString, furthestBefore);
    QFETCH(QString, message);
    Lesson l(lesson);
    l.record.LessonStates[size_t(lesson)] = stateBefore;
    l.record.FurthestPage = furthestBefore;
    const ProgressRecord before = l.record;
    const bool passed = message == kPass;

    const KeyOutcome last = l.typeLines(l.lesson.script().lines.size(), misses);
    QVERIFY(last.accepted);
    QCOMPARE(last.effects.message, message);
    QCOMPARE(last.effects.messageIcon, MessageIcon::None);
    QCOMPARE(last.effects.save, passed);
    QCOMPARE(last.effects.rowStateShown, passed);
    QTEST(l.record.FurthestPage, "furthestAfter");
    if (passed)
        QCOMPARE(l.record.LessonStates[size_t(lesson)], LessonState::Completed);
    else
        QVERIFY(l.record == before); // a fail changes nothing
    // Back to T1 for a new attempt; the boxes keep what was typed.
    QCOMPARE(last.effects.focus, QStringLiteral("T1"));
    QVERIFY(last.effects.clearBoxes.isEmpty());
    QVERIFY(!last.effects.close);
    QCOMPARE(last.line, 0);
    QCOMPARE(l.lesson.cursor(), 1);
    QCOMPARE(l.lesson.misses(), 0);
    // The whole text as one attempt in the learner's record.
    QVERIFY(last.effects.finishedAttempt);
    const AttemptRecord& r = *last.effects.finishedAttempt;
    QCOMPARE(r.screen, QStringLiteral("F_les%1_1").arg(lesson));
    QCOMPARE(r.pageId, MakePageId(lesson, 1));
    QCOMPARE(r.outcome, passed ? QStringLiteral("合格") : QStringLiteral("不合格"));
    QCOMPARE(r.misses, misses);
    QCOMPARE(r.accepted, int(l.lesson.script().lines.join(QString()).toUcs4().size()));
    QVERIFY(r.inputMethod);
}

void TestSentenceLesson::typingOnAfterAVerdict()
{
    Lesson l(7);
    l.typeLines(8, 12);
    QVERIFY(l.key(U'親').accepted);
    QVERIFY(!l.key(U'x').accepted);
    QCOMPARE(l.lesson.line(), 0);
    QCOMPARE(l.lesson.cursor(), 2);
    QCOMPARE(l.lesson.misses(), 1);
    // The new attempt has its own verdict.
    const KeyOutcome last = TypeText(l.lesson.script().lines.join(QString()).mid(1), 0,
                                     [&](char32_t c) { return l.key(c); });
    QCOMPARE(last.effects.message, kPass);
}

void TestSentenceLesson::openAndAgain_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("Lesson 7") << 7
                              << QStringList{"T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8"};
    QTest::newRow("Lesson 8") << 8 << QStringList{"T1", "T2", "T3", "T4", "T8"};
}

void TestSentenceLesson::openAndAgain()
{
    QFETCH(int, lesson);
    QFETCH(QStringList, boxes);
    Lesson l(lesson);
    QCOMPARE(l.openEffects.clearBoxes, boxes);
    QCOMPARE(l.openEffects.focus, QStringLiteral("T1"));
    QVERIFY(l.openEffects.rowStateShown);
    QVERIFY(!l.openEffects.save); // the new state reaches the file with the next save
    QCOMPARE(l.record.LessonStates[size_t(lesson)], LessonState::Practising);
    QVERIFY(!l.lesson.open().rowStateShown);

    l.typeLines(2, 4);
    const ScreenEffects again = l.lesson.again();
    QCOMPARE(again.clearBoxes, boxes);
    QCOMPARE(again.focus, QStringLiteral("T1"));
    QCOMPARE(l.lesson.line(), 0);
    QCOMPARE(l.lesson.cursor(), 1);
    QCOMPARE(l.lesson.misses(), 0);

    const ScreenEffects menu = l.lesson.toMenu();
    QVERIFY(menu.close);
    QVERIFY(!menu.save);
}

QTEST_GUILESS_MAIN(TestSentenceLesson)
#include "tst_sentencelesson.moc"
