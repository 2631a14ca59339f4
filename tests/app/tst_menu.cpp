// The main menu: start-up, the status boxes, the gates, the exam list and
// the exit, through its named controls.

#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "core/ProgressFile.h"
#include "support/Controls.h"
#include "support/DiskFull.h"
#include "support/Harness.h"
#include "core/Cp932.h"
#include "ui/SingleInstance.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::button;

namespace {

QString statusText(const F_mokuji& menu, int row)
{
    return menu.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(row + 1))->text();
}


} // namespace

class TestMenu : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesTheFiles();
    void missingDataFileEndsTheProgram_data();
    void missingDataFileEndsTheProgram();
    void brokenKeyboardPictureEndsTheProgram_data();
    void brokenKeyboardPictureEndsTheProgram();
    void damagedFilesAreRepairedAndStartUpRunsToTheEnd();
    void gates_data();
    void gates();
    void openGateHidesTheMenuWhileTheLessonRuns();
    void examStartWithoutItsFile_data();
    void examStartWithoutItsFile();
    void examListIgnoresTypedKeys();
    void exitSavesTheRecord();
    void exitReportsAFailedSave();
    void secondRunIsRefused();
    void onlyALiveCopyRefusesAStart_data();
    void onlyALiveCopyRefusesAStart();
    void damagedFileIsNeverOverwrittenBeforeItsBackup();
    void longHighScoreIsShownWhole();
    void hintButtonsSayWhichPageTheyOpen();
    void recordButtonTakesOnlySpareRoom();
    void recordOpensOverTheVisibleMenu();
};

void TestMenu::firstStartCreatesTheFiles()
{
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), "x\r\n");
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    QVERIFY(h.messages.shown.isEmpty());
    QCOMPARE(menu.windowTitle(), QStringLiteral("Morvela Ver.4.0"));
    for (int row = 0; row < 10; ++row)
        QCOMPARE(statusText(menu, row), QStringLiteral("未"));
    QCOMPARE(menu.findChild<QLabel*>(QStringLiteral("Label12"))->text(), QStringLiteral("0"));
    QCOMPARE(menu.examList()->currentText(), QStringLiteral("a"));
    QCOMPARE(h.folder.read(QStringLiteral("morvela.ini")), SerializeProgress(ProgressRecord()));
    QCOMPARE(h.folder.read(QStringLiteral("game.ini")), QByteArray(" 0 \r\n\r\n\r\n\r\n\r\n\r\n"));
    QCOMPARE(h.state.settings.RhythmInterval[0], 1300);
    QVERIFY(h.state.settings.WordList[0].contains(QChar(0x3000)));
    QCOMPARE(button(menu, 10)->text(), QStringLiteral("卒業試験"));
    QCOMPARE(button(menu, 25)->text(), QStringLiteral("？"));
}

void TestMenu::missingDataFileEndsTheProgram_data()
{
    QTest::addColumn<bool>("keyboard");
    QTest::addColumn<bool>("gameData");
    QTest::addColumn<QString>("message");
    QTest::newRow("both missing: the picture is named first") << false << false << "Keyboard.bmpファイルがありません";
    QTest::newRow("the picture missing") << false << true << "Keyboard.bmpファイルがありません";
    QTest::newRow("the word list missing") << true << false << "game.datファイルがありません";
}

void TestMenu::missingDataFileEndsTheProgram()
{
    QFETCH(bool, keyboard);
    QFETCH(bool, gameData);
    QFETCH(QString, message);
    Harness h(false);
    if (keyboard)
        h.folder.write(QStringLiteral("keyboard.bmp"), test::TestFolder::tinyBmp());
    if (gameData)
        h.folder.write(QStringLiteral("GAME.DAT"), "");
    F_mokuji menu(h.ctx);
    QVERIFY(!menu.Form_Load());
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].text, message);
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::None);
    QCOMPARE(h.state.MessageText, message);
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini")));
}

void TestMenu::brokenKeyboardPictureEndsTheProgram_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QString>("reason");
    const QByteArray whole = test::TestFolder::tinyBmp();
    QTest::newRow("an empty file") << QByteArray() << QStringLiteral("ファイルが空です。");
    // The reader would show the missing rows as a black block.
    QTest::newRow("cut short") << whole.left(whole.size() - 4) << QStringLiteral("ファイルが途中で切れています");
    QTest::newRow("no picture at all") << QByteArray("Keyboard picture goes here\r\n")
                                       << QStringLiteral("画像のファイルではないか、形式が分かりません。");
}

