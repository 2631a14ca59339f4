// The typing box: every character judged in order, only accepted ones
// appended, and nothing else able to change the text.

#include "core/TypingAttempt.h"
#include "ui/TypingBox.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>

using namespace morvela;

namespace {

KeyOutcome accepted(bool yes)
{
    KeyOutcome k;
    k.accepted = yes;
    return k;
}

// A box judged against `text` with the shared character check.
struct JudgedBox {
    explicit JudgedBox(const QString& text) : attempt(text)
    {
        box.setJudge([this](char32_t c) {
            judged << c;
            return accepted(attempt.type(c) != TypingAttempt::Result::Refused);
        });
        box.show();
        box.activateWindow();
        box.setFocus();
    }
    TypingAttempt attempt;
    TypingBox box;
    QList<char32_t> judged;
};

void sendCommit(QWidget* w, const QString& text, const QString& preedit = {})
{
    QInputMethodEvent e(preedit, {});
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

} // namespace


class TestTypingBox : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void commitsAreJudgedCharacterByCharacter_data();
    void commitsAreJudgedCharacterByCharacter();
    void preeditShowsButIsNotText();
    void pasteDropAndMenuChangeNothing();
    void inputMethodOnAndOff();
    void commitRunsOnIntoTheNextBox();
    void focusMoveCopyOfACompositionIsNotJudged();
    void compositionLeftInAnotherWindowIsNoCopy();
    void commitRepeatedWhileJudgedIsNotJudgedAgain();
};

void TestTypingBox::keys_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("misses");

    QTestEventList right;
    right.addKeyClicks(QStringLiteral("fj"));
    QTest::newRow("right keys enter") << "fjdk" << right << "fj" << 0;

    QTestEventList wrong;
    wrong.addKeyClicks(QStringLiteral("fxj"));
    QTest::newRow("a wrong key is refused and counted") << "fjdk" << wrong << "fj" << 1;

    QTestEventList capital;
    capital.addKeyClick('F');
    QTest::newRow("F does not answer f") << "f" << capital << "" << 1;

    QTestEventList backspace;
    backspace.addKeyClicks(QStringLiteral("f"));
    backspace.addKeyClick(Qt::Key_Backspace);
    QTest::newRow("Backspace removes nothing and is a miss") << "fj" << backspace << "f" << 1;

    QTestEventList enter;
    enter.addKeyClick(Qt::Key_Return);
    QTest::newRow("Enter is a character too") << "f" << enter << "" << 1;

    QTestEventList spaces;
    spaces.addKeyClick(' ');
    QTest::newRow("a space is not a full-width space") << QStringLiteral("　") << spaces << "" << 1;

    QTestEventList editing;
    editing.addKeyClicks(QStringLiteral("fj"));
    editing.addKeyClick(Qt::Key_Left);
    editing.addKeyClick(Qt::Key_Home);
    editing.addKeyClick(Qt::Key_Delete);
    editing.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    editing.addKeyClick(Qt::Key_X, Qt::ControlModifier);
    editing.addKeyClick(Qt::Key_Z, Qt::ControlModifier);
    editing.addKeyClick(Qt::Key_V, Qt::ControlModifier);
    editing.addKeyClick(Qt::Key_Insert, Qt::ShiftModifier);
    editing.addKeyClicks(QStringLiteral("d"));
    QTest::newRow("caret moves, Delete, cut, undo and paste do nothing; typing goes on at the end")
        << "fjdk" << editing << "fjd" << 0;
}

void TestTypingBox::keys()
{
    QFETCH(QString, expected);
    QFETCH(QTestEventList, events);
    QFETCH(QString, text);
    QFETCH(int, misses);
    QApplication::clipboard()->setText(QStringLiteral("kkkk"));
    JudgedBox b(expected);
    events.simulate(&b.box);
    QCOMPARE(b.box.text(), text);
    QCOMPARE(b.attempt.misses(), misses);
    QCOMPARE(b.box.cursorPosition(), b.box.text().size());
}

