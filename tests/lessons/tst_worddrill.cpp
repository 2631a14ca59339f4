// The word drills of Lessons 5 and 6: the character check, the judgement by
// misses, the page moves and the progress they record, driven through the
// engine the lesson windows forward their events to.

#include "lessons/WordDrill.h"

#include "support/ManualClock.h"
#include "support/Typing.h"

#include <QTest>

using namespace morvela;
using test::TypeText;

namespace {

const QString kPass = QStringLiteral("おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。");
const QString Text1 = QStringLiteral("Text1");
const QString Command4 = QStringLiteral("Command4");

struct Drill {
    explicit Drill(int lesson, const QString& furthest = QStringLiteral("04-07"), int optionCode = 1)
        : drill(WordDrillLessonScript(lesson), record, settings, clock)
    {
        record.FurthestPage = furthest;
        ApplyOptionCode(settings, optionCode);
        openEffects = drill.open();
    }
    KeyOutcome typePage(int misses)
    {
        return TypeText(drill.drillText(), misses, [this](char32_t c) { return drill.keyPress(c); });
    }
    void goToPage(int page)
    {
        while (drill.pageNo() < page) {
            const int before = drill.pageNo();
            drill.nextPage();
            QVERIFY2(drill.pageNo() > before, "次ページ>> is disabled");
        }
    }

    ProgressRecord record;
    DerivedSettings settings;
    test::ManualClock clock;
    WordDrill drill;
    ScreenEffects openEffects;
};

} // namespace

class TestWordDrill : public QObject {
    Q_OBJECT
private slots:
    void refusedCharacters_data();
    void refusedCharacters();
    void judgementByMisses_data();
    void judgementByMisses();
    void typingOnAfterAJudgement();
    void keyHelpOnlyWhereTheInputMethodIsOut_data();
    void keyHelpOnlyWhereTheInputMethodIsOut();
    void openingSetsPractising_data();
    void openingSetsPractising();
    void pageMoves();
    void furthestPageBeyondTheLesson();
    void lastPageEndsTheLesson_data();
    void lastPageEndsTheLesson();
    void passingTheLastPageCompletesTheLesson();
    void lesson6ReadsTheWordListsOnEachPage();
    void scriptsAreConsistent();
};

void TestWordDrill::refusedCharacters_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("optionCode");
    QTest::addColumn<QString>("typedRight"); // accepted first
    QTest::addColumn<QString>("typedWrong"); // each refused
    QTest::newRow("Lesson 5: a capital letter") << 5 << 1 << QString() << QStringLiteral("H");
    QTest::newRow("Lesson 5: a full-width letter") << 5 << 1 << QStringLiteral("hap") << QStringLiteral("ｐ");
    QTest::newRow("Lesson 5: Backspace and Enter count") << 5 << 1 << QStringLiteral("ha") << QStringLiteral("\b\r");
    QTest::newRow("Lesson 6, full-width spaces: a half-width space")
        << 6 << 1 << QStringLiteral("搭載") << QStringLiteral(" ");
    QTest::newRow("Lesson 6, half-width spaces (option 4): a full-width space")
        << 6 << 4 << QStringLiteral("搭載") << QStringLiteral("　");
    QTest::newRow("Lesson 6, half-width spaces (option 6): a full-width space")
        << 6 << 6 << QStringLiteral("搭載 搭載") << QStringLiteral("　");
    // The second character is judged against the still-expected first one.
    QTest::newRow("Lesson 6: a word converted wrong costs two misses")
        << 6 << 1 << QStringLiteral("搭載　搭載　") << QStringLiteral("光速");
}

void TestWordDrill::refusedCharacters()
{
    QFETCH(int, lesson);
    QFETCH(int, optionCode);
    QFETCH(QString, typedRight);
    QFETCH(QString, typedWrong);
    Drill d(lesson, QStringLiteral("04-07"), optionCode);
    for (const char32_t c : typedRight.toUcs4())
        QVERIFY(d.drill.keyPress(c).accepted);
    for (const char32_t c : typedWrong.toUcs4()) {
        const KeyOutcome k = d.drill.keyPress(c);
        QVERIFY(!k.accepted);
        QVERIFY(k.effects == ScreenEffects());
    }
    QCOMPARE(d.drill.misses(), int(typedWrong.toUcs4().size()));
    QCOMPARE(d.drill.cursor(), int(typedRight.toUcs4().size()) + 1);
}

