#include "app/F_mokuji.h"

#include "ui/AppContext.h"
#include "app/CourseGates.h"
#include "app/Hints.h"
#include "app/Startup.h"
#include "app/WebLinks.h"
#include "ui/NamedControls.h"
#include "ui/PictureBox.h"
#include "ui/PictureCheck.h"
#include "ui/WindowPlacement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace morvela {

namespace {

const std::array<QString, 10> kRowDescriptions{
    QStringLiteral("イントロダクション（ここから始めて下さい)"),
    QStringLiteral("五本指を使ってみよう（ホームポジションに慣れる）"),
    QStringLiteral("ローマ字を打ってみよう（a～no)"),
    QStringLiteral("ローマ字を打ってみよう（ha～nn)"),
    QStringLiteral("ローマ字を打ってみよう（濁音・半濁音）"),
    QStringLiteral("ローマ字を打ってみよう（拗音・撥音・促音）"),
    QStringLiteral("かな漢字変換に挑戦（単語を入力してみる）"),
    QStringLiteral("かな漢字変換に挑戦（文章を入力してみる）"),
    QStringLiteral("かな漢字変換に挑戦（カタカナ・英文字混じり文）"),
    QStringLiteral("規定時間内で文章が入力できれば卒業です。"),
};

} // namespace

F_mokuji::F_mokuji(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("F_mokuji"));
    buildControls();
}

