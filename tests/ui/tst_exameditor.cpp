// The mock exam's editor: ordinary editing, no pasted or dropped text, and
// its first key press (or composition) reported once per watch.

#include "ui/ExamEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

using namespace morvela;

class TestExamEditor : public QObject {
    Q_OBJECT
private slots:
    void editsLikeAnyEditor();
    void refusesForeignText_data();
    void refusesForeignText();
    void reportsTheFirstKeyPress();
};

void TestExamEditor::editsLikeAnyEditor()
{
    ExamEditor e;
    e.show();
    QTest::keyClicks(&e, QStringLiteral("abc"));
    QTest::keyClick(&e, Qt::Key_Backspace);
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, QStringLiteral("d"));
    QTest::keyClick(&e, Qt::Key_Left);
    QTest::keyClick(&e, Qt::Key_Left);
    QTest::keyClick(&e, Qt::Key_Delete);
    QInputMethodEvent im;
    im.setCommitString(QStringLiteral("漢字"));
    QApplication::sendEvent(&e, &im);
    QCOMPARE(e.toPlainText(), QStringLiteral("ab漢字d"));
}

void TestExamEditor::refusesForeignText_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier);
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier);
    QTest::newRow("the paste key") << int(Qt::Key_Paste) << int(Qt::NoModifier);
}

void TestExamEditor::refusesForeignText()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QApplication::clipboard()->setText(QStringLiteral("copied"));
    ExamEditor e;
    e.show();
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
    QApplication::sendEvent(&e, &press);
    e.paste(); // the paste of an edit menu or a script
    QVERIFY(!e.acceptDrops());
    QCOMPARE(e.contextMenuPolicy(), Qt::NoContextMenu);
    QTest::mouseClick(e.viewport(), Qt::MiddleButton);
    QVERIFY(e.toPlainText().isEmpty());
}

void TestExamEditor::reportsTheFirstKeyPress()
{
    ExamEditor e;
    e.show();
    QSignalSpy first(&e, &ExamEditor::firstKeyPress);
    QTest::keyClick(&e, Qt::Key_Left); // no character: not a key press of the exam
    QCOMPARE(first.size(), 0);
    QTest::keyClicks(&e, QStringLiteral("ab"));
    QTest::keyClick(&e, Qt::Key_Return);
    QCOMPARE(first.size(), 1);

    // Watched again, a composition that starts counts as the first key.
    e.watchFirstKey();
    QInputMethodEvent composing(QStringLiteral("か"), {});
    QApplication::sendEvent(&e, &composing);
    QCOMPARE(first.size(), 2);
    QInputMethodEvent done;
    done.setCommitString(QStringLiteral("蚊"));
    QApplication::sendEvent(&e, &done);
    QCOMPARE(first.size(), 2);
}

QTEST_MAIN(TestExamEditor)
#include "tst_exameditor.moc"