void TestWordDrill::judgementByMisses_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("message");
    const QString fewer5 = QStringLiteral("なかなかお上手です。もう少しミスタッチを減らせますか？");
    const QString many5 = QStringLiteral("ミスタッチが多いようですね。落ち着いてタイプしましょう。");
    const QString fewer6 = QStringLiteral("なかなかお上手です。もう少し誤変換を減らせますか？");
    const QString many6 = QStringLiteral("誤変換が多いようですね。落ち着いてタイプしましょう。");
    for (int misses : {0, 4, 5, 9, 10, 12}) {
        QTest::addRow("Lesson 5, %d misses", misses) << 5 << misses
                                                     << (misses < 5 ? kPass : misses < 10 ? fewer5 : many5);
        QTest::addRow("Lesson 6, %d misses", misses) << 6 << misses
                                                     << (misses < 5 ? kPass : misses < 10 ? fewer6 : many6);
    }
}

void TestWordDrill::judgementByMisses()
{
    QFETCH(int, lesson);
    QFETCH(int, misses);
    QFETCH(QString, message);
    Drill d(lesson, QStringLiteral("04-07"));
    const bool passed = message == kPass;
    const int length = int(d.drill.drillText().toUcs4().size());

    const KeyOutcome last = d.typePage(misses);
    QVERIFY(last.accepted); // the completing character goes in like any other
    QCOMPARE(d.drill.screen().advice, message);
    QCOMPARE(last.effects.save, passed);
    QCOMPARE(last.effects.focus, passed ? Command4 : Text1);
    QCOMPARE(d.drill.screen().nextPageEnabled, passed);
    QCOMPARE(d.record.FurthestPage, passed ? MakePageId(lesson, 1) : QStringLiteral("04-07"));
    QVERIFY(last.effects.clearBoxes.isEmpty()); // the typed text stays
    QVERIFY(!last.effects.close);
    QVERIFY(!last.effects.rowStateShown); // only the last page completes the lesson
    // Every judged page goes to the learner's record, passed or not.
    QVERIFY(last.effects.finishedAttempt);
    const AttemptRecord& r = *last.effects.finishedAttempt;
    QCOMPARE(r.screen, QStringLiteral("F_les%1_1").arg(lesson));
    QCOMPARE(r.pageId, MakePageId(lesson, 1));
    QCOMPARE(r.outcome, passed ? QStringLiteral("合格") : QStringLiteral("不合格"));
    QCOMPARE(r.misses, misses);
    QCOMPARE(r.accepted, length);
    QCOMPARE(r.inputMethod, lesson == 6);
    QCOMPARE(r.level, -1);
}

void TestWordDrill::typingOnAfterAJudgement()
{
    Drill d(5);
    d.typePage(7);
    // A new attempt from the first character, with no misses.
    QCOMPARE(d.drill.cursor(), 1);
    QCOMPARE(d.drill.misses(), 0);
    QVERIFY(d.drill.keyPress(U'h').accepted);
    QVERIFY(!d.drill.keyPress(U'x').accepted);
    QCOMPARE(d.drill.cursor(), 2);
    QCOMPARE(d.drill.misses(), 1);
    // And it is judged on its own.
    const KeyOutcome last = TypeText(d.drill.drillText().mid(1), 0, [&](char32_t c) { return d.drill.keyPress(c); });
    QVERIFY(last.effects.save);
    QCOMPARE(d.drill.screen().advice, kPass);
}

void TestWordDrill::keyHelpOnlyWhereTheInputMethodIsOut_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<bool>("helped");
    QTest::newRow("Lesson 5, romaji with the input method out") << 5 << true;
    QTest::newRow("Lesson 6, converted by the input method") << 6 << false;
}

