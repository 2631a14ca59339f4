// The word drill windows F_les5_1 and F_les6_1 through their named controls:
// what they show, Lesson 5 typed through from the menu with the keyboard
// alone, Lesson 6 by word commits with the options changed on the way, and
// the caption standing over the romaji.

#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "lessons/WordDrillWindow.h"
#include "support/Commits.h"
#include "support/Controls.h"
#include "support/Harness.h"
#include "ui/Fonts.h"

#include <QLineEdit>
#include <QTest>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::button;
using morvela::test::commit;
using morvela::test::label;
using morvela::test::typingBox;

namespace {

const QString kPass = QStringLiteral("おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。");

} // namespace

class TestWordDrillWindow : public QObject {
    Q_OBJECT
private slots:
    void windowsOfBothLessons_data();
    void windowsOfBothLessons();
    void lesson5FromTheMenuWithTheKeyboardAlone();
    void lesson6ByWordCommits();
    void captionStandsOverItsRomaji();
};

void TestWordDrillWindow::windowsOfBothLessons_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("advice");
    QTest::newRow("Lesson 5") << 5 << "キーを打つ時には、心の中で文字を唱える様にすると効果的です。"
                              << "     発表　        チェック　    日記　        特急"
                              << "happyou happyou chekku chekku nikki nikki tokkyuu tokkyuu"
                              << "頭の中で言葉を言いながらキーを押しましょう。";
    QTest::newRow("Lesson 6")
        << 6 << "かな漢字変換の操作については、お使いのかな漢字変換プログラムのマニュアルをご覧ください。"
        << "単語と単語の間のスペースはOptionで全角/半角を選べます。"
        << "搭載　搭載　高速　高速　最大　最大　性能　性能　部分　部分"
        << "ホームポジションから指を離さずに変換しましょう。";
}

void TestWordDrillWindow::windowsOfBothLessons()
{
    QFETCH(int, lesson);
    Harness h;
    ApplyOptionCode(h.state.settings, 1);
    h.state.progress.FurthestPage = QStringLiteral("04-07");
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_les%1_1").arg(lesson));
        QCOMPARE(d.windowTitle(), QStringLiteral("Morvela Ver.4.0 ● Lesson%1 ●").arg(lesson));
        QTEST(label(d, 1)->text(), "hint");
        QTEST(label(d, 6)->text(), "caption");
        QTEST(label(d, 4)->text(), "text");
        QTEST(label(d, 5)->text(), "advice");
        const QStringList captions{"もう一度", "次ページ>>", "<<前ページ", "目次へ"};
        const int numbers[] = {1, 4, 5, 6};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(button(d, numbers[i])->text(), captions[i]);
        QVERIFY(!button(d, 4)->isEnabled());
        QVERIFY(!button(d, 5)->isEnabled());
        QVERIFY(d.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().width() > 0);
        QCOMPARE(d.focusWidget(), typingBox(d, 1));
        QCOMPARE(typingBox(d, 1)->inputMethodQuery(Qt::ImEnabled).toBool(), lesson == 6);
        button(d, 6)->click();
        QVERIFY(!d.isVisible());
    });
    h.ctx.runScreen<WordDrillWindow>(nullptr, lesson);
    QVERIFY(h.runner.scriptDone());
    // The new state stays in memory until something saves.
    QCOMPARE(h.state.progress.LessonStates[size_t(lesson)], QStringLiteral("練習中"));
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini")));
}

void TestWordDrillWindow::lesson5FromTheMenuWithTheKeyboardAlone()
{
    Harness h;
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    for (int l = 0; l <= 4; ++l)
        h.state.progress.LessonStates[size_t(l)] = LessonState::Completed;
    h.state.progress.FurthestPage = QStringLiteral("04-07");
    auto* menuText6 = menu.findChild<QLineEdit*>(QStringLiteral("Text6"));

    h.runner.then([&](QDialog& d) {
        QCOMPARE(menuText6->text(), QStringLiteral("練習中"));
        TypingBox* box = typingBox(d, 1);
        for (int page = 1; page <= 6; ++page) {
            QCOMPARE(d.focusWidget(), box);
            QVERIFY(box->text().isEmpty());
            const QString text = label(d, 4)->text();
            QTest::keyClicks(box, text.left(3));
            QTest::keyClick(box, Qt::Key_A, Qt::ShiftModifier); // a capital: refused and counted
            QTest::keyClick(box, Qt::Key_Return);              // a miss, never a button press
            QTest::keyClicks(box, text.mid(3));
            QCOMPARE(box->text(), text);
            QCOMPARE(label(d, 5)->text(), kPass);
            QCOMPARE(d.focusWidget(), button(d, 4));
            QCOMPARE(h.savedRecord().FurthestPage, MakePageId(5, page));
            QTest::keyClick(d.focusWidget(), Qt::Key_Return); // on without the mouse
        }
        QVERIFY(!d.isVisible()); // Enter on page 6 ended the lesson
    });
    menu.CourseButton_Click(5);

    QCOMPARE(h.runner.opened, QStringList{QStringLiteral("F_les5_1")});
    QVERIFY(h.runner.scriptDone());
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].text, QStringLiteral("お疲れ様でした。Lesson5終了です。"));
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::Information);
    QCOMPARE(menuText6->text(), QStringLiteral("完了"));
    QCOMPARE(h.savedRecord(), h.state.progress);
    QCOMPARE(h.savedRecord().LessonStates[5], QStringLiteral("完了"));
}

