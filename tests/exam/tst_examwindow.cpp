// The mock exam window F_kentei and its mistake report F_miss, through
// their named controls: an exam from the menu's "開始" to the report and
// back, the model box that never keeps the focus, the clock from the
// injected clock, the refused file, the two texts of the report, a text
// that cannot be read, work files that cannot be written, and list entries
// whose names read alike.

#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "exam/F_kentei.h"
#include "exam/F_miss.h"
#include "Unreadable.h"
#include "support/Controls.h"
#include "support/DiskFull.h"
#include "support/Harness.h"
#include "core/Cp932.h"
#include "ui/ExamEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <fcntl.h>
#include <optional>
#include <unistd.h>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::button;
using morvela::test::label;

namespace {

QPlainTextEdit* text(const QWidget& w, int n)
{
    return w.findChild<QPlainTextEdit*>(QStringLiteral("Text%1").arg(n));
}

ExamEditor* text2(const QWidget& w)
{
    return w.findChild<ExamEditor*>(QStringLiteral("Text2"));
}

void commit(QWidget* box, const QString& s)
{
    QInputMethodEvent e;
    e.setCommitString(s);
    QApplication::sendEvent(box, &e);
}

struct Buttons {
    bool c1, c2, c3;
    friend bool operator==(const Buttons&, const Buttons&) = default;
};

Buttons buttons(const QWidget& w)
{
    return {button(w, 1)->isEnabled(), button(w, 2)->isEnabled(), button(w, 3)->isEnabled()};
}

const QString Model = QStringLiteral("あいう\r\nかきく");

// "開始" with the exam text `name` of the program folder.
void openExam(Harness& h, const QString& name)
{
    const std::optional<FolderEntry> file = h.state.folder.entry(ExamFileName(name));
    QVERIFY(file);
    RunExam(h.ctx, nullptr, *file);
}

// A file whose name is these bytes on disk, as an archive from another
// system leaves it; returns its path on disk.
QByteArray writeByNativeName(const Harness& h, const QByteArray& name, const QByteArray& bytes)
{
    const QByteArray path = QFile::encodeName(h.folder.path()) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
        if (::write(fd, bytes.constData(), size_t(bytes.size())) != ssize_t(bytes.size()))
            qWarning("short write");
        ::close(fd);
    }
    return path;
}

} // namespace

namespace QTest {
template <>
inline char* toString(const Buttons& b)
{
    return qstrdup(QByteArray("{%1 %2 %3}").replace("%1", b.c1 ? "on" : "off").replace("%2", b.c2 ? "on" : "off")
                       .replace("%3", b.c3 ? "on" : "off"));
}
} // namespace QTest

class TestExamWindow : public QObject {
    Q_OBJECT
private slots:
    void examFromTheMenu();
    void modelBoxNeverKeepsTheFocus();
    void typingBoxTakesNoForeignText();
    void firstKeyPress_data();
    void firstKeyPress();
    void refusedFile_data();
    void refusedFile();
    void reportWithoutMistakes();
    void closingStopsTheClock();
    void realTimerTicksShowTheClocksTime();
    void unreadableTextOpensNoExam_data();
    void unreadableTextOpensNoExam();
    void unwritableWorkFileIsSaid_data();
    void unwritableWorkFileIsSaid();
    void namesThatReadAlikeOpenTheirOwnFiles_data();
    void namesThatReadAlikeOpenTheirOwnFiles();
};

