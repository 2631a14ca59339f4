// Every window of the course has one size, and the window manager is told
// so (minimum = maximum): a tiling or Wayland desktop cannot stretch one and
// break its layout.

#include "CourseScreens.h"
#include "app/F_mokuji.h"
#include "exam/F_miss.h"
#include "lessons/GraduationWindows.h"
#include "support/Controls.h"
#include "support/Harness.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

using namespace morvela;
using namespace morvela::test;

namespace {

// Each window as it is shown, with the size limits it shows itself with.
class ShownWindows : public QObject {
public:
    struct Shown {
        QString name;
        QSize minimum;
        QSize maximum;
    };
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }

    QList<Shown> shown;

    QStringList names() const
    {
        QStringList all;
        for (const Shown& s : shown)
            if (!all.contains(s.name))
                all << s.name;
        return all;
    }

    // Every window shown had one size.
    void verifyFixed() const
    {
        for (const Shown& s : shown)
            QVERIFY2(s.minimum == s.maximum,
                     qPrintable(QStringLiteral("%1: minimum %2x%3, maximum %4x%5")
                                    .arg(s.name)
                                    .arg(s.minimum.width())
                                    .arg(s.minimum.height())
                                    .arg(s.maximum.width())
                                    .arg(s.maximum.height())));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow())
                shown << Shown{w->objectName(), w->minimumSize(), w->maximumSize()};
        }
        return false;
    }
};

} // namespace

class TestWindowSizes : public QObject {
    Q_OBJECT
private slots:
    void courseWindowsHaveOneSize_data();
    void courseWindowsHaveOneSize();
    void resultWindowsHaveOneSize();
};

void TestWindowSizes::courseWindowsHaveOneSize_data()
{
    QTest::addColumn<int>("menuButton"); // 0: the menu alone
    QTest::addColumn<QList<int>>("pageButtons"); // clicked on each screen in turn
    QTest::addColumn<QStringList>("windows");

    const QString menu = QStringLiteral("F_mokuji");
    QTest::newRow("menu") << 0 << QList<int>{} << QStringList{menu};
    QTest::newRow("Lesson 0, its three pages")
        << 1 << QList<int>{2, 1} << QStringList{menu, "F_welcome", "F_hantei", "F_Position"};
    for (int lesson = 1; lesson <= 8; ++lesson) {
        const QString name = QStringLiteral("F_les%1_1").arg(lesson);
        QTest::newRow(qPrintable(name)) << lesson + 1 << QList<int>{} << QStringList{menu, name};
    }
    QTest::newRow("graduation exam") << 10 << QList<int>{} << QStringList{menu, "F_les9_1"};
    QTest::newRow("options") << 11 << QList<int>{} << QStringList{menu, "F_Option"};
    QTest::newRow("mock exam") << 12 << QList<int>{} << QStringList{menu, "F_kentei"};
    QTest::newRow("game") << 14 << QList<int>{} << QStringList{menu, "F_game"};
    QTest::newRow("hint") << 16 << QList<int>{} << QStringList{menu, "F_hint"};
}

void TestWindowSizes::courseWindowsHaveOneSize()
{
    QFETCH(int, menuButton);
    QFETCH(QList<int>, pageButtons);
    QFETCH(QStringList, windows);

    Harness h;
    h.folder.write(QStringLiteral("Mokushi.ken"), QByteArray("\x82\xa0\r\n"));
    F_mokuji menu(h.ctx);
    ConnectScreens(menu, h.ctx);
    QVERIFY(menu.Form_Load());
    for (QString& state : h.state.progress.LessonStates)
        state = LessonState::Completed;
    for (int b : pageButtons)
        h.runner.then([b](QDialog& d) { button(d, b)->click(); });

    ShownWindows shown;
    menu.show();
    if (menuButton)
        button(menu, menuButton)->click();
    QVERIFY(h.messages.shown.isEmpty());
    QCOMPARE(shown.names(), windows);
    shown.verifyFixed();
}

void TestWindowSizes::resultWindowsHaveOneSize()
{
    Harness h;
    ShownWindows shown;
    for (const QString& screen : {QStringLiteral("F_sotu_OK"), QStringLiteral("F_sotu_NG")}) {
        GraduationResultWindow result(h.ctx, screen, QStringLiteral("05分10"), QStringLiteral("05分10"));
        result.Form_Load();
        result.show();
    }
    F_miss report(h.ctx);
    report.Form_Load();
    report.show();
    QCOMPARE(shown.names(), (QStringList{"F_sotu_OK", "F_sotu_NG", "F_miss"}));
    shown.verifyFixed();
}

QTEST_MAIN(TestWindowSizes)
#include "tst_windowsizes.moc"
