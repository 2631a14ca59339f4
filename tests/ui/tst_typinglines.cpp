// Eight lines typed in turn: the focus is held in the box whose turn it is,
// a commit running past a line's end carries on into the next box, and a
// click into another box changes nothing.

#include "core/LinesAttempt.h"
#include "ui/Fonts.h"
#include "ui/TypingLines.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace morvela;

namespace {

const QStringList kLines{QStringLiteral("親譲りの"), QStringLiteral("無鉄砲で"), QStringLiteral("子供の"),
                         QStringLiteral("時から"),   QStringLiteral("損ばかり"), QStringLiteral("して"),
                         QStringLiteral("いる。"),   QStringLiteral("小学校")};

void commit(QWidget* target, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(target, &e);
}

// A window with eight lines judged by one attempt, and a button to click.
struct EightLines {
    EightLines()
    {
        QList<TypingLines::Names> names;
        for (int i = 1; i <= 8; ++i)
            names.append({QStringLiteral("L%1").arg(i), QStringLiteral("T%1").arg(i)});
        lines = new TypingLines(names, AlignedDrillFont(&window), 300, &window);
        lines->setTexts(kLines);
        lines->setJudge([this](int line, char32_t c) {
            if (line != attempt.line())
                return KeyOutcome{false, attempt.line(), {}};
            const bool accepted = attempt.type(c) != LinesAttempt::Step::Refused;
            return KeyOutcome{accepted, attempt.line(), {}};
        });
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(lines);
        layout->addWidget(button);
        window.show();
        lines->showTurn(0);
    }
    QWidget window;
    QPushButton* button = new QPushButton(QStringLiteral("もう一度"), &window);
    TypingLines* lines = nullptr;
    LinesAttempt attempt{kLines};
};

} // namespace

class TestTypingLines : public QObject {
    Q_OBJECT
private slots:
    void namedLabelsOverTheirBoxes();
    void commitCarriesAcrossBoxes_data();
    void commitCarriesAcrossBoxes();
    void focusStaysWithTheTurn();
    void boxesEmptiedByNameGiveTheTurnBack();
};

void TestTypingLines::namedLabelsOverTheirBoxes()
{
    EightLines w;
    QCOMPARE(w.lines->count(), 8);
    for (int i = 0; i < 8; ++i) {
        auto* label = w.window.findChild<QLabel*>(QStringLiteral("L%1").arg(i + 1));
        auto* box = w.window.findChild<TypingBox*>(QStringLiteral("T%1").arg(i + 1));
        QVERIFY(label && box);
        QCOMPARE(label->text(), kLines[i]);
        // What a screen reader meets: the box named by its line, the label
        // found by its own name whatever it shows.
        QCOMPARE(box->accessibleName(), kLines[i]);
        QCOMPARE(label->accessibleDescription(), label->objectName());
        QCOMPARE(box->font(), label->font());
        QVERIFY(label->mapTo(&w.window, QPoint()).y() < box->mapTo(&w.window, QPoint()).y());
        if (i > 0)
            QVERIFY(w.lines->box(i - 1)->mapTo(&w.window, QPoint()).y() < label->mapTo(&w.window, QPoint()).y());
    }
    w.lines->setTexts({QStringLiteral("新しい行")});
    QCOMPARE(w.lines->box(0)->accessibleName(), QStringLiteral("新しい行"));
}

void TestTypingLines::commitCarriesAcrossBoxes_data()
{
    QTest::addColumn<QStringList>("commits");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("turn");
    QTest::newRow("one commit over a box boundary")
        << QStringList{QStringLiteral("親譲りの無鉄")} << QStringList{QStringLiteral("親譲りの"), QStringLiteral("無鉄")}
        << 1;
    QTest::newRow("over three boxes at once")
        << QStringList{QStringLiteral("親譲りの無鉄砲で子供の時")}
        << QStringList{QStringLiteral("親譲りの"), QStringLiteral("無鉄砲で"), QStringLiteral("子供の"), QStringLiteral("時")}
        << 3;
    QTest::newRow("a wrong character after the boundary stays out")
        << QStringList{QStringLiteral("親譲りの夢"), QStringLiteral("無")}
        << QStringList{QStringLiteral("親譲りの"), QStringLiteral("無")} << 1;
    QTest::newRow("a line completed exactly moves the turn on")
        << QStringList{QStringLiteral("親譲りの")} << QStringList{QStringLiteral("親譲りの"), QString()} << 1;
}

void TestTypingLines::commitCarriesAcrossBoxes()
{
    QFETCH(QStringList, commits);
    QFETCH(QStringList, boxes);
    QFETCH(int, turn);
    EightLines w;
    for (const QString& c : commits)
        commit(w.window.focusWidget(), c);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(w.lines->box(i)->text(), boxes.value(i));
    QCOMPARE(w.lines->turn(), turn);
    QCOMPARE(w.window.focusWidget(), w.lines->box(turn));
}

void TestTypingLines::focusStaysWithTheTurn()
{
    EightLines w;
    commit(w.lines->box(0), kLines[0] + kLines[1] + QStringLiteral("子"));
    QCOMPARE(w.lines->turn(), 2);

    // A click into a typed box or a later one changes nothing.
    for (int other : {0, 1, 5, 7}) {
        QTest::mouseClick(w.lines->box(other), Qt::LeftButton);
        QCOMPARE(w.window.focusWidget(), w.lines->box(2));
    }
    QVERIFY(!w.lines->box(5)->isEnabled()); // waiting for its turn
    QVERIFY(w.lines->box(0)->isEnabled());  // typed, in plain sight
    QCOMPARE(w.lines->box(0)->focusPolicy(), Qt::NoFocus);

    // Characters sent to a box out of turn count nothing and go nowhere.
    commit(w.lines->box(6), QStringLiteral("いる。"));
    QVERIFY(w.lines->box(6)->text().isEmpty());
    QCOMPARE(w.attempt.misses(), 0);

    // Back to the start: every box empty, the first one takes the focus.
    w.button->setFocus();
    w.lines->clear();
    w.attempt.restart();
    for (int i = 0; i < 8; ++i)
        QVERIFY(w.lines->box(i)->text().isEmpty());
    QCOMPARE(w.window.focusWidget(), w.lines->box(0));
    QVERIFY(!w.lines->box(1)->isEnabled());
}

// A screen's effects empty boxes by name, behind the lines' back: the turn
// still goes back to the first line emptied, and emptied lines after it
// wait disabled again.
void TestTypingLines::boxesEmptiedByNameGiveTheTurnBack()
{
    EightLines w;
    commit(w.lines->box(0), kLines[0] + kLines[1] + kLines[2] + QStringLiteral("時"));
    QCOMPARE(w.lines->turn(), 3);

    w.window.findChild<QLineEdit*>(QStringLiteral("T2"))->clear();
    QCOMPARE(w.lines->turn(), 1);
    QCOMPARE(w.window.focusWidget(), w.lines->box(1));
    QVERIFY(w.lines->box(2)->isEnabled()); // still holds its line

    for (const char* name : {"T1", "T3", "T4"})
        w.window.findChild<QLineEdit*>(QString::fromLatin1(name))->clear();
    QCOMPARE(w.lines->turn(), 0);
    QCOMPARE(w.window.focusWidget(), w.lines->box(0));
    QCOMPARE(w.lines->box(0)->focusPolicy(), Qt::StrongFocus);
    for (int i = 1; i < 8; ++i)
        QVERIFY2(!w.lines->box(i)->isEnabled(), qPrintable(QString::number(i)));
}

QTEST_MAIN(TestTypingLines)
#include "tst_typinglines.moc"
