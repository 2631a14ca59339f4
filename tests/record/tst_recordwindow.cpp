// The record window: what it shows of a record, the practice of the
// weakest keys, the export and the clearing, through its named controls.

#include "record/DailyChart.h"
#include "record/RecordWindow.h"
#include "support/FakeLearnerRecord.h"
#include "support/Harness.h"
#include "ui/PictureBox.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QSet>
#include <QTest>

using namespace morvela;
using morvela::test::FakeLearnerRecord;
using morvela::test::Harness;

namespace {

const QString HomeRow = QStringLiteral("jfjfkdkdlsls;a;a");

QDateTime Day(int d, int hour = 10)
{
    return QDateTime(QDate(2026, 12, d), QTime(hour, 0));
}

// A window over `record`; what it asked to practise and where it was asked
// to export go into the lists.
struct Window {
    Window(Harness& h, FakeLearnerRecord& record, QString csvAnswer = {})
        : window(h.ctx, record,
                 {QStringList{QStringLiteral("kakikukeko"), QStringLiteral("neko"), QStringLiteral("suna")}, HomeRow,
                  [this](QWidget* parent, const QString& line) {
                      QCOMPARE(parent, &window);
                      practised << line;
                  },
                  [this, csvAnswer](QWidget*, const QString& suggested) {
                      suggestions << suggested;
                      return csvAnswer;
                  }})
    {
        window.Form_Load();
        window.show();
    }
    QPushButton* button(int n) { return window.findChild<QPushButton*>(QStringLiteral("Command%1").arg(n)); }
    QString label(int n) { return window.findChild<QLabel*>(QStringLiteral("Label%1").arg(n))->text(); }
    QTableView* table() { return window.findChild<QTableView*>(QStringLiteral("Table1")); }
    QComboBox* scopes() { return window.findChild<QComboBox*>(QStringLiteral("Combo1")); }
    QStringList practised, suggestions;
    RecordWindow window;
};

// The heat of the key that types `c`: the last colour laid over it.
QColor FillOf(const PictureBox& picture, char32_t c)
{
    QColor colour;
    for (const KeyOverlay& fill : picture.keyFills()) {
        if (fill.key == JisKeyboard::KeyFor(c))
            colour = fill.colour;
    }
    return colour;
}

int HeatedKeys(const PictureBox& picture)
{
    return int(picture.keyFills().size() - JisKeyboard::Keys().size());
}

} // namespace

class TestRecordWindow : public QObject {
    Q_OBJECT
private slots:
    void showsTheRecord();
    void emptyRecord();
    void chartsFollowTheChosenScope();
    void bestTimesMarked_data();
    void bestTimesMarked();
    void tableReadsRowsAsItScrolls();
    void practice_data();
    void practice();
    void exportCsv_data();
    void exportCsv();
    void clearRecord_data();
    void clearRecord();
    void everyControlHasItsOwnName();
};

void TestRecordWindow::showsTheRecord()
{
    Harness h;
    FakeLearnerRecord record;
    record.add(QStringLiteral("01-01"), Day(9), 75000, 64, 3, QStringLiteral("不合格"));
    record.add(QStringLiteral("01-01"), Day(10), 62500, 64, 1);
    record.add(QStringLiteral("09-01"), Day(11), 3723000, 400, 12);
    // Best attempts made before these three.
    record.bests[QStringLiteral("F_welcome")].attempt = {.endedAt = Day(1), .pageId = QStringLiteral("00-01"), .durationMs = 45900};
    record.bests[QStringLiteral("F_les9_1")].attempt = {.endedAt = Day(2), .pageId = QStringLiteral("09-01"), .durationMs = 412000};
    record.days = {{QDate(2026, 12, 9), 1, 51.2, 0.955}, {QDate(2026, 12, 10), 1, 61.4, 0.985}};
    record.keys = {{U'k', 100, 25}, {U'j', 200, 2}, {U'f', 50, 0}, {U'あ', 9, 9}};
    Window w(h, record);

    QCOMPARE(w.label(1), QStringLiteral("記録：3回　　最高タイム　スピードテスト 00分45　卒業試験 06分52"));
    // Newest first, every column.
    const QAbstractItemModel* m = w.table()->model();
    QCOMPARE(m->rowCount(), 3);
    QStringList first, last;
    for (int c = 0; c < m->columnCount(); ++c) {
        first << m->index(0, c).data().toString();
        last << m->index(2, c).data().toString();
    }
    QCOMPARE(first, (QStringList{QStringLiteral("2026/12/11 10:00"), QStringLiteral("09-01"), QStringLiteral("1:02:03"),
                                 QStringLiteral("6"), QStringLiteral("12"), QStringLiteral("合格")}));
    QCOMPARE(last, (QStringList{QStringLiteral("2026/12/09 10:00"), QStringLiteral("01-01"), QStringLiteral("1:15"),
                                QStringLiteral("51"), QStringLiteral("3"), QStringLiteral("不合格")}));

    QStringList scopes;
    for (int i = 0; i < w.scopes()->count(); ++i)
        scopes << w.scopes()->itemText(i);
    QCOMPARE(scopes, (QStringList{QStringLiteral("コース全体"), QStringLiteral("Lesson1"), QStringLiteral("卒業試験")}));

    auto* speed = w.window.findChild<DailyChart*>(QStringLiteral("Chart1"));
    auto* accuracy = w.window.findChild<DailyChart*>(QStringLiteral("Chart2"));
    QCOMPARE(speed->points().size(), 2);
    QCOMPARE(speed->points().last().y(), 61.4);
    QCOMPARE(accuracy->points().first().y(), 95.5);

    // Heat: k missed a quarter of the time is red, j (1%) green, f never
    // missed greenest; a kana has no key of the picture.
    const auto* picture = w.window.findChild<PictureBox*>(QStringLiteral("Picture1"));
    QCOMPARE(HeatedKeys(*picture), 3);
    QCOMPARE(FillOf(*picture, U'k').hue(), 0);
    QVERIFY(FillOf(*picture, U'j').hue() > 100);
    QCOMPARE(FillOf(*picture, U'f').hue(), 120);
    QCOMPARE(w.label(3), QStringLiteral("よく間違えたキー：［k］２５回、［あ］９回、［j］２回"));
}

