#include "record/RecordWindow.h"

#include "core/MissedKeys.h"
#include "record/DailyChart.h"
#include "record/KeyHeatMap.h"
#include "record/PracticeLine.h"
#include "record/RecentAttemptsModel.h"
#include "record/RecordFigures.h"
#include "ui/AppContext.h"
#include "ui/NamedControls.h"
#include "ui/PictureBox.h"
#include "ui/WindowPlacement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace morvela {

namespace {

const QString HistoryFile = HistoryDatabase::fileName();

// The screens whose best time the record names and the speed chart marks:
// the speed test and the graduation exam.
const QString SpeedTestScreen = QStringLiteral("F_welcome");
const QString GraduationScreen = QStringLiteral("F_les9_1");

QString BestTime(const std::optional<StoredAttempt>& best)
{
    return best ? FormatBestTime(best->attempt.durationMs / 1000) : QStringLiteral("—");
}

// A best attempt on the speed chart, where its page is in the chart's scope.
QList<ChartMark> BestMarks(const QList<StoredAttempt>& bests, const QString& scope)
{
    QList<ChartMark> marks;
    for (const StoredAttempt& best : bests) {
        const AttemptRecord& a = best.attempt;
        // A row whose time cannot be read has no day to be marked on.
        if (!a.endedAt.isValid() || !a.pageId.startsWith(scope))
            continue;
        marks.append({a.endedAt.date(), SpeedPerMinute(a.accepted, a.durationMs).value_or(0),
                      QStringLiteral("最高記録 %1 %2").arg(a.pageId, FormatBestTime(a.durationMs / 1000))});
    }
    return marks;
}

} // namespace

RecordWindow::RecordWindow(AppContext& ctx, LearnerRecord& record, RecordWindowSetup setup, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_record(record), m_setup(std::move(setup))
{
    setObjectName(QStringLiteral("F_kiroku"));
    setWindowTitle(CourseTitle(QStringLiteral(" ● 学習記録 ●")));
    buildControls();
}

void RecordWindow::buildControls()
{
    auto* outer = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* scopeCaption = NamedLabel(QStringLiteral("Label4"), QStringLiteral("グラフの範囲："), this);
    m_combo1 = new QComboBox(this);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setAccessibleName(QStringLiteral("グラフの範囲"));
    m_combo1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    scopeCaption->setBuddy(m_combo1);
    connect(m_combo1, &QComboBox::activated, this, &RecordWindow::Combo1_Click);
    m_label1 = NamedLabel(QStringLiteral("Label1"), QString(), this);
    top->addWidget(scopeCaption);
    top->addWidget(m_combo1);
    top->addSpacing(16);
    top->addWidget(m_label1, 1);
    outer->addLayout(top);

    auto* middle = new QHBoxLayout;
    auto* charts = new QVBoxLayout;
    m_speed = new DailyChart(DailyChart::Figure::Speed, this);
    m_speed->setObjectName(QStringLiteral("Chart1"));
    m_accuracy = new DailyChart(DailyChart::Figure::Accuracy, this);
    m_accuracy->setObjectName(QStringLiteral("Chart2"));
    for (DailyChart* chart : {m_speed, m_accuracy}) {
        chart->setMinimumSize(420, 220);
        charts->addWidget(chart, 1);
    }
    middle->addLayout(charts, 1);

    auto* keys = new QVBoxLayout;
    m_picture1 = new PictureBox(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setAccessibleName(QStringLiteral("キーごとのミスの割合"));
    keys->addWidget(m_picture1, 0, Qt::AlignHCenter);
    auto* label2 = NamedLabel(QStringLiteral("Label2"),
                              QStringLiteral("キーの色：最近%1回のミスの割合（緑 0%、黄 %2%、赤 %3%以上）")
                                  .arg(RecentAttemptsForKeys)
                                  .arg(qRound(HeatFullRate * 50))
                                  .arg(qRound(HeatFullRate * 100)),
                              this);
    label2->setWordWrap(true);
    keys->addWidget(label2);
    m_label3 = NamedLabel(QStringLiteral("Label3"), QString(), this);
    m_label3->setWordWrap(true);
    keys->addWidget(m_label3);

    m_table1 = new QTableView(this);
    m_table1->setObjectName(QStringLiteral("Table1"));
    m_table1->setAccessibleName(QStringLiteral("最近の記録"));
    m_attempts = new RecentAttemptsModel([this](int limit) { return m_record.recent(limit); }, this);
    m_table1->setModel(m_attempts);
    m_table1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table1->setAlternatingRowColors(true);
    m_table1->verticalHeader()->hide();
    // Rows of one height, columns by their captions and a sample row: the
    // view never measures 100,000 rows.
    m_table1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table1->verticalHeader()->setDefaultSectionSize(m_table1->fontMetrics().height() + 6);
    m_table1->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics fm = m_table1->fontMetrics();
    const QStringList widest{QStringLiteral("2026/12/31 23:59"), QStringLiteral("苦手キー練習"),
                             QStringLiteral("10:00:00"), QStringLiteral("速度（字/分）"), QStringLiteral("ミス0000")};
    for (int column = 0; column < widest.size(); ++column)
        m_table1->setColumnWidth(column, fm.horizontalAdvance(widest[column]) + 16);
    m_table1->setMinimumHeight(m_table1->verticalHeader()->defaultSectionSize() * 6);
    keys->addWidget(m_table1, 1);
    middle->addLayout(keys);
    outer->addLayout(middle, 1);

    auto* buttons = new QHBoxLayout;
    auto* command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("苦手キー練習"), this);
    auto* command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("CSVに書き出す"), this);
    auto* command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("記録を消去"), this);
    auto* command4 = NamedButton(QStringLiteral("Command4"), QStringLiteral("閉じる"), this);
    connect(command1, &QPushButton::clicked, this, &RecordWindow::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &RecordWindow::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &RecordWindow::Command3_Click);
    connect(command4, &QPushButton::clicked, this, &RecordWindow::Command4_Click);
    buttons->addWidget(command1);
    buttons->addStretch(1);
    buttons->addWidget(command2);
    buttons->addWidget(command3);
    buttons->addSpacing(16);
    buttons->addWidget(command4);
    outer->addLayout(buttons);
}