void TestWordDrill::keyHelpOnlyWhereTheInputMethodIsOut()
{
    QFETCH(int, lesson);
    QFETCH(bool, helped);
    Drill d(lesson);
    const char32_t first = d.drill.drillText().toUcs4().first();
    QVERIFY(!d.drill.keyPress(U'Q').accepted);
    QCOMPARE(d.drill.markedKey(), helped ? first : char32_t(0));
    QVERIFY(d.drill.keyPress(first).accepted);
    QCOMPARE(d.drill.markedKey(), char32_t(0));
    d.drill.again();
    QVERIFY(d.typePage(2).effects != ScreenEffects{});
    QCOMPARE(d.drill.missedKeysLine().isEmpty(), !helped);
    if (helped)
        QVERIFY(d.drill.missedKeysLine().startsWith(QStringLiteral("よく間違えたキー：")));
    // The line goes with the judgement when another page is entered.
    d.drill.nextPage();
    QCOMPARE(d.drill.pageNo(), 2);
    QCOMPARE(d.drill.missedKeysLine(), QString());
}

void TestWordDrill::openingSetsPractising_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("not started") << LessonState::NotStarted << LessonState::Practising;
    QTest::newRow("practising") << LessonState::Practising << LessonState::Practising;
    QTest::newRow("completed stays completed") << LessonState::Completed << LessonState::Completed;
}

void TestWordDrill::openingSetsPractising()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    for (int lesson : {5, 6}) {
        Drill d(lesson);
        d.record.LessonStates[size_t(lesson)] = before;
        const ScreenEffects effects = d.drill.open();
        QCOMPARE(d.record.LessonStates[size_t(lesson)], after);
        QCOMPARE(effects.rowStateShown, before != after);
        QVERIFY(!effects.save); // it reaches the file with the next save
        QCOMPARE(effects.focus, Text1);
    }
}

void TestWordDrill::pageMoves()
{
    Drill d(5, QStringLiteral("04-07"));
    const WordDrillScript& script = d.drill.script();
    QCOMPARE(d.drill.screen().advice, QStringLiteral("頭の中で言葉を言いながらキーを押しましょう。"));
    QCOMPARE(d.drill.screen().caption, script.page(1).caption);
    QCOMPARE(d.drill.screen().drillText, script.page(1).drillText);
    QVERIFY(!d.drill.screen().nextPageEnabled);
    QVERIFY(!d.drill.screen().previousPageEnabled);
    QVERIFY(d.drill.nextPage() == ScreenEffects()); // disabled: nothing happens
    QVERIFY(d.drill.previousPage() == ScreenEffects());
    QCOMPARE(d.drill.pageNo(), 1);

    d.typePage(0);
    d.drill.keyPress(U'h'); // an attempt under way is dropped by the move
    const ScreenEffects forward = d.drill.nextPage();
    QCOMPARE(forward.clearBoxes, QStringList{Text1});
    QCOMPARE(forward.focus, Text1);
    QCOMPARE(d.drill.pageNo(), 2);
    QCOMPARE(d.drill.cursor(), 1);
    QCOMPARE(d.drill.screen().drillText, script.page(2).drillText);
    QCOMPARE(d.drill.screen().advice, script.page(2).advice);
    QCOMPARE(d.drill.screen().caption, script.page(2).caption);
    QVERIFY(!d.drill.screen().nextPageEnabled); // page 2 not passed yet
    QVERIFY(d.drill.screen().previousPageEnabled);

    d.drill.keyPress(U'x');
    const ScreenEffects back = d.drill.previousPage();
    QCOMPARE(back.clearBoxes, QStringList{Text1});
    QCOMPARE(back.focus, Text1);
    QCOMPARE(d.drill.pageNo(), 1);
    QCOMPARE(d.drill.misses(), 0);
    // Coming back to page 1 brings the other advice.
    QCOMPARE(d.drill.screen().advice, QStringLiteral("両手の指は、つねにホームポジションに置きましょう。"));
    QVERIFY(d.drill.screen().nextPageEnabled);
    QVERIFY(!d.drill.screen().previousPageEnabled);
}