void TestTypingBox::commitsAreJudgedCharacterByCharacter_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("misses");
    QTest::addColumn<int>("judgements");
    QTest::newRow("a conversion of two characters is two judgements") << "搭載高速" << "搭載" << "搭載" << 0 << 2;
    QTest::newRow("a wrong first character: two misses, nothing enters") << "搭載" << "塔載" << "" << 2 << 2;
    QTest::newRow("a wrong second character: the first enters") << "搭載" << "搭裁" << "搭" << 1 << 2;
    QTest::newRow("a character beyond the basic plane is one judgement") << "𠮷野" << "𠮷野" << "𠮷野" << 0 << 2;
}

void TestTypingBox::commitsAreJudgedCharacterByCharacter()
{
    QFETCH(QString, expected);
    QFETCH(QString, commit);
    QFETCH(QString, text);
    QFETCH(int, misses);
    QFETCH(int, judgements);
    JudgedBox b(expected);
    sendCommit(&b.box, commit);
    sendCommit(&b.box, QString()); // the empty event that follows every commit
    QCOMPARE(b.box.text(), text);
    QCOMPARE(b.attempt.misses(), misses);
    QCOMPARE(b.judged.size(), judgements);
}

void TestTypingBox::preeditShowsButIsNotText()
{
    JudgedBox b(QStringLiteral("猫"));
    sendCommit(&b.box, QString(), QStringLiteral("ねこ"));
    QCOMPARE(b.box.preedit(), QStringLiteral("ねこ"));
    QCOMPARE(b.box.text(), QString());
    QVERIFY(b.judged.isEmpty());
    sendCommit(&b.box, QStringLiteral("猫"));
    QCOMPARE(b.box.preedit(), QString());
    QCOMPARE(b.box.text(), QStringLiteral("猫"));
}

void TestTypingBox::pasteDropAndMenuChangeNothing()
{
    JudgedBox b(QStringLiteral("fjdk"));
    b.box.offer(QStringLiteral("f"));
    QCOMPARE(b.box.contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!b.box.acceptDrops());

    QMimeData mime;
    mime.setText(QStringLiteral("jdk"));
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&b.box, &drop);

    QApplication::clipboard()->setText(QStringLiteral("jdk"), QClipboard::Selection);
    QTest::mouseClick(&b.box, Qt::MiddleButton);
    QTest::mouseDClick(&b.box, Qt::LeftButton);

    QCOMPARE(b.box.text(), QStringLiteral("f"));
    QVERIFY(!b.box.hasSelectedText());
    QCOMPARE(b.judged.size(), 1);
}

void TestTypingBox::inputMethodOnAndOff()
{
    TypingBox box;
    QVERIFY(box.inputMethodQuery(Qt::ImEnabled).toBool());
    box.setInputMethodWanted(false);
    QVERIFY(!box.inputMethodQuery(Qt::ImEnabled).toBool());
    QVERIFY(!box.testAttribute(Qt::WA_InputMethodEnabled));
    box.setInputMethodWanted(true);
    QVERIFY(box.inputMethodQuery(Qt::ImEnabled).toBool());
    QVERIFY(box.inputMethodQuery(Qt::ImCursorRectangle).toRect().isValid());
}

void TestTypingBox::commitRunsOnIntoTheNextBox()
{
    JudgedBox first(QStringLiteral("時分"));
    JudgedBox second(QStringLiteral("学校"));
    TypingBox* next = &second.box;
    first.box.setJudge([&](char32_t c) {
        const auto r = first.attempt.type(c);
        if (r == TypingAttempt::Result::Completed)
            first.box.handRestTo(next);
        return accepted(r != TypingAttempt::Result::Refused);
    });
    first.box.setFocus();
    sendCommit(&first.box, QStringLiteral("時分学"));
    QCOMPARE(first.box.text(), QStringLiteral("時分"));
    QCOMPARE(second.box.text(), QStringLiteral("学"));
    QCOMPARE(first.attempt.misses(), 0);
}