void TestExamWindow::examFromTheMenu()
{
    Harness h;
    h.folder.write(QStringLiteral("Mokushi.KEN"), EncodeCp932(Model + QStringLiteral("\r\n")));
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    QCOMPARE(menu.examList()->currentText(), QStringLiteral("Mokushi"));

    QPoint examPos;
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_kentei"));
        QCOMPARE(d.windowTitle(), QStringLiteral("ワープロ検定（入力科目）模擬試験"));
        QCOMPARE(text(d, 1)->toPlainText(), QStringLiteral("あいう\nかきく"));
        QVERIFY(text2(d)->toPlainText().isEmpty());
        QCOMPARE(label(d, 1)->text(),
                 QStringLiteral("上の文章を入力してください。入力開始と同時に時間を計りはじめます。入力が完了し、間違いが無いことを確認したら、下部の[入力完了]ボタンをクリックしてください。"));
        QCOMPARE(label(d, 2)->text(), QStringLiteral("時間：00分00秒(合格=10分以内)"));
        QCOMPARE(label(d, 3)->text(), QStringLiteral("間違い：－(合格=4以内)"));
        QCOMPARE(button(d, 1)->text(), QStringLiteral("入力完了"));
        QCOMPARE(button(d, 2)->text(), QStringLiteral("間違箇所"));
        QCOMPARE(button(d, 3)->text(), QStringLiteral("目次へ"));
        QCOMPARE(buttons(d), (Buttons{true, false, true}));
        auto& exam = static_cast<F_kentei&>(d);
        QVERIFY(!exam.Timer1().isActive());
        QCOMPARE(exam.Timer1().interval(), 1000);

        // The first key starts the clock.
        QTest::keyClicks(text2(d), QStringLiteral("a"));
        QTest::keyClick(text2(d), Qt::Key_Backspace);
        QVERIFY(exam.Timer1().isActive());
        QCOMPARE(buttons(d), (Buttons{true, false, false}));
        QCOMPARE(label(d, 3)->text(), QStringLiteral("間違い：入力中(合格=4以内)"));
        QCOMPARE(label(d, 2)->text(), QStringLiteral("時間：00分00秒(合格=10分以内)"));

        // The time comes from the clock at each tick, never from counted ticks.
        h.clock.advance(65);
        exam.Timer1_Timer();
        QCOMPARE(label(d, 2)->text(), QStringLiteral("時間：01分05秒(合格=10分以内)"));

        // Typed through the input method, with the editor's own line break.
        commit(text2(d), QStringLiteral("あえう"));
        QTest::keyClick(text2(d), Qt::Key_Return);
        commit(text2(d), QStringLiteral("かき"));
        h.clock.advance(3600);
        exam.Timer1_Timer();
        QCOMPARE(label(d, 2)->text(), QStringLiteral("時間：61分05秒(合格=10分以内)"));

        QTest::mouseClick(button(d, 1), Qt::LeftButton);
        QVERIFY(!exam.Timer1().isActive());
        QCOMPARE(label(d, 3)->text(), QStringLiteral("間違い：2(合格=4以内)"));
        QCOMPARE(label(d, 2)->text(), QStringLiteral("時間：61分05秒(合格=10分以内)"));
        QCOMPARE(buttons(d), (Buttons{true, true, true}));
        QCOMPARE(h.state.MistakeCount, 2);
        QCOMPARE(h.folder.read(QStringLiteral("kentei.wk1")), EncodeCp932(Model + QStringLiteral("\r\n")));
        QCOMPARE(h.folder.read(QStringLiteral("kentei.wk2")), EncodeCp932(QStringLiteral("あえう\r\nかき\r\n")));

        examPos = d.pos();
        QTest::mouseClick(button(d, 2), Qt::LeftButton);

        // A new attempt: the next key press starts the clock again.
        QTest::keyClick(text2(d), Qt::Key_Return);
        QVERIFY(exam.Timer1().isActive());
        QCOMPARE(buttons(d), (Buttons{true, false, false}));
        QCOMPARE(h.state.MistakeCount, 0);
        QCOMPARE(h.state.MistakeReport, QString());
        QTest::mouseClick(button(d, 1), Qt::LeftButton);
        QTest::mouseClick(button(d, 3), Qt::LeftButton);
        QVERIFY(!d.isVisible());
    });
    h.runner.then([&](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("F_miss"));
        QCOMPARE(d.windowTitle(), QStringLiteral("間違い箇所"));
        QCOMPARE(d.pos(), examPos);
        QCOMPARE(text(d, 1)->toPlainText(), QStringLiteral("1行2文字目の『い』が違います。\n2行目の文字数が違います。\n"));
        QCOMPARE(button(d, 1)->text(), QStringLiteral("閉じる"));
        QTest::mouseClick(button(d, 1), Qt::LeftButton);
        QVERIFY(!d.isVisible());
    });
    QTest::mouseClick(button(menu, 12), Qt::LeftButton);
    QVERIFY(h.runner.scriptDone());
    QCOMPARE(h.runner.opened, (QStringList{QStringLiteral("F_kentei"), QStringLiteral("F_miss")}));
    QVERIFY(h.messages.shown.isEmpty());
}