void TestRecordWindow::emptyRecord()
{
    Harness h;
    FakeLearnerRecord record;
    Window w(h, record);
    QCOMPARE(w.label(1), QStringLiteral("記録：0回　　最高タイム　スピードテスト —　卒業試験 —"));
    QCOMPARE(w.table()->model()->rowCount(), 0);
    QCOMPARE(w.scopes()->count(), 1);
    QCOMPARE(w.label(3), QStringLiteral("ミスしたキーはありません。"));
    QCOMPARE(HeatedKeys(*w.window.findChild<PictureBox*>(QStringLiteral("Picture1"))), 0);
}

void TestRecordWindow::chartsFollowTheChosenScope()
{
    Harness h;
    FakeLearnerRecord record;
    record.add(QStringLiteral("01-01"), Day(9));
    record.add(QStringLiteral("01-02"), Day(9));
    record.add(QStringLiteral("05-03"), Day(10));
    record.add(QStringLiteral("苦手キー練習"), Day(10));
    Window w(h, record);
    QCOMPARE(record.dailyPrefixes, QStringList{QString()});
    QCOMPARE(w.scopes()->count(), 4);
    w.scopes()->setCurrentIndex(w.scopes()->findText(QStringLiteral("Lesson5")));
    w.window.Combo1_Click();
    w.scopes()->setCurrentIndex(w.scopes()->findText(QStringLiteral("苦手キー練習")));
    w.window.Combo1_Click();
    QCOMPARE(record.dailyPrefixes, (QStringList{QString(), QStringLiteral("05-"), QStringLiteral("苦手キー練習")}));
    // Read afresh after a practice page, the scope stays.
    h.messages.answers = {true}; // too little history: the home row
    w.button(1)->click();
    QCOMPARE(w.practised, QStringList{HomeRow});
    QCOMPARE(w.scopes()->currentText(), QStringLiteral("苦手キー練習"));
    QCOMPARE(record.dailyPrefixes.last(), QStringLiteral("苦手キー練習"));
}

void TestRecordWindow::bestTimesMarked_data()
{
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QList<ChartMark>>("marks");
    const ChartMark speedTest{QDate(2026, 12, 8), 300, QStringLiteral("最高記録 00-01 03分12")};
    const ChartMark graduation{QDate(2026, 12, 10), 75, QStringLiteral("最高記録 09-01 06分52")};
    QTest::newRow("whole course") << QStringLiteral("コース全体") << QList<ChartMark>{speedTest, graduation};
    QTest::newRow("speed test's lesson") << QStringLiteral("Lesson0") << QList<ChartMark>{speedTest};
    QTest::newRow("graduation exam") << QStringLiteral("卒業試験") << QList<ChartMark>{graduation};
    QTest::newRow("another lesson") << QStringLiteral("Lesson1") << QList<ChartMark>{};
}