void RecordWindow::Form_Load()
{
    m_picture1->loadPicture(m_ctx.state.data, QStringLiteral("keyboard.bmp"));
    showRecord();
    adjustSize();
    CentreOnScreen(this);
}

void RecordWindow::showRecord()
{
    const QString scope = m_combo1->currentData().toString();
    m_combo1->clear();
    for (const RecordScope& s : RecordScopes(m_record.pageIds()))
        m_combo1->addItem(s.caption, s.prefix);
    m_combo1->setCurrentIndex(std::max(0, m_combo1->findData(scope)));

    const std::optional<StoredAttempt> speedTest = m_record.bestAttempt(SpeedTestScreen);
    const std::optional<StoredAttempt> graduation = m_record.bestAttempt(GraduationScreen);
    m_bests.clear();
    for (const auto& best : {speedTest, graduation}) {
        if (best)
            m_bests.append(*best);
    }
    m_label1->setText(QStringLiteral("記録：%1回　　最高タイム　スピードテスト %2　卒業試験 %3")
                          .arg(m_record.attemptCount())
                          .arg(BestTime(speedTest), BestTime(graduation)));
    showCharts();

    const QList<KeyCount> totals = m_record.keyTotals(RecentAttemptsForKeys);
    m_picture1->setKeyFills(HeatFills(KeyHeats(totals)));
    const QString missed = MostMissedLine(MostMissed(totals, 5));
    m_label3->setText(missed.isEmpty() ? QStringLiteral("ミスしたキーはありません。") : missed);

    m_attempts->reload();
}

void RecordWindow::showCharts()
{
    const QString scope = m_combo1->currentData().toString();
    const QList<DailyPoint> days = m_record.daily(scope);
    m_speed->showDays(days, BestMarks(m_bests, scope));
    m_accuracy->showDays(days);
}

void RecordWindow::Combo1_Click()
{
    showCharts();
}

void RecordWindow::Command1_Click()
{
    const PracticeLine practice = MakePracticeLine(m_record.keyTotals(RecentAttemptsForKeys), m_setup.practiceWords,
                                                   m_setup.homeRow, quint64(m_ctx.clock.nowMs()));
    const QString line = practice.line;
    if (practice.basis != PracticeLine::Basis::WeakKeys) {
        const QString why =
            practice.basis == PracticeLine::Basis::TooLittleHistory
                ? QStringLiteral("苦手なキーを選ぶには、記録がまだ足りません（最近の記録で打ったキーが%1回に満たない）。")
                      .arg(PracticeMinimumKeystrokes)
                : QStringLiteral("最近の記録には、ミスしたキーがありません。");
        if (!m_ctx.messages.ask(this, why + QStringLiteral("\rかわりにホームポジションを練習しますか？"),
                                MessageIcon::Information, ProgramTitle))
            return;
    }
    if (!m_setup.practise)
        return;
    m_setup.practise(this, line);
    // The practice page is recorded like any page.
    showRecord();
}

void RecordWindow::Command2_Click()
{
    if (!m_setup.chooseCsvFile)
        return;
    const QString suggested = m_ctx.state.folder.filePath(QStringLiteral("morvela-history.csv"));
    const QString path = m_setup.chooseCsvFile(this, suggested);
    if (path.isEmpty())
        return;
    QString error;
    if (!m_record.exportCsv(path, &error)) {
        m_ctx.showMessage(this,
                          QStringLiteral("学習記録（%1）をCSVファイル %2 に書き出せませんでした。\r%3")
                              .arg(HistoryFile, path, error),
                          MessageIcon::Error);
        return;
    }
    m_ctx.showMessage(this, QStringLiteral("学習記録をCSVファイル %1 に書き出しました。").arg(path),
                      MessageIcon::Information);
}

void RecordWindow::Command3_Click()
{
    const QString question = QStringLiteral("学習記録（%1）のすべての記録を消去します。消去した記録は元に戻せません。"
                                            "\rよろしいですか？（コースの進み具合は消えません）")
                                 .arg(HistoryFile);
    if (!m_ctx.messages.ask(this, question, MessageIcon::Warning, ProgramTitle))
        return;
    QString error;
    if (!m_record.clear(&error))
        m_ctx.showMessage(this, QStringLiteral("学習記録（%1）を消去できませんでした。\r%2").arg(HistoryFile, error),
                          MessageIcon::Error);
    showRecord();
}

void RecordWindow::Command4_Click()
{
    accept();
}

} // namespace morvela