void TestExamWindow::modelBoxNeverKeepsTheFocus()
{
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), EncodeCp932(Model + QStringLiteral("\r\n")));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    h.runner.then([&](QDialog& d) {
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QPlainTextEdit* model = text(d, 1);
        QCOMPARE(QApplication::focusWidget(), text2(d));
        button(d, 1)->setFocus();
        model->setFocus(); // however it gets the focus, the focus moves on
        QCOMPARE(QApplication::focusWidget(), text2(d));
        button(d, 1)->setFocus();
        QTest::mouseClick(model->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(QApplication::focusWidget(), text2(d));

        // Neither selected nor copied: by mouse, by keys, by its own slots.
        QTest::mousePress(model->viewport(), Qt::LeftButton, {}, QPoint(2, 5));
        QTest::mouseMove(model->viewport(), QPoint(200, 40));
        QTest::mouseRelease(model->viewport(), Qt::LeftButton, {}, QPoint(200, 40));
        QTest::mouseDClick(model->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QTest::keyClick(model, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(model, Qt::Key_End, Qt::ShiftModifier);
        QVERIFY(!model->textCursor().hasSelection());
        QTest::keyClick(model, Qt::Key_C, Qt::ControlModifier);
        model->copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(model->textInteractionFlags(), Qt::NoTextInteraction);
        QCOMPARE(model->contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(!model->acceptDrops());
        QVERIFY(model->isReadOnly());
        QCOMPARE(model->toPlainText(), QStringLiteral("あいう\nかきく"));
        // Clicking the model starts nothing.
        QVERIFY(!static_cast<F_kentei&>(d).Timer1().isActive());
    });
    openExam(h, QStringLiteral("A"));
    QVERIFY(h.runner.scriptDone());
}

void TestExamWindow::typingBoxTakesNoForeignText()
{
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), EncodeCp932(Model + QStringLiteral("\r\n")));
    QApplication::clipboard()->setText(QStringLiteral("あいう"));
    h.runner.then([&](QDialog& d) {
        ExamEditor* box = text2(d);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        box->paste();
        QVERIFY(box->toPlainText().isEmpty());
        QVERIFY(!box->acceptDrops());
        // A paste is no key press of the exam: the clock has not started.
        QVERIFY(!static_cast<F_kentei&>(d).Timer1().isActive());
        // Everything else edits the box as usual.
        QTest::keyClicks(box, QStringLiteral("abc"));
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->toPlainText(), QStringLiteral("\nab"));
        // Escape does not end the exam.
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        // Tab goes on to "入力完了" and types nothing.
        QVERIFY(QTest::qWaitForWindowActive(&d));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button(d, 1));
        QCOMPARE(box->toPlainText(), QStringLiteral("\nab"));
    });
    openExam(h, QStringLiteral("a"));
}

void TestExamWindow::firstKeyPress_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("a letter") << "letter";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Backspace") << "backspace";
    QTest::newRow("a composition that starts") << "preedit";
    QTest::newRow("a commit") << "commit";
}

void TestExamWindow::firstKeyPress()
{
    QFETCH(QString, how);
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), EncodeCp932(Model + QStringLiteral("\r\n")));
    h.runner.then([&](QDialog& d) {
        auto& exam = static_cast<F_kentei&>(d);
        ExamEditor* box = text2(d);
        QTest::keyClick(box, Qt::Key_Right); // no character: not a key press
        QVERIFY(!exam.Timer1().isActive());
        h.clock.setSeconds(500);
        if (how == QLatin1String("letter"))
            QTest::keyClick(box, Qt::Key_K);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (how == QLatin1String("backspace"))
            QTest::keyClick(box, Qt::Key_Backspace);
        else if (how == QLatin1String("preedit")) {
            QInputMethodEvent e(QStringLiteral("か"), {});
            QApplication::sendEvent(box, &e);
        } else
            commit(box, QStringLiteral("蚊"));
        QVERIFY(exam.Timer1().isActive());
        QCOMPARE(label(d, 3)->text(), QStringLiteral("間違い：入力中(合格=4以内)"));
        h.clock.setSeconds(507);
        exam.Timer1_Timer();
        QCOMPARE(label(d, 2)->text(), QStringLiteral("時間：00分07秒(合格=10分以内)"));
    });
    openExam(h, QStringLiteral("a"));
}

void TestExamWindow::refusedFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("refused");
    QTest::newRow("32,000 bytes are shown") << 32000 << false;
    QTest::newRow("32,001 bytes are refused") << 32001 << true;
}