void TestWordDrillWindow::lesson6ByWordCommits()
{
    Harness h;
    ApplyOptionCode(h.state.settings, 1);
    h.state.progress.FurthestPage = QStringLiteral("05-06");
    WordDrillWindow w(h.ctx, 6);
    w.Form_Load();
    w.show();
    TypingBox* box = typingBox(w, 1);

    // 搭載 converted wrong: two misses, nothing of it in the box.
    commit(box, QStringLiteral("塔載"));
    QVERIFY(box->text().isEmpty());
    QCOMPARE(w.drill().misses(), 2);
    // A half-width space where the full-width one stands: refused.
    commit(box, QStringLiteral("搭載"));
    commit(box, QStringLiteral(" "));
    QCOMPARE(box->text(), QStringLiteral("搭載"));
    for (const QString& word : test::Words(label(w, 4)->text().mid(2)))
        commit(box, word);
    QCOMPARE(box->text(), label(w, 4)->text());
    QCOMPARE(label(w, 5)->text(), kPass);
    QCOMPARE(h.savedRecord().FurthestPage, QStringLiteral("06-01"));

    // The options are changed meanwhile: the next page has half-width spaces.
    ApplyOptionCode(h.state.settings, 4);
    QTest::keyClick(w.focusWidget(), Qt::Key_Return);
    QCOMPARE(label(w, 4)->text(), QStringLiteral("標準 標準 拡張 拡張 好評 好評 液晶 液晶 注意 注意"));
    QCOMPARE(label(w, 5)->text(), QStringLiteral("変換の時に、手もとを見ないように注意して下さい。"));
    QVERIFY(box->text().isEmpty());
    QCOMPARE(w.focusWidget(), box);
    for (const QString& word : test::Words(label(w, 4)->text()))
        commit(box, word);
    QCOMPARE(box->text(), label(w, 4)->text());
    QCOMPARE(h.savedRecord().FurthestPage, QStringLiteral("06-02"));

    // Typing on after the judgement appends to the box: a new attempt.
    commit(box, QStringLiteral("標準"));
    QCOMPARE(box->text(), label(w, 4)->text() + QStringLiteral("標準"));
    QCOMPARE(w.drill().cursor(), 3);
    button(w, 1)->click(); // もう一度
    QVERIFY(box->text().isEmpty());
    QCOMPARE(w.drill().cursor(), 1);
    button(w, 5)->click();
    QCOMPARE(label(w, 4)->text(), QStringLiteral("搭載 搭載 高速 高速 最大 最大 性能 性能 部分 部分"));
    QCOMPARE(label(w, 5)->text(), QStringLiteral("ホームポジションから指を離さずに変換しましょう。"));
}

void TestWordDrillWindow::captionStandsOverItsRomaji()
{
    Harness h;
    h.state.progress.FurthestPage = QStringLiteral("05-06");
    WordDrillWindow w(h.ctx, 5);
    w.Form_Load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QLabel* caption = label(w, 6);
    QLabel* text = label(w, 4);
    TypingBox* box = typingBox(w, 1);
    QVERIFY(FullWidthIsTwoHalfWidths(caption->font()));
    QCOMPARE(caption->font(), text->font());
    QCOMPARE(box->font(), text->font());
    // One left edge for the caption's words and their romaji.
    const auto textLeft = [&](QWidget* wdg) { return wdg->mapTo(&w, wdg->contentsRect().topLeft()).x(); };
    QCOMPARE(textLeft(caption), textLeft(text));
    // Nothing clipped: the caption and the longest romaji fit their labels.
    const QFontMetrics fm(text->font());
    for (int page = 1; page <= 6; ++page) {
        QVERIFY(fm.horizontalAdvance(label(w, 6)->text()) <= caption->contentsRect().width());
        QVERIFY(fm.horizontalAdvance(label(w, 4)->text()) <= text->contentsRect().width());
        if (page < 6)
            button(w, 4)->click();
    }
}

QTEST_MAIN(TestWordDrillWindow)
#include "tst_worddrillwindow.moc"