void TestMenu::brokenKeyboardPictureEndsTheProgram()
{
    QFETCH(QByteArray, picture);
    QFETCH(QString, reason);
    Harness h;
    h.folder.write(QStringLiteral("Keyboard.bmp"), picture);
    F_mokuji menu(h.ctx);
    QVERIFY(!menu.Form_Load());
    QCOMPARE(h.messages.shown.size(), 1);
    const QString text = h.messages.shown[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("Keyboard.bmpファイルを画像として表示できません。")), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini")));
}

void TestMenu::damagedFilesAreRepairedAndStartUpRunsToTheEnd()
{
    Harness h;
    h.folder.write(QStringLiteral("morvela.ini"), EncodeCp932(QStringLiteral("\r\n00分50\r\n99分99\r\n完了\r\n")));
    h.folder.write(QStringLiteral("game.ini"), QByteArray("\0\0\0", 3));
    h.folder.write(QStringLiteral("b.ken"), "x\r\n");
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    QCOMPARE(h.messages.shown.size(), 1);
    QVERIFY(h.messages.shown[0].text.contains(QStringLiteral("morvela.ini.bak")));
    QVERIFY(h.messages.shown[0].text.contains(QStringLiteral("game.ini.bak")));
    QCOMPARE(statusText(menu, 0), QStringLiteral("完了"));
    QCOMPARE(statusText(menu, 1), QStringLiteral("未"));
    QCOMPARE(h.state.progress.BestSpeedTime, QStringLiteral("00分50"));
    QCOMPARE(h.state.settings.RhythmInterval[4], 500);
    QCOMPARE(menu.examList()->currentText(), QStringLiteral("b"));
    QCOMPARE(h.folder.read(QStringLiteral("morvela.ini")), SerializeProgress(h.state.progress));
}

void TestMenu::gates_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("hint");
    QTest::addColumn<QString>("message");
    for (int row = 1; row <= 9; ++row) {
        const QString target = row == 9 ? QStringLiteral("卒業試験") : QStringLiteral("Lesson%1").arg(row);
        const QString message = QStringLiteral("Lesson%1が終わっていないと、%2には進めません。").arg(row - 1).arg(target);
        QTest::addRow("lesson button of row %d", row) << row << false << message;
        QTest::addRow("hint button of row %d", row) << row << true << message;
    }
}

void TestMenu::gates()
{
    QFETCH(int, row);
    QFETCH(bool, hint);
    QFETCH(QString, message);
    Harness h;
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    // The lesson before is only in practice, though this one is complete.
    h.state.progress.LessonStates[size_t(row - 1)] = QStringLiteral("練習中");
    if (row < 9)
        h.state.progress.LessonStates[size_t(row)] = QStringLiteral("完了");
    bool opened = false;
    menu.setCourseScreen(row, [&] { opened = true; });
    menu.setHintPage(row, [&] { opened = true; });

    button(menu, hint ? 16 + row : row + 1)->click();
    QVERIFY(!opened);
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].text, message);
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::Warning);
    QCOMPARE(h.messages.shown[0].title, QStringLiteral("Morvela Ver.4.0"));

    h.state.progress.LessonStates[size_t(row - 1)] = QStringLiteral("完了");
    button(menu, hint ? 16 + row : row + 1)->click();
    QVERIFY(opened);
    QCOMPARE(h.messages.shown.size(), 1);
}

void TestMenu::openGateHidesTheMenuWhileTheLessonRuns()
{
    Harness h;
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    menu.show();
    bool visibleDuringLesson = true;
    menu.setCourseScreen(0, [&] {
        visibleDuringLesson = menu.isVisible();
        h.state.progress.LessonStates[0] = LessonState::Practising;
        h.ctx.showRowState(0);
    });
    button(menu, 1)->click();
    QVERIFY(!visibleDuringLesson);
    QVERIFY(menu.isVisible());
    QCOMPARE(statusText(menu, 0), QStringLiteral("練習中"));
    QVERIFY(h.messages.shown.isEmpty());
}

void TestMenu::examStartWithoutItsFile_data()
{
    QTest::addColumn<bool>("haveExams");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("no exam texts at all: the notice alone") << false << "";
    QTest::newRow("the chosen file removed meanwhile") << true << "a";
}

void TestMenu::examStartWithoutItsFile()
{
    QFETCH(bool, haveExams);
    QFETCH(QString, prefix);
    Harness h;
    if (haveExams)
        h.folder.write(QStringLiteral("a.ken"), "x\r\n");
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    QFile::remove(h.folder.file(QStringLiteral("a.ken")));
    bool opened = false;
    menu.setExamScreen([&] { opened = true; });
    button(menu, 12)->click();
    QVERIFY(!opened);
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::Error);
    QVERIFY(h.messages.shown[0].text.startsWith(prefix + QStringLiteral("　")));
}

