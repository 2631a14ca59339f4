// The game window through its named controls: where each control stands, a
// whole stage typed by input-method commits, and the game opened from the
// menu, with the high score stored when it closes.

#include "CourseScreens.h"
#include "GameDoubles.h"
#include "app/F_mokuji.h"
#include "game/F_game.h"
#include "support/Commits.h"
#include "support/Controls.h"
#include "support/Harness.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::ScriptedRandom;
using morvela::test::TenWords;
using morvela::test::button;

namespace {

template <class T>
T* control(const QWidget& w, const QString& name)
{
    return w.findChild<T*>(name);
}

QTimer* timer(const QWidget& w, int n)
{
    return control<QTimer>(w, QStringLiteral("Timer%1").arg(n));
}

QList<QLabel*> invaders(const QWidget& w)
{
    return w.findChildren<QLabel*>(QStringLiteral("invader"));
}

bool yellow(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText) == QColor(255, 255, 0);
}

// What the input method sends: the reading as it is composed, then the
// converted word as one commit.
void commitByInputMethod(QWidget* box, const QString& reading, const QString& word)
{
    QInputMethodEvent composing(reading, {});
    QCoreApplication::sendEvent(box, &composing);
    test::commit(box, word);
    test::commit(box, QString()); // the empty event after every commit
}

// Commits the target's word and lets the beam land; the points it scored.
qint64 shootTarget(F_game& w)
{
    const qint64 before = w.engine().stageScore();
    const int k = w.engine().currentTarget();
    commitByInputMethod(control<TypingBox>(w, QStringLiteral("Text1")), w.engine().targetHint(k),
                        invaders(w)[k]->text());
    w.Timer2_Timer();
    return w.engine().stageScore() - before;
}

} // namespace

class TestGameWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void inputBoxAndGameOverFit();
    void wholeStageByInputMethodCommits();
    void gameFromTheMenuStoresTheHighScoreWhenItCloses_data();
    void gameFromTheMenuStoresTheHighScoreWhenItCloses();
    void emptyWordListOpensNoGame();
};

void TestGameWindow::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("design"); // twips; width 0 = sized to its caption
    QTest::addColumn<QString>("caption");
    QTest::newRow("the bar") << "Picture1" << QRect(0, 6060, 7995, 495) << "";
    QTest::newRow("Start") << "Command1" << QRect(60, 6120, 855, 375) << "Start";
    QTest::newRow("End") << "Command2" << QRect(7080, 6120, 855, 375) << "End";
    QTest::newRow("the explosion") << "Picture3" << QRect(0, 0, 1275, 675) << "";
    QTest::newRow("STAGE CLEAR") << "Stage_clear" << QRect(2280, 1320, 0, 0) << "STAGE CLEAR";
    QTest::newRow("stage score") << "STAGE_SCORE" << QRect(2520, 2520, 0, 0) << "";
    QTest::newRow("total") << "Total_score" << QRect(2520, 3000, 0, 0) << "";
    QTest::newRow("high score") << "HI_SCORE" << QRect(2520, 3480, 0, 0) << "";
}

void TestGameWindow::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, design);
    QFETCH(QString, caption);
    Harness h;
    GameRun run(std::make_unique<ScriptedRandom>());
    F_game w(h.ctx, run, TenWords());
    w.Form_Load();
    QCOMPARE(w.size(), QSize(w.px(7965), w.px(6570)));
    auto* c = control<QWidget>(w, name);
    QVERIFY(c);
    const QRect px(w.px(design.left()), w.px(design.top()), w.px(design.width()), w.px(design.height()));
    if (name != QLatin1String("Picture3"))
        QCOMPARE(c->pos(), px.topLeft());
    if (design.width() > 0)
        QCOMPARE(c->size(), px.size());
    if (auto* button = qobject_cast<QPushButton*>(c))
        QCOMPARE(button->text(), caption);
    if (auto* label = qobject_cast<QLabel*>(c); label && !caption.isEmpty())
        QCOMPARE(label->text(), caption);

}

