// The options: what the dialog shows for each OptionCode, what OK stores and
// derives, clearing the records, Cancel, and the menu around it.

#include "CourseScreens.h"
#include "app/F_Option.h"
#include "app/F_mokuji.h"
#include "core/ProgressFile.h"
#include "support/Controls.h"
#include "support/Harness.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::button;

namespace {

QRadioButton* option(const QWidget& w, int n)
{
    return w.findChild<QRadioButton*>(QStringLiteral("Option%1").arg(n));
}

QCheckBox* check(const QWidget& w, int n)
{
    return w.findChild<QCheckBox*>(QStringLiteral("Check%1").arg(n));
}

// The control Tab moves to from `w`.
QWidget* nextByTab(QWidget* w)
{
    do
        w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled());
    return w;
}

int selectedSpeed(const QWidget& w)
{
    int speed = 0;
    for (int i = 1; i <= 3; ++i)
        speed = option(w, i)->isChecked() ? i : speed;
    return speed;
}

const std::array<int, 5> kFastest{650, 500, 400, 300, 250};

} // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void opening_data();
    void opening();
    void okStoresTheChoice_data();
    void okStoresTheChoice();
    void clearingKeepsBestTimesAndTheOption();
    void cancelChangesNothing();
    void failedSaveIsShownAndTheSettingsStay();
    void fromTheMenu();
};

void TestOptions::opening_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("halfWidth");
    QTest::newRow("1 普通") << " 1 " << 1 << false;
    QTest::newRow("2 速い") << " 2 " << 2 << false;
    QTest::newRow("3 すごく速い") << " 3 " << 3 << false;
    QTest::newRow("4 普通, half-width") << " 4 " << 1 << true;
    QTest::newRow("5 速い, half-width") << " 5 " << 2 << true;
    QTest::newRow("6 すごく速い, half-width") << " 6 " << 3 << true;
    QTest::newRow("0: no speed") << " 0 " << 0 << false;
    QTest::newRow("9: no speed, half-width") << " 9 " << 0 << true;
    QTest::newRow("2.5: no speed") << "2.5" << 0 << false;
}

void TestOptions::opening()
{
    QFETCH(QString, code);
    QFETCH(int, speed);
    QFETCH(bool, halfWidth);
    Harness h;
    h.state.progress.OptionCode = code;
    F_Option dialog(h.ctx);
    dialog.Form_Load();
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Morvela Ver.4.0"));
    QCOMPARE(selectedSpeed(dialog), speed);
    QCOMPARE(check(dialog, 2)->isChecked(), halfWidth);
    QVERIFY(!check(dialog, 1)->isChecked()); // records are cleared only when ticked in this visit
    QCOMPARE(dialog.focusWidget(), button(dialog, 2));
    QCOMPARE(button(dialog, 2)->text(), QStringLiteral("Cancel"));
    // Tab order: Cancel, the speeds, clear, OK, spaces.
    const QList<QWidget*> order{button(dialog, 2), option(dialog, 1), option(dialog, 2), option(dialog, 3),
                                check(dialog, 1),  button(dialog, 1), check(dialog, 2),  button(dialog, 2)};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QCOMPARE(nextByTab(order[i]), order[i + 1]);
}

void TestOptions::okStoresTheChoice_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("speed"); // 0: leave the speed buttons as they open
    QTest::addColumn<int>("halfWidth"); // -1: leave the box as it opens
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("fastest");
    QTest::addColumn<QChar>("separator");
    QTest::newRow("5 with no change stores 5") << " 5 " << 0 << -1 << " 5 " << false << QChar(' ');
    QTest::newRow("すごく速い, box cleared: 3, full-width lists") << " 6 " << 0 << 0 << " 3 " << true << QChar(0x3000);
    QTest::newRow("普通 to すごく速い with half-width") << " 1 " << 3 << 1 << " 6 " << true << QChar(' ');
    QTest::newRow("no speed: code and intervals kept, box change not stored")
        << " 9 " << 0 << 0 << " 9 " << false << QChar(' ');
}