void TestExamWindow::refusedFile()
{
    QFETCH(int, size);
    QFETCH(bool, refused);
    Harness h;
    h.folder.write(QStringLiteral("big.ken"), QByteArray(size - 2, 'x') + "\r\n");
    h.runner.then([&](QDialog& d) {
        QCOMPARE(text(d, 1)->toPlainText().size(), refused ? 0 : size - 2);
        QVERIFY(d.isVisible()); // the screen opens all the same
        QTest::mouseClick(button(d, 1), Qt::LeftButton);
        QCOMPARE(label(d, 3)->text(), refused ? QStringLiteral("間違い：0(合格=4以内)") : QStringLiteral("間違い：1(合格=4以内)"));
    });
    openExam(h, QStringLiteral("big"));
    if (refused) {
        QCOMPARE(h.messages.shown.size(), 1);
        QCOMPARE(h.messages.shown[0].text, QStringLiteral("データが３２ｋＢを超えているので表示できません"));
        QCOMPARE(h.messages.shown[0].icon, MessageIcon::Error);
        QCOMPARE(h.state.MessageText, QStringLiteral("データが３２ｋＢを超えているので表示できません"));
    } else {
        QVERIFY(h.messages.shown.isEmpty());
    }
}

void TestExamWindow::reportWithoutMistakes()
{
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), EncodeCp932(Model + QStringLiteral("\r\n")));
    h.runner.then([&](QDialog& d) {
        commit(text2(d), QStringLiteral("あいう"));
        QTest::keyClick(text2(d), Qt::Key_Return);
        commit(text2(d), QStringLiteral("かきく"));
        QTest::keyClick(text2(d), Qt::Key_Return); // a trailing line break is ignored
        QTest::mouseClick(button(d, 1), Qt::LeftButton);
        QCOMPARE(label(d, 3)->text(), QStringLiteral("間違い：0(合格=4以内)"));
        QTest::mouseClick(button(d, 2), Qt::LeftButton);
    });
    h.runner.then([&](QDialog& d) {
        QCOMPARE(text(d, 1)->toPlainText(), QStringLiteral("間違った箇所はありません。"));
    });
    openExam(h, QStringLiteral("a"));
    QCOMPARE(h.runner.opened, (QStringList{QStringLiteral("F_kentei"), QStringLiteral("F_miss")}));
}

void TestExamWindow::closingStopsTheClock()
{
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), EncodeCp932(Model + QStringLiteral("\r\n")));
    h.runner.then([&](QDialog& d) {
        auto& exam = static_cast<F_kentei&>(d);
        QTest::keyClicks(text2(d), QStringLiteral("a"));
        QVERIFY(exam.Timer1().isActive());
        QVERIFY(!button(d, 3)->isEnabled()); // no "目次へ" while typing
        d.close();                             // the window's own close button
        QVERIFY(!d.isVisible());
        QVERIFY(!exam.Timer1().isActive());
    });
    openExam(h, QStringLiteral("a"));
}

void TestExamWindow::realTimerTicksShowTheClocksTime()
{
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), EncodeCp932(Model + QStringLiteral("\r\n")));
    h.runner.then([&](QDialog& d) {
        QTest::keyClicks(text2(d), QStringLiteral("a"));
        // One real tick of Timer1, while the injected clock moved 42 s.
        h.clock.advance(42);
        QTRY_COMPARE_WITH_TIMEOUT(label(d, 2)->text(), QStringLiteral("時間：00分42秒(合格=10分以内)"), 3000);
    });
    openExam(h, QStringLiteral("a"));
}

void TestExamWindow::unreadableTextOpensNoExam_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no read permission") << "denied" << QStringLiteral("読み取りの権限がありません。");
    QTest::newRow("a folder in its place") << "folder" << NotARegularFileReason;
}