void TestRecordWindow::bestTimesMarked()
{
    QFETCH(QString, scope);
    QFETCH(QList<ChartMark>, marks);
    Harness h;
    FakeLearnerRecord record;
    record.addBest(QStringLiteral("F_welcome"), QStringLiteral("00-01"), Day(8), 192000, 960);
    record.add(QStringLiteral("01-01"), Day(9));
    record.addBest(QStringLiteral("F_les9_1"), QStringLiteral("09-01"), Day(10, 15), 412000, 515);
    record.days = {{QDate(2026, 12, 8), 1, 300, 1}, {QDate(2026, 12, 9), 1, 64, 0.97}, {QDate(2026, 12, 10), 1, 75, 1}};
    Window w(h, record);
    // Named in a line, whatever the scope.
    QCOMPARE(w.label(1), QStringLiteral("記録：3回　　最高タイム　スピードテスト 03分12　卒業試験 06分52"));

    w.scopes()->setCurrentIndex(w.scopes()->findText(scope));
    QVERIFY(w.scopes()->currentIndex() >= 0);
    w.window.Combo1_Click();
    auto* speed = w.window.findChild<DailyChart*>(QStringLiteral("Chart1"));
    auto* accuracy = w.window.findChild<DailyChart*>(QStringLiteral("Chart2"));
    QCOMPARE(speed->marks(), marks);
    QCOMPARE(speed->points().size(), 3); // the days' line stays
    QCOMPARE(accuracy->marks(), QList<ChartMark>{});
}

void TestRecordWindow::tableReadsRowsAsItScrolls()
{
    Harness h;
    FakeLearnerRecord record;
    for (int i = 0; i < 1000; ++i)
        record.add(QStringLiteral("01-%1").arg(i % 7 + 1, 2, 10, QLatin1Char('0')), Day(1).addSecs(60 * i));
    Window w(h, record);
    QAbstractItemModel* m = w.table()->model();
    QCOMPARE(record.recentLimits, QList<int>{200});
    QCOMPARE(m->rowCount(), 200);
    w.table()->scrollToBottom();
    QTRY_VERIFY(m->rowCount() > 200);
    while (m->canFetchMore({}))
        m->fetchMore({});
    QCOMPARE(m->rowCount(), 1000);
    // Each read at least twice the last: the whole record in a few reads.
    QVERIFY(record.recentLimits.size() <= 5);
    for (qsizetype i = 1; i < record.recentLimits.size(); ++i)
        QVERIFY(record.recentLimits[i] >= 2 * record.recentLimits[i - 1]);
    QCOMPARE(m->index(999, 0).data().toString(), QStringLiteral("2026/12/01 10:00"));
    QCOMPARE(m->index(0, 0).data().toString(), Day(1).addSecs(60 * 999).toString(QStringLiteral("yyyy/MM/dd HH:mm")));
}

void TestRecordWindow::practice_data()
{
    QTest::addColumn<QList<KeyCount>>("keys");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("asked");    // the start of the question, "" none
    QTest::addColumn<QString>("practised"); // "weak": a line of the weak keys
    const QList<KeyCount> weak{{U'k', 100, 20}, {U'j', 100, 0}};
    QTest::newRow("weak keys") << weak << QList<bool>{} << QString() << QStringLiteral("weak");
    QTest::newRow("too little, home row taken")
        << QList<KeyCount>{{U'k', 10, 5}} << QList<bool>{true}
        << QStringLiteral("苦手なキーを選ぶには、記録がまだ足りません（最近の記録で打ったキーが50回に満たない）。") << HomeRow;
    QTest::newRow("too little, declined") << QList<KeyCount>{} << QList<bool>{false}
                                          << QStringLiteral("苦手なキーを選ぶには") << QString();
    QTest::newRow("nothing missed, home row taken")
        << QList<KeyCount>{{U'k', 100, 0}} << QList<bool>{true}
        << QStringLiteral("最近の記録には、ミスしたキーがありません。") << HomeRow;
}

void TestRecordWindow::practice()
{
    QFETCH(QList<KeyCount>, keys);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, asked);
    QFETCH(QString, practised);
    Harness h;
    h.messages.answers = answers;
    FakeLearnerRecord record;
    record.keys = keys;
    Window w(h, record);
    const qsizetype readsBefore = record.recentLimits.size();
    w.button(1)->click();
    if (asked.isEmpty()) {
        QVERIFY(h.messages.shown.isEmpty());
    } else {
        QCOMPARE(h.messages.shown.size(), 1);
        QVERIFY2(h.lastMessage().startsWith(asked), qPrintable(h.lastMessage()));
        QVERIFY(h.lastMessage().endsWith(QStringLiteral("\rかわりにホームポジションを練習しますか？")));
    }
    if (practised.isEmpty()) {
        QVERIFY(w.practised.isEmpty());
        return;
    }
    QCOMPARE(w.practised.size(), 1);
    if (practised == QLatin1String("weak")) {
        QVERIFY(w.practised.first().contains(QLatin1Char('k')));
        QVERIFY(w.practised.first().split(QLatin1Char(' ')).size() > 3);
    } else {
        QCOMPARE(w.practised.first(), practised);
    }
    // The practice was recorded: the window reads the record again.
    QVERIFY(record.recentLimits.size() > readsBefore);
}