void TestOptions::okStoresTheChoice()
{
    QFETCH(QString, code);
    QFETCH(int, speed);
    QFETCH(int, halfWidth);
    Harness h;
    h.state.progress.OptionCode = code;
    ApplyOptionCode(h.state.settings, h.state.progress.optionCodeValue());
    const std::array<int, 5> before = h.state.settings.RhythmInterval;
    F_Option dialog(h.ctx);
    dialog.Form_Load();
    if (speed)
        option(dialog, speed)->setChecked(true);
    if (halfWidth >= 0)
        check(dialog, 2)->setChecked(halfWidth == 1);
    dialog.show();
    button(dialog, 1)->click();

    QVERIFY(!dialog.isVisible());
    QTEST(h.state.progress.OptionCode, "stored");
    QFETCH(bool, fastest);
    QCOMPARE(h.state.settings.RhythmInterval, fastest ? kFastest : before);
    QTEST(h.state.settings.WordList[0].at(2), "separator");
    QCOMPARE(ParseProgress(h.folder.read(QStringLiteral("morvela.ini"))).record, h.state.progress);
}

void TestOptions::clearingKeepsBestTimesAndTheOption()
{
    Harness h;
    ProgressRecord& r = h.state.progress;
    r.BestSpeedTime = QStringLiteral("01分05");
    r.BestGraduationTime = QStringLiteral("05分30");
    r.LessonStates.fill(LessonState::Completed);
    r.GraduationState = LessonState::Graduated;
    r.SpareState = LessonState::Practising;
    r.FurthestPage = QStringLiteral("09-01");
    r.OptionCode = QStringLiteral(" 2 ");
    F_Option dialog(h.ctx);
    dialog.Form_Load();
    dialog.show();
    check(dialog, 1)->setChecked(true);
    button(dialog, 1)->click();

    ProgressRecord expected;
    expected.Reserved = r.Reserved;
    expected.BestSpeedTime = QStringLiteral("01分05");
    expected.BestGraduationTime = QStringLiteral("05分30");
    expected.OptionCode = QStringLiteral(" 2 ");
    QCOMPARE(r, expected);
    QCOMPARE(ParseProgress(h.folder.read(QStringLiteral("morvela.ini"))).record, expected);

    // The next visit opens with the box clear again.
    F_Option again(h.ctx);
    again.Form_Load();
    QVERIFY(!check(again, 1)->isChecked());
}

void TestOptions::cancelChangesNothing()
{
    Harness h;
    h.state.progress.LessonStates[0] = LessonState::Completed;
    QVERIFY(SaveProgress(h.state.folder, h.state.progress, nullptr));
    const QByteArray file = h.folder.read(QStringLiteral("morvela.ini"));
    const AppState before = h.state;
    F_Option dialog(h.ctx);
    dialog.Form_Load();
    dialog.show();
    option(dialog, 3)->setChecked(true);
    check(dialog, 1)->setChecked(true);
    check(dialog, 2)->setChecked(true);
    button(dialog, 2)->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(h.folder.read(QStringLiteral("morvela.ini")), file);
    QCOMPARE(h.state.progress, before.progress);
    QCOMPARE(h.state.settings.RhythmInterval, before.settings.RhythmInterval);
    QCOMPARE(h.state.settings.WordList, before.settings.WordList);
}

void TestOptions::failedSaveIsShownAndTheSettingsStay()
{
    Harness h;
    QDir(h.folder.path()).mkdir(QStringLiteral("morvela.ini")); // no save can replace it
    F_Option dialog(h.ctx);
    dialog.Form_Load();
    dialog.show();
    option(dialog, 3)->setChecked(true);
    button(dialog, 1)->click();
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::Error);
    QCOMPARE(h.messages.shown[0].title, QStringLiteral("Morvela Ver.4.0"));
    QCOMPARE(h.state.progress.OptionCode, QStringLiteral(" 3 "));
    QCOMPARE(h.state.settings.RhythmInterval, kFastest);
    QVERIFY(!dialog.isVisible());
}

void TestOptions::fromTheMenu()
{
    Harness h;
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    h.state.progress.LessonStates[0] = LessonState::Completed;
    menu.refreshStatusBoxes();
    h.runner.then([](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_Option"));
        check(d, 1)->setChecked(true);
        option(d, 2)->setChecked(true);
        button(d, 1)->click();
    });
    button(menu, 11)->click();
    QVERIFY(h.runner.scriptDone());
    // The menu shows the cleared record at once; the next lesson runs faster.
    QCOMPARE(menu.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), QStringLiteral("未"));
    QCOMPARE(h.state.settings.RhythmInterval[0], 900);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