void TestMenu::examListIgnoresTypedKeys()
{
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), "x\r\n");
    h.folder.write(QStringLiteral("b.ken"), "y\r\n");
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    QComboBox* combo = menu.examList();
    QCOMPARE(combo->count(), 2);
    const QString before = combo->currentText();
    QTest::keyClicks(combo, QStringLiteral("ab"));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), before);
}

void TestMenu::exitSavesTheRecord()
{
    Harness h;
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    QSignalSpy quit(&menu, &F_mokuji::quitRequested);
    h.state.progress.BestSpeedTime = QStringLiteral("01分05");
    button(menu, 13)->click();
    QCOMPARE(quit.size(), 1);
    QCOMPARE(ParseProgress(h.folder.read(QStringLiteral("morvela.ini"))).record.BestSpeedTime,
             QStringLiteral("01分05"));
}

void TestMenu::exitReportsAFailedSave()
{
    Harness h;
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    // A folder where the file should be: no save can replace it.
    QFile::remove(h.folder.file(QStringLiteral("morvela.ini")));
    QDir(h.folder.path()).mkdir(QStringLiteral("morvela.ini"));
    h.state.progress.FurthestPage = QStringLiteral("02-01");
    QSignalSpy quit(&menu, &F_mokuji::quitRequested);
    button(menu, 13)->click();
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::Error);
    // Where no save can ever succeed, closing the window is the way out.
    QVERIFY(h.messages.shown[0].text.endsWith(QStringLiteral("保存せずに終わるには、このウィンドウを閉じてください。")));
    QCOMPARE(h.state.progress.FurthestPage, QStringLiteral("02-01"));
    // The program stays open with the record: room made, "終了" saves it.
    QCOMPARE(quit.size(), 0);
    QDir(h.folder.path()).rmdir(QStringLiteral("morvela.ini"));
    button(menu, 13)->click();
    QCOMPARE(quit.size(), 1);
    QCOMPARE(ParseProgress(h.folder.read(QStringLiteral("morvela.ini"))).record.FurthestPage, QStringLiteral("02-01"));
}

void TestMenu::secondRunIsRefused()
{
    test::TestFolder folder;
    SingleInstance first(folder.path());
    QVERIFY(first.acquired());
    SingleInstance second(folder.path());
    QVERIFY(!second.acquired());
}

void TestMenu::onlyALiveCopyRefusesAStart_data()
{
    QTest::addColumn<QString>("lock"); // what lies in the lock file's place
    QTest::addColumn<bool>("starts");
    QTest::newRow("an empty lock file") << "empty" << true;
    QTest::newRow("a garbled lock file") << "junk" << true;
    QTest::newRow("a folder named like the lock") << "folder" << true;
    QTest::newRow("the lock of a running copy") << "live" << false;
}

void TestMenu::onlyALiveCopyRefusesAStart()
{
    QFETCH(QString, lock);
    QFETCH(bool, starts);
    test::TestFolder folder;
    std::unique_ptr<SingleInstance> running;
    if (lock == QLatin1String("empty"))
        folder.write(QStringLiteral("morvela.lock"), "");
    else if (lock == QLatin1String("junk"))
        folder.write(QStringLiteral("morvela.lock"), "\x01\x02 not a lock");
    else if (lock == QLatin1String("folder"))
        QDir(folder.path()).mkdir(QStringLiteral("morvela.lock"));
    else {
        running = std::make_unique<SingleInstance>(folder.path());
        QVERIFY(running->acquired()); // a running copy holds its lock
    }
    QElapsedTimer took;
    took.start();
    SingleInstance start(folder.path());
    QCOMPARE(start.acquired(), starts);
    QVERIFY(took.elapsed() < 5000); // no waiting for a lock to go stale
}