void F_mokuji::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    // The window manager is told the menu's one size, so a tiling desktop
    // cannot stretch its rows apart.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    auto* label1 = NamedLabel(QStringLiteral("Label1"),
                              QStringLiteral("Lessonを選択して下さい。前のLessonが終わらないと、次には進めません。"
                                             "一度終了したLessonは、何度でも練習できます。"),
                              this);
    label1->setWordWrap(true);
    outer->addWidget(label1);

    auto* course = new QGridLayout;
    course->setHorizontalSpacing(8);
    for (int row = 0; row < CourseRowCount; ++row) {
        auto* hint = NamedButton(QStringLiteral("Command%1").arg(16 + row), QStringLiteral("？"), this);
        // Ten buttons read "？": a screen reader tells them apart by the page
        // each one opens.
        hint->setAccessibleDescription(HintPages()[size_t(row)].title);
        hint->setFixedWidth(hint->sizeHint().height() + 8);
        connect(hint, &QPushButton::clicked, this, [this, row] { HintButton_Click(row); });

        auto* status = new QLineEdit(this);
        status->setObjectName(QStringLiteral("Text%1").arg(row + 1));
        // A screen reader says whose state it is.
        status->setAccessibleName((row == 9 ? QStringLiteral("卒業試験") : QStringLiteral("Lesson%1").arg(row))
                                  + QStringLiteral("の状態"));
        status->setReadOnly(true);
        status->setFocusPolicy(Qt::NoFocus);
        status->setAlignment(Qt::AlignCenter);
        status->setFixedWidth(status->fontMetrics().horizontalAdvance(QStringLiteral("練習中")) + 24);
        m_statusBoxes[size_t(row)] = status;

        const QString caption = row == 9 ? QStringLiteral("卒業試験") : QStringLiteral("Lesson%1").arg(row);
        auto* lesson = NamedButton(QStringLiteral("Command%1").arg(row + 1), caption, this);
        lesson->setMinimumWidth(lesson->fontMetrics().horizontalAdvance(QStringLiteral("卒業試験")) + 28);
        connect(lesson, &QPushButton::clicked, this, [this, row] { CourseButton_Click(row); });

        auto* description = NamedLabel(QStringLiteral("Label%1").arg(row + 2), kRowDescriptions[size_t(row)], this);

        course->addWidget(hint, row, 0);
        course->addWidget(status, row, 1);
        course->addWidget(lesson, row, 2);
        course->addWidget(description, row, 3);
    }
    course->setColumnStretch(3, 1);
    outer->addLayout(course);

    auto* bottom = new QHBoxLayout;
    auto* frame1 = new QGroupBox(QStringLiteral("ゲーム"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* gameRow = new QHBoxLayout(frame1);
    auto* command14 = NamedButton(QStringLiteral("Command14"), QStringLiteral("開始"), frame1);
    connect(command14, &QPushButton::clicked, this, &F_mokuji::Command14_Click);
    m_label12 = NamedLabel(QStringLiteral("Label12"), QString(), frame1);
    m_label12->setMinimumWidth(m_label12->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    m_label12->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gameRow->addWidget(command14);
    gameRow->addWidget(NamedLabel(QStringLiteral("Label13"), QStringLiteral("ﾊｲｽｺｱ"), frame1));
    gameRow->addWidget(m_label12);

    auto* frame2 = new QGroupBox(QStringLiteral("ワープロ検定模試"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* examRow = new QHBoxLayout(frame2);
    m_combo1 = new QComboBox(frame2);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setEditable(false);
    m_combo1->setMinimumContentsLength(12);
    m_combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combo1->installEventFilter(this);
    auto* command12 = NamedButton(QStringLiteral("Command12"), QStringLiteral("開始"), frame2);
    connect(command12, &QPushButton::clicked, this, &F_mokuji::Command12_Click);
    examRow->addWidget(m_combo1, 1);
    examRow->addWidget(command12);

    auto* exits = new QGridLayout;
    auto* command26 = NamedButton(QStringLiteral("Command26"), QStringLiteral("Ostrel"), this);
    auto* command11 = NamedButton(QStringLiteral("Command11"), QStringLiteral("Option"), this);
    auto* command13 = NamedButton(QStringLiteral("Command13"), QStringLiteral("終了"), this);
    connect(command26, &QPushButton::clicked, this, &F_mokuji::Command26_Click);
    connect(command11, &QPushButton::clicked, this, &F_mokuji::Command11_Click);
    connect(command13, &QPushButton::clicked, this, &F_mokuji::Command13_Click);
    // The record sits in the one free cell of the corner, above "Option",
    // beside "Ostrel": its caption is narrower than "Option"'s, and it is
    // no taller than "Ostrel" (a Japanese caption's line is taller than a
    // Latin one), so nothing else of the menu moves for it.
    auto* command15 = NamedButton(QStringLiteral("Command15"), QStringLiteral("記録"), this);
    command15->setMaximumHeight(command26->sizeHint().height());
    connect(command15, &QPushButton::clicked, this, &F_mokuji::Command15_Click);
    exits->addWidget(command15, 0, 0);
    exits->addWidget(command26, 0, 1);
    exits->addWidget(command11, 1, 0);
    exits->addWidget(command13, 1, 1);
    exits->setAlignment(Qt::AlignBottom | Qt::AlignRight);

    bottom->addWidget(frame1);
    bottom->addWidget(frame2, 1);
    bottom->addSpacing(24);
    bottom->addLayout(exits);
    outer->addSpacing(6);
    outer->addLayout(bottom);
}

bool F_mokuji::Form_Load()
{
    // Steps in the order the program has always taken them.
    const QString missing = MissingDataFileMessage(
        m_ctx.state.data, [](const QString& path) { return PictureFault(path, KeyboardPictureSize); });
    if (!missing.isEmpty()) {
        m_ctx.showMessage(this, missing);
        return false;
    }
    adjustSize();
    CentreOnScreen(this);
    setWindowTitle(ProgramTitle);
    const QString notice = PrepareRecords(m_ctx.state);
    refreshStatusBoxes();
    showHighScore();
    ApplyOptionCode(m_ctx.state.settings, m_ctx.state.progress.optionCodeValue());
    fillExamList();
    if (!notice.isEmpty())
        m_ctx.showMessage(this, notice, MessageIcon::Warning);
    return true;
}

void F_mokuji::showHighScore()
{
    m_label12->setText(QString::number(m_ctx.state.GameHighScore));
    // However long the score, it is shown whole: the window grows for it.
    m_label12->setMinimumWidth(qMax(m_label12->minimumWidth(), m_label12->sizeHint().width()));
    if (layout())
        layout()->activate();
    if (width() < minimumSizeHint().width())
        adjustSize();
}

namespace {
// Each entry of the exam list carries its own file, so two names that read
// alike still open two files.
constexpr int ExamFileNameRole = Qt::UserRole;
constexpr int ExamNativePathRole = Qt::UserRole + 1;
} // namespace

void F_mokuji::fillExamList()
{
    m_combo1->clear();
    for (const FolderEntry& file : ExamFiles(m_ctx.state)) {
        m_combo1->addItem(ExamName(file));
        m_combo1->setItemData(m_combo1->count() - 1, file.name, ExamFileNameRole);
        m_combo1->setItemData(m_combo1->count() - 1, file.nativePath, ExamNativePathRole);
    }
    m_combo1->setCurrentIndex(m_combo1->count() > 0 ? 0 : -1);
}

std::optional<FolderEntry> F_mokuji::chosenExam() const
{
    const int i = m_combo1->currentIndex();
    if (i < 0)
        return std::nullopt;
    return FolderEntry{m_combo1->itemData(i, ExamFileNameRole).toString(),
                       m_combo1->itemData(i, ExamNativePathRole).toByteArray()};
}

void F_mokuji::refreshStatusBoxes()
{
    for (int row = 0; row < CourseRowCount; ++row)
        refreshRowState(row);
}

void F_mokuji::refreshRowState(int row)
{
    m_statusBoxes[size_t(row)]->setText(RowState(m_ctx.state.progress, row));
}

void F_mokuji::CourseButton_Click(int row)
{
    if (!GateOpen(m_ctx.state.progress, row)) {
        m_ctx.showMessage(this, GateMessage(row), MessageIcon::Warning);
        return;
    }
    if (!m_courseScreens[size_t(row)])
        return;
    hide();
    m_courseScreens[size_t(row)]();
    show();
}

void F_mokuji::HintButton_Click(int row)
{
    if (!GateOpen(m_ctx.state.progress, row)) {
        m_ctx.showMessage(this, GateMessage(row), MessageIcon::Warning);
        return;
    }
    if (m_hintPages[size_t(row)])
        m_hintPages[size_t(row)]();
}

void F_mokuji::Command11_Click()
{
    if (!m_options)
        return;
    m_options();
    refreshStatusBoxes();
}

void F_mokuji::Command12_Click()
{
    const QString missing = MissingExamMessage(chosenExam(), m_combo1->currentText());
    if (!missing.isEmpty()) {
        m_ctx.showMessage(this, missing, MessageIcon::Error);
        return;
    }
    if (m_exam)
        m_exam();
}

void F_mokuji::Command13_Click()
{
    // After a failed save the program stays open: the learner can make room
    // and press "終了" again, or close the window to leave without saving.
    // Where nothing can ever be saved (a read-only folder) that window is
    // the only way out, so the message says so.
    if (m_ctx.saveProgress(this, QStringLiteral("保存せずに終わるには、このウィンドウを閉じてください。")))
        emit quitRequested();
}

void F_mokuji::Command14_Click()
{
    if (!m_game)
        return;
    setEnabled(false);
    m_game();
    setEnabled(true);
    showHighScore();
    m_ctx.saveGameScore(this);
}

void F_mokuji::Command15_Click()
{
    if (m_record)
        m_record();
}

void F_mokuji::Command26_Click()
{
    // Said first, since the page opens only with internet access; the
    // desktop's answer is not examined.
    m_ctx.showMessage(this, HomePageInvitation);
    m_ctx.links.open(QUrl(HomePageAddress));
}

bool F_mokuji::eventFilter(QObject* watched, QEvent* event)
{
    // The exam list changes only by choosing from it: typed keys are dropped.
    if (watched == m_combo1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key != Qt::Key_Tab && key != Qt::Key_Backtab;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace morvela