void TestGameWindow::inputBoxAndGameOverFit()
{
    Harness h;
    GameRun run(std::make_unique<ScriptedRandom>());
    F_game w(h.ctx, run, TenWords());
    w.Form_Load();
    auto* text1 = control<TypingBox>(w, QStringLiteral("Text1"));
    QCOMPARE(text1->parentWidget()->objectName(), QStringLiteral("Picture1"));
    QCOMPARE(text1->geometry(), QRect(w.px(1020), 0, w.px(5955), w.px(495)));
    QVERIFY(text1->inputMethodWanted());

    // GAME OVER fills at least its designed box and shows its whole caption
    // inside the field.
    auto* gameOver = control<QLabel>(w, QStringLiteral("game_over"));
    QCOMPARE(gameOver->text(), QStringLiteral("GAME OVER"));
    QVERIFY(gameOver->geometry().contains(QRect(w.px(1200), w.px(1020), w.px(5775), w.px(1200))));
    QVERIFY(gameOver->width() >= gameOver->sizeHint().width() && gameOver->height() >= gameOver->sizeHint().height());
    QVERIFY(w.rect().contains(gameOver->geometry()));
}

void TestGameWindow::wholeStageByInputMethodCommits()
{
    Harness h;
    GameRun run(std::make_unique<ScriptedRandom>(ScriptedRandom::wordsInOrder(int(TenWords().size()))));
    F_game w(h.ctx, run, TenWords());
    w.Form_Load();
    w.show();
    QApplication::setActiveWindow(&w);
    auto* text1 = control<TypingBox>(w, QStringLiteral("Text1"));
    auto* beam = control<QLabel>(w, QStringLiteral("Picture2"));
    auto* explosion = control<QLabel>(w, QStringLiteral("Picture3"));
    auto* points = control<QLabel>(w, QStringLiteral("score"));
    QTRY_VERIFY(text1->hasFocus());
    QCOMPARE(timer(w, 1)->interval(), 1500);
    QVERIFY(timer(w, 1)->isActive());
    QCOMPARE(invaders(w).size(), 10);

    qint64 stage = 0;
    for (int k = 0; k < 10; ++k) {
        QCOMPARE(w.windowTitle(), StageTitle(1, TenWords()[k].Hint));
        QLabel* target = invaders(w)[k];
        QCOMPARE(target->text(), TenWords()[k].Word);
        QVERIFY(target->isVisible());
        QVERIFY(yellow(target));
        QVERIFY(k == 9 || !yellow(invaders(w)[k + 1]));
        QCOMPARE(text1->accessibleName(), TenWords()[k].Word); // what a screen reader says is typed here

        // A wrong conversion is refused whole; the right one goes in and fires.
        commitByInputMethod(text1, QStringLiteral("x"), QStringLiteral("x"));
        QCOMPARE(text1->text(), QString());
        commitByInputMethod(text1, TenWords()[k].Hint, TenWords()[k].Word);
        QCOMPARE(text1->text(), TenWords()[k].Word);
        QVERIFY(beam->isVisible());
        QCOMPARE(beam->geometry().bottom() + 1, w.px(6060)); // from the bar up
        QVERIFY(beam->y() <= target->geometry().bottom() + 1);
        QVERIFY(timer(w, 2)->isActive());
        if (k == 4)
            w.Timer1_Timer(); // the column marches on under the beam

        w.Timer2_Timer();
        const qint64 scored = w.engine().stageScore() - stage;
        stage += scored;
        QVERIFY(scored > 0);
        QCOMPARE(text1->text(), QString());
        QVERIFY(!target->isVisible());
        QVERIFY(!beam->isVisible());
        QVERIFY(explosion->isVisible());
        QVERIFY(qAbs(explosion->geometry().center().x() - target->geometry().center().x()) <= 1);
        QVERIFY(points->isVisible());
        QCOMPARE(points->text(), QString::number(scored));
        QVERIFY(timer(w, 3)->isActive());
        w.Timer3_Timer();
        QVERIFY(!explosion->isVisible() && !points->isVisible() && !timer(w, 3)->isActive());
    }

    QVERIFY(control<QLabel>(w, QStringLiteral("Stage_clear"))->isVisible());
    QCOMPARE(control<QLabel>(w, QStringLiteral("STAGE_SCORE"))->text(), QStringLiteral("STAGE SCORE:%1").arg(stage));
    QCOMPARE(control<QLabel>(w, QStringLiteral("Total_score"))->text(), QStringLiteral("TOTAL SCORE:%1").arg(stage));
    QCOMPARE(control<QLabel>(w, QStringLiteral("HI_SCORE"))->text(), QStringLiteral("HIGH  SCORE:%1").arg(stage));
    QCOMPARE(h.state.GameHighScore, stage);
    QVERIFY(!timer(w, 1)->isActive());
    QVERIFY(timer(w, 4)->isActive());
    QCOMPARE(timer(w, 4)->interval(), 5000);

    w.Timer4_Timer();
    QVERIFY(!control<QLabel>(w, QStringLiteral("Stage_clear"))->isVisible());
    QCOMPARE(w.windowTitle(), StageTitle(2, TenWords()[0].Hint));
    QVERIFY(timer(w, 1)->isActive());
    QCOMPARE(timer(w, 1)->interval(), 1200);
    QVERIFY(invaders(w)[0]->isVisible() && yellow(invaders(w)[0]));

    w.Command2_Click(); // "End" stops every timer
    QVERIFY(!w.isVisible());
    for (int n = 1; n <= 4; ++n)
        QVERIFY(!timer(w, n)->isActive());
}