void TestRecordWindow::exportCsv_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("cancelled") << QString() << QString() << QString();
    QTest::newRow("written") << QStringLiteral("/tmp/x/record.csv") << QString()
                             << QStringLiteral("学習記録をCSVファイル /tmp/x/record.csv に書き出しました。");
    QTest::newRow("failed") << QStringLiteral("/tmp/x/record.csv") << QStringLiteral("ディスクがいっぱいです")
                            << QStringLiteral("学習記録（morvela-history.sqlite）をCSVファイル /tmp/x/record.csv "
                                              "に書き出せませんでした。\rディスクがいっぱいです");
}

void TestRecordWindow::exportCsv()
{
    QFETCH(QString, chosen);
    QFETCH(QString, failure);
    QFETCH(QString, message);
    Harness h;
    FakeLearnerRecord record;
    record.exportError = failure;
    Window w(h, record, chosen);
    w.button(2)->click();
    QCOMPARE(w.suggestions, QStringList{h.state.folder.filePath(QStringLiteral("morvela-history.csv"))});
    QCOMPARE(record.exportedTo, chosen.isEmpty() ? QStringList{} : QStringList{chosen});
    QCOMPARE(h.lastMessage(), message);
    if (!message.isEmpty())
        QCOMPARE(h.messages.shown.last().icon, failure.isEmpty() ? MessageIcon::Information : MessageIcon::Error);
}

void TestRecordWindow::clearRecord_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("declined") << false << QString() << 2;
    QTest::newRow("cleared") << true << QString() << 0;
    QTest::newRow("failed") << true << QStringLiteral("読み取り専用です") << 2;
}

void TestRecordWindow::clearRecord()
{
    QFETCH(bool, answer);
    QFETCH(QString, failure);
    QFETCH(int, rowsAfter);
    Harness h;
    h.messages.answers = {answer};
    FakeLearnerRecord record;
    record.clearError = failure;
    record.add(QStringLiteral("01-01"), Day(9));
    record.add(QStringLiteral("01-02"), Day(10));
    Window w(h, record);
    w.button(3)->click();
    QCOMPARE(h.messages.shown.first().icon, MessageIcon::Warning);
    QVERIFY(h.messages.shown.first().text.contains(QStringLiteral("morvela-history.sqlite")));
    QCOMPARE(w.table()->model()->rowCount(), rowsAfter);
    QCOMPARE(w.label(1).startsWith(QStringLiteral("記録：%1回").arg(rowsAfter)), true);
    if (failure.isEmpty()) {
        QCOMPARE(h.messages.shown.size(), 1);
    } else {
        QCOMPARE(h.lastMessage(), QStringLiteral("学習記録（morvela-history.sqlite）を消去できませんでした。\r") + failure);
        QCOMPARE(h.messages.shown.last().icon, MessageIcon::Error);
    }
}

void TestRecordWindow::everyControlHasItsOwnName()
{
    Harness h;
    FakeLearnerRecord record;
    record.add(QStringLiteral("01-01"), Day(9));
    Window w(h, record);
    // Every control a learner operates, as a screen reader meets it.
    const QSet<QAccessible::Role> operated{QAccessible::PushButton, QAccessible::ComboBox, QAccessible::Table,
                                           QAccessible::List,       QAccessible::CheckBox, QAccessible::RadioButton,
                                           QAccessible::EditableText};
    QStringList names;
    for (QWidget* control : w.window.findChildren<QWidget*>()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        if (!control->isVisible() || !a || !operated.contains(a->role()))
            continue;
        const QString name = a->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), control->metaObject()->className());
        names << name;
    }
    QCOMPARE(names.size(), 6); // four buttons, the scope, the table
    const qsizetype all = names.size();
    names.removeDuplicates();
    QCOMPARE(names.size(), all);

    // The table's cells are read as they are shown.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w.table());
    QVERIFY(table && table->tableInterface());
    QAccessibleInterface* cell = table->tableInterface()->cellAt(0, 1);
    QVERIFY(cell);
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("01-01"));
}

QTEST_MAIN(TestRecordWindow)
#include "tst_recordwindow.moc"
