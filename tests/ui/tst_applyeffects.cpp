// An engine's effects that name a control its window does not have: the
// program's fault is warned of by name (a debug build stops), the window's
// other effects still happen, and the learner's work goes on.

#include "support/Harness.h"
#include "ui/ApplyEffects.h"
#include "ui/NamedControls.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace morvela;
using morvela::test::Harness;

class TestApplyEffects : public QObject {
    Q_OBJECT
private slots:
    void unknownControlIsWarnedOf_data();
    void unknownControlIsWarnedOf();
};

void TestApplyEffects::unknownControlIsWarnedOf_data()
{
    QTest::addColumn<QStringList>("clearBoxes");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("missing");
    QTest::newRow("a box to empty") << QStringList{"Text9", "Text1"} << "Command1" << "Text9";
    QTest::newRow("a button is no box") << QStringList{"Command1", "Text1"} << "Command1" << "Command1";
    QTest::newRow("the focus") << QStringList{"Text1"} << "Command4" << "Command4";
}

void TestApplyEffects::unknownControlIsWarnedOf()
{
    QFETCH(QStringList, clearBoxes);
    QFETCH(QString, focus);
    QFETCH(QString, missing);

    Harness h;
    QDialog window;
    window.setObjectName(QStringLiteral("F_les1_1"));
    auto* layout = new QVBoxLayout(&window);
    auto* text1 = new QLineEdit(QStringLiteral("typed"), &window);
    text1->setObjectName(QStringLiteral("Text1"));
    layout->addWidget(text1);
    QPushButton* command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("OK"), &window);
    layout->addWidget(command1);
    window.show();
    text1->setFocus();

    ScreenEffects effects;
    effects.clearBoxes = clearBoxes;
    effects.focus = focus;
    effects.message = QStringLiteral("よくできました。");
    effects.close = true;
    QTest::ignoreMessage(QtWarningMsg, qPrintable(MissingControlWarning(QStringLiteral("F_les1_1"), missing)));
    ApplyEffects(h.ctx, window, 1, effects);

    QVERIFY(text1->text().isEmpty());
    QCOMPARE(h.lastMessage(), QStringLiteral("よくできました。"));
    QCOMPARE(window.focusWidget(), focus == QLatin1String("Command1") ? static_cast<QWidget*>(command1) : text1);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestApplyEffects)
#include "tst_applyeffects.moc"