void TestMenu::damagedFileIsNeverOverwrittenBeforeItsBackup()
{
    Harness h;
    const QByteArray damaged = QByteArray("\x81\xff\x00", 3) + QByteArray(3000, 'x');
    h.folder.write(QStringLiteral("morvela.ini"), damaged);
    F_mokuji menu(h.ctx);
    {
        // Room for a new progress file, not for the backup of the old one.
        test::DiskFull full(1024);
        QVERIFY(menu.Form_Load());
        QCOMPARE(h.folder.read(QStringLiteral("morvela.ini")), damaged);
        h.state.progress.FurthestPage = QStringLiteral("01-02");
        const qsizetype before = h.messages.shown.size();
        QVERIFY(!h.ctx.saveProgress(&menu)); // a page pass, "終了": each tries the backup first
        QCOMPARE(h.messages.shown.size(), before + 1);
        QCOMPARE(h.messages.shown.last().icon, MessageIcon::Error);
        QCOMPARE(h.folder.read(QStringLiteral("morvela.ini")), damaged);
    }
    // With room again, the backup comes first, then the save.
    QVERIFY(h.ctx.saveProgress(&menu));
    QCOMPARE(h.folder.read(QStringLiteral("morvela.ini.bak")), damaged);
    QCOMPARE(ParseProgress(h.folder.read(QStringLiteral("morvela.ini"))).record.FurthestPage, QStringLiteral("01-02"));
    QVERIFY(h.ctx.saveProgress(&menu));
    QVERIFY(!h.folder.exists(QStringLiteral("morvela.ini.1.bak"))); // one backup is enough
}

void TestMenu::longHighScoreIsShownWhole()
{
    Harness h;
    h.folder.write(QStringLiteral("game.ini"), " 123456789012345 \r\n\r\n\r\n\r\n\r\n\r\n");
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    menu.show();
    auto* label12 = menu.findChild<QLabel*>(QStringLiteral("Label12"));
    QCOMPARE(label12->text(), QStringLiteral("123456789012345"));
    QVERIFY(label12->width() >= label12->sizeHint().width());
    QVERIFY(label12->mapTo(&menu, QPoint(label12->width(), 0)).x() <= menu.width());
}

void TestMenu::hintButtonsSayWhichPageTheyOpen()
{
    Harness h;
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    QSet<QString> pages;
    for (int hint = 1; hint <= 10; ++hint) {
        const QPushButton* b = button(menu, 15 + hint);
        QCOMPARE(b->text(), QStringLiteral("？"));
        QVERIFY(b->accessibleDescription().startsWith(QStringLiteral("文字入力のヒント　その")));
        pages.insert(b->accessibleDescription());
    }
    QCOMPARE(pages.size(), 10);
    QCOMPARE(button(menu, 17)->accessibleDescription(), QStringLiteral("文字入力のヒント　その２"));
    QCOMPARE(button(menu, 25)->accessibleDescription(), QStringLiteral("文字入力のヒント　その１０"));
}

namespace {

// Where each named control of the menu lies, in the menu's coordinates.
QMap<QString, QRect> controlPlaces(const F_mokuji& menu, const QWidget* except)
{
    QMap<QString, QRect> places;
    for (const QWidget* w : menu.findChildren<QWidget*>()) {
        if (w == except || w->objectName().isEmpty() || !w->isVisible())
            continue;
        places.insert(w->objectName(), QRect(w->mapTo(&menu, QPoint(0, 0)), w->size()));
    }
    return places;
}

} // namespace

void TestMenu::recordButtonTakesOnlySpareRoom()
{
    Harness h;
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QPushButton* record = button(menu, 15);
    QCOMPARE(record->text(), QStringLiteral("記録"));
    const QRect recordPlace(record->mapTo(&menu, QPoint(0, 0)), record->size());
    QVERIFY(menu.rect().contains(recordPlace));
    const QMap<QString, QRect> with = controlPlaces(menu, record);
    QVERIFY(with.size() > 40);
    for (auto it = with.cbegin(); it != with.cend(); ++it)
        QVERIFY2(!it.value().intersects(recordPlace), qPrintable(it.key()));
    // Above "Option", left of "Ostrel".
    QCOMPARE(recordPlace.left(), with[QStringLiteral("Command11")].left());
    QCOMPARE(recordPlace.center().y(), with[QStringLiteral("Command26")].center().y());

    // The menu without the button: every control where it was, the window
    // as large.
    const QSize sizeWith = menu.sizeHint();
    delete record;
    menu.layout()->activate();
    QCOMPARE(controlPlaces(menu, nullptr), with);
    QCOMPARE(menu.sizeHint(), sizeWith);
}

void TestMenu::recordOpensOverTheVisibleMenu()
{
    Harness h;
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());
    menu.show();
    int opened = 0;
    menu.setRecordScreen([&] {
        ++opened;
        QVERIFY(menu.isVisible());
        QVERIFY(menu.isEnabled());
    });
    button(menu, 15)->click();
    QCOMPARE(opened, 1);
    QVERIFY(menu.isVisible());
}

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