void TestGameWindow::gameFromTheMenuStoresTheHighScoreWhenItCloses_data()
{
    QTest::addColumn<bool>("canSave");
    QTest::newRow("saved") << true;
    QTest::newRow("game.ini cannot be written") << false;
}

void TestGameWindow::gameFromTheMenuStoresTheHighScoreWhenItCloses()
{
    QFETCH(bool, canSave);
    Harness h; // its game.dat holds the word "a" with the hint "b"
    if (!canSave)
        QDir(h.folder.path()).mkdir(QStringLiteral("game.ini")); // a folder where the file should be
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    h.messages.shown.clear();
    const QByteArray fileBefore = h.folder.read(QStringLiteral("game.ini"));

    h.runner.then([&](QDialog& d) {
        auto& w = static_cast<F_game&>(d);
        QVERIFY(!menu.isEnabled()); // the menu is off while the game runs
        QCOMPARE(w.windowTitle(), QStringLiteral("ステージ 1　[b]"));
        for (int k = 0; k < 10; ++k)
            QCOMPARE(shootTarget(w), HitPoints(1500, 1, w.engine().screen().invaders[size_t(k)].top));
        w.Timer4_Timer();
        const qint64 cleared = h.state.GameHighScore;
        QVERIFY(cleared > 0);

        // Stage 2 runs to its game over; then "Start" begins anew.
        auto* text1 = control<TypingBox>(w, QStringLiteral("Text1"));
        auto* start = button(w, 1);
        QVERIFY(!start->isEnabled());
        while (!w.engine().gameOver())
            w.Timer1_Timer();
        QVERIFY(control<QLabel>(w, QStringLiteral("game_over"))->isVisible());
        QVERIFY(!text1->isEnabled());
        QVERIFY(start->isEnabled());
        QVERIFY(!timer(w, 1)->isActive());
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(w.windowTitle(), QStringLiteral("ステージ 1　[b]"));
        QVERIFY(text1->isEnabled());
        QVERIFY(!start->isEnabled());
        QVERIFY(!control<QLabel>(w, QStringLiteral("game_over"))->isVisible());
        QCOMPARE(timer(w, 1)->interval(), 1200);

        // Nothing is written while the window is open.
        QCOMPARE(h.folder.read(QStringLiteral("game.ini")), fileBefore);
        QTest::mouseClick(button(w, 2), Qt::LeftButton); // "End"
        QVERIFY(!w.isVisible());
    });
    QTest::mouseClick(button(menu, 14), Qt::LeftButton);
    QVERIFY(h.runner.scriptDone());
    QCOMPARE(h.runner.opened, QStringList{QStringLiteral("F_game")});
    QVERIFY(menu.isEnabled());

    const qint64 best = h.state.GameHighScore;
    QCOMPARE(menu.findChild<QLabel*>(QStringLiteral("Label12"))->text(), QString::number(best));
    if (canSave) {
        QVERIFY(h.messages.shown.isEmpty());
        QCOMPARE(h.folder.read(QStringLiteral("game.ini")),
                 QByteArray(" ") + QByteArray::number(best) + " \r\n\r\n\r\n\r\n\r\n\r\n");
    } else {
        QCOMPARE(h.messages.shown.size(), 1);
        QVERIFY(h.lastMessage().startsWith(QStringLiteral("ゲームの得点を保存できませんでした。")));
    }
}

void TestGameWindow::emptyWordListOpensNoGame()
{
    Harness h;
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    h.folder.write(QStringLiteral("game.dat"), "\r\n\r\n");
    QTest::mouseClick(button(menu, 14), Qt::LeftButton);
    QVERIFY(h.runner.opened.isEmpty());
    QCOMPARE(h.messages.shown.size(), 1);
    QVERIFY(h.lastMessage().startsWith(QStringLiteral("game.datに単語がありません。")));
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::Error);
    QVERIFY(menu.isEnabled());
}

QTEST_MAIN(TestGameWindow)
#include "tst_gamewindow.moc"