void TestExamWindow::unreadableTextOpensNoExam()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), EncodeCp932(Model + QStringLiteral("\r\n")));
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    QCOMPARE(menu.examList()->currentText(), QStringLiteral("a"));

    {
        std::optional<morvela::test::Unreadable> unreadable;
        if (how == QLatin1String("denied")) {
            unreadable.emplace(h.folder.path(), h.folder.file(QStringLiteral("a.ken")));
        } else {
            QVERIFY(QFile::remove(h.folder.file(QStringLiteral("a.ken"))));
            QVERIFY(QDir(h.folder.path()).mkdir(QStringLiteral("a.ken")));
        }
        QTest::mouseClick(button(menu, 12), Qt::LeftButton);
    }

    // No exam, no clock: the learner is told which file and why, over the
    // menu, and chooses again.
    QVERIFY(h.runner.opened.isEmpty());
    QCOMPARE(h.messages.shown.size(), 1);
    const QString text = h.messages.shown[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("試験問題のファイル「a.ken」を読み込めませんでした。\n")
                             + QDir::toNativeSeparators(h.folder.file(QStringLiteral("a.ken"))) + QStringLiteral("\n")
                             + reason),
             qPrintable(text));
    QCOMPARE(h.messages.shown[0].icon, MessageIcon::Error);
    QCOMPARE(h.state.MessageText, text);
    QVERIFY(button(menu, 12)->isEnabled());
}

void TestExamWindow::unwritableWorkFileIsSaid_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("a folder in the place of kentei.wk2") << false;
    QTest::newRow("a full disk") << true;
}

void TestExamWindow::unwritableWorkFileIsSaid()
{
    QFETCH(bool, fullDisk);
    Harness h;
    h.folder.write(QStringLiteral("a.ken"), EncodeCp932(Model + QStringLiteral("\r\n")));
    if (!fullDisk)
        QVERIFY(QDir(h.folder.path()).mkdir(QStringLiteral("kentei.wk2")));
    h.runner.then([&](QDialog& d) {
        commit(text2(d), QStringLiteral("あえう"));
        {
            std::optional<morvela::test::DiskFull> full;
            if (fullDisk)
                full.emplace(0);
            QTest::mouseClick(button(d, 1), Qt::LeftButton);
        }
        // The comparison is shown all the same, and the message says why
        // the work file is not there.
        QCOMPARE(label(d, 3)->text(), QStringLiteral("間違い：2(合格=4以内)"));
        QCOMPARE(buttons(d), (Buttons{true, true, true}));
        QCOMPARE(h.messages.shown.size(), 1);
        QVERIFY2(h.messages.shown[0].text.contains(
                     QStringLiteral("作業ファイル kentei.wk2 を書き込めませんでした。\n")
                     + QDir::toNativeSeparators(h.folder.file(QStringLiteral("kentei.wk2"))) + QStringLiteral("\n")),
                 qPrintable(h.messages.shown[0].text));
        QTest::mouseClick(button(d, 2), Qt::LeftButton);
    });
    h.runner.then([&](QDialog& d) {
        QCOMPARE(text(d, 1)->toPlainText(), QStringLiteral("1行2文字目の『い』が違います。\n2行目の文字数が違います。\n"));
    });
    openExam(h, QStringLiteral("a"));
    QVERIFY(h.runner.scriptDone());
}

void TestExamWindow::namesThatReadAlikeOpenTheirOwnFiles_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::newRow("a CP932 and a UTF-8 name of the same characters")
        << EncodeCp932(QStringLiteral("試験.ken")) << QStringLiteral("試験.ken").toUtf8();
    QTest::newRow("two names of neither code") << QByteArray("\xFF.ken") << QByteArray("\xFE.ken");
}

void TestExamWindow::namesThatReadAlikeOpenTheirOwnFiles()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    Harness h;
    const QByteArrayList paths{writeByNativeName(h, first, EncodeCp932(QStringLiteral("一つ目\r\n"))),
                               writeByNativeName(h, second, EncodeCp932(QStringLiteral("二つ目\r\n")))};
    const auto cleanUp = qScopeGuard([&] {
        for (const QByteArray& path : paths)
            ::unlink(path.constData()); // names the temporary folder may not list to clean up
    });
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    QComboBox* list = menu.examList();
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), list->itemText(1)); // the learner sees the same name twice

    QStringList models;
    for (int i = 0; i < list->count(); ++i) {
        list->setCurrentIndex(i);
        h.runner.then([&](QDialog& d) { models << text(d, 1)->toPlainText(); });
        QTest::mouseClick(button(menu, 12), Qt::LeftButton);
    }
    models.sort();
    QCOMPARE(models, (QStringList{QStringLiteral("一つ目"), QStringLiteral("二つ目")}));
    QVERIFY(h.messages.shown.isEmpty());
}

QTEST_MAIN(TestExamWindow)
#include "tst_examwindow.moc"