void TestWordDrill::furthestPageBeyondTheLesson()
{
    Drill d(5, QStringLiteral("06-03"));
    for (int page = 1; page <= WordDrillScript::PageCount; ++page) {
        d.goToPage(page);
        QVERIFY2(d.drill.screen().nextPageEnabled, qPrintable(QString::number(page)));
    }
    const KeyOutcome last = d.typePage(0);
    QVERIFY(last.effects.save); // saved on a pass whether raised or not
    QCOMPARE(d.record.FurthestPage, QStringLiteral("06-03"));
}

void TestWordDrill::lastPageEndsTheLesson_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<QString>("message");
    QTest::newRow("Lesson 5") << 5 << QStringLiteral("お疲れ様でした。Lesson5終了です。");
    QTest::newRow("Lesson 6") << 6 << QStringLiteral("お疲れ様でした。Lesson6終了です。");
}

void TestWordDrill::lastPageEndsTheLesson()
{
    QFETCH(int, lesson);
    QFETCH(QString, message);
    // Page 6 passed on an earlier day: the button is open without a pass now.
    Drill d(lesson, MakePageId(lesson, 6));
    d.goToPage(6);
    const ProgressRecord before = d.record;
    const ScreenEffects end = d.drill.nextPage();
    QCOMPARE(end.message, message);
    QCOMPARE(end.messageIcon, MessageIcon::Information);
    QVERIFY(end.close);
    QVERIFY(!end.save);
    QVERIFY(d.record == before);
}

void TestWordDrill::passingTheLastPageCompletesTheLesson()
{
    for (int lesson : {5, 6}) {
        Drill d(lesson, MakePageId(lesson, 5));
        d.goToPage(6);
        QVERIFY(!d.drill.screen().nextPageEnabled);
        const KeyOutcome last = d.typePage(4);
        QVERIFY(last.effects.save);
        QVERIFY(last.effects.rowStateShown);
        QCOMPARE(d.record.LessonStates[size_t(lesson)], LessonState::Completed);
        QCOMPARE(d.record.FurthestPage, MakePageId(lesson, 6));
        QVERIFY(d.drill.nextPage().close);
    }
}

void TestWordDrill::lesson6ReadsTheWordListsOnEachPage()
{
    Drill d(6, QStringLiteral("06-06"), 1);
    QCOMPARE(d.drill.drillText(), d.settings.WordList[0]);
    QVERIFY(d.drill.drillText().contains(QChar(0x3000)));

    // The options are confirmed while the lesson is open (code 5: half-width).
    ApplyOptionCode(d.settings, 5);
    QVERIFY(d.drill.keyPress(U'搭').accepted);
    QVERIFY(!d.drill.keyPress(U' ').accepted); // the page keeps its text
    QVERIFY(d.drill.keyPress(U'載').accepted);

    d.drill.nextPage();
    QCOMPARE(d.drill.drillText(), QStringLiteral("標準 標準 拡張 拡張 好評 好評 液晶 液晶 注意 注意"));
    QCOMPARE(d.drill.screen().drillText, d.drill.drillText());
    d.drill.previousPage();
    QCOMPARE(d.drill.drillText(), QStringLiteral("搭載 搭載 高速 高速 最大 最大 性能 性能 部分 部分"));
}

void TestWordDrill::scriptsAreConsistent()
{
    for (int lesson : {5, 6}) {
        const WordDrillScript& script = WordDrillLessonScript(lesson);
        QCOMPARE(script.lesson, lesson);
        QCOMPARE(script.windowName, QStringLiteral("F_les%1_1").arg(lesson));
        for (int page = 1; page <= WordDrillScript::PageCount; ++page) {
            const WordDrillPage& p = script.page(page);
            QCOMPARE(p.pageId, MakePageId(lesson, page));
            QVERIFY(!p.advice.isEmpty());
            QVERIFY(!p.caption.isEmpty());
            // Lesson 5 is typed with the input method off: plain romaji only.
            for (const QChar c : p.drillText)
                QVERIFY2((c >= u'a' && c <= u'z') || c == u'-' || c == u' ', qPrintable(p.drillText));
            QCOMPARE(p.drillText.isEmpty(), script.typesWordLists);
        }
    }
}

QTEST_GUILESS_MAIN(TestWordDrill)
#include "tst_worddrill.moc"