void TestTypingBox::focusMoveCopyOfACompositionIsNotJudged()
{
    QWidget window;
    TypingBox* a = new TypingBox(&window);
    TypingBox* b = new TypingBox(&window);
    QStringList judgedA, judgedB;
    a->setJudge([&](char32_t c) { judgedA << QString::fromUcs4(&c, 1); return accepted(true); });
    b->setJudge([&](char32_t c) { judgedB << QString::fromUcs4(&c, 1); return accepted(true); });
    window.show();
    QApplication::setActiveWindow(&window);
    a->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    sendCommit(a, QString(), QStringLiteral("ねこ"));
    sendCommit(a, QStringLiteral("ねこ")); // the input method commits as the focus moves...
    b->setFocus();
    sendCommit(b, QStringLiteral("ねこ")); // ...and once more to the new box
    QCOMPARE(judgedA.join(QString()), QStringLiteral("ねこ"));
    QVERIFY(judgedB.isEmpty());

    sendCommit(b, QString(), QStringLiteral("いぬ"));
    sendCommit(b, QStringLiteral("いぬ"));
    QCOMPARE(judgedB.join(QString()), QStringLiteral("いぬ"));

    // A commit that ends a line sends the focus on; ibus then delivers the
    // same commit to the box it left, which judges nothing more.
    sendCommit(b, QStringLiteral("でもない。"));
    a->setFocus();
    sendCommit(b, QStringLiteral("でもない。"));
    QCOMPARE(judgedB.join(QString()), QStringLiteral("いぬでもない。"));
    // A composition still open when the focus left is the box's own.
    b->setFocus();
    sendCommit(b, QString(), QStringLiteral("かな"));
    a->setFocus();
    sendCommit(b, QStringLiteral("かな"));
    QCOMPARE(judgedB.join(QString()), QStringLiteral("いぬでもない。かな"));
}

// The note of a composition left behind belongs to its window: another
// window's box takes the same word, typed afresh there, as it comes.
void TestTypingBox::compositionLeftInAnotherWindowIsNoCopy()
{
    QWidget first, second;
    TypingBox* a = new TypingBox(&first);
    TypingBox* b = new TypingBox(&second);
    QStringList judgedB;
    a->setJudge([&](char32_t) { return accepted(true); });
    b->setJudge([&](char32_t c) { judgedB << QString::fromUcs4(&c, 1); return accepted(true); });
    first.show();
    QApplication::setActiveWindow(&first);
    a->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&first));
    sendCommit(a, QString(), QStringLiteral("ねこ")); // still composing as the window is left

    second.show();
    QApplication::setActiveWindow(&second);
    b->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&second));
    QVERIFY(!a->hasFocus());
    sendCommit(b, QStringLiteral("ねこ"));
    QCOMPARE(judgedB.join(QString()), QStringLiteral("ねこ"));
}

void TestTypingBox::commitRepeatedWhileJudgedIsNotJudgedAgain()
{
    // The end of the speed test: the last commit completes the line, the
    // line starts over and the focus goes to "次ページ>>". Moving the focus
    // makes ibus deliver the commit it still holds once more (only once:
    // it forgets it then), to the box that is still judging it.
    QWidget window;
    TypingBox* box = new TypingBox(&window);
    QWidget* next = new TypingBox(&window);
    const QString line = QStringLiteral("なぜでもない。");
    const QString last = QStringLiteral("でもない。");
    TypingAttempt attempt(line);
    QString held = last; // what ibus still holds while the commit is judged
    box->setJudge([&](char32_t c) {
        const auto r = attempt.type(c);
        if (r == TypingAttempt::Result::Completed) {
            attempt.rewind();
            if (!held.isEmpty())
                sendCommit(box, std::exchange(held, QString()));
            next->setFocus();
        }
        return accepted(r != TypingAttempt::Result::Refused);
    });
    window.show();
    QApplication::setActiveWindow(&window);
    box->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    sendCommit(box, QStringLiteral("なぜ"));
    sendCommit(box, QString(), last);
    sendCommit(box, last);
    QCOMPARE(box->text(), line);
    QCOMPARE(attempt.misses(), 0);
    QCOMPARE(attempt.cursor(), 1);
}

QTEST_MAIN(TestTypingBox)
#include "tst_typingbox.moc"
