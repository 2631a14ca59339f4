#include "lessons/GraduationWindows.h"

#include "ui/AppContext.h"
#include "lessons/GraduationTexts.h"
#include "ui/NamedControls.h"
#include "ui/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

namespace {

constexpr int GraduationRow = 9;
// Result windows wrap their long lines at this width.
constexpr int ResultWidth = 460;

} // namespace

GraduationExamWindow::GraduationExamWindow(AppContext& ctx, QWidget* parent)
    : TypingScreen(ctx, GraduationRow, parent), m_exam(ctx.state.progress, ctx.clock)
{
    setObjectName(GraduationTexts::WindowName);
    m_page = BuildSentencePage(*this, m_exam.script(), GraduationTexts::Instruction, false,
                               makeLiveStrip(m_exam.attempt(), true));
    m_page.lines->setJudge([this](int line, char32_t key) { return T_KeyPress(line, key); });
    connect(m_page.command3, &QPushButton::clicked, this, &GraduationExamWindow::Command3_Click);
    connect(m_page.command1, &QPushButton::clicked, this, &GraduationExamWindow::Command1_Click);
}

void GraduationExamWindow::Form_Load()
{
    LoadSentencePage(*this, m_page, m_exam.script(), GraduationTexts::TitleTag);
    apply(m_exam.open());
}

void GraduationExamWindow::showResultScreen(const QString& screen)
{
    m_ctx.runScreen<GraduationResultWindow>(this, screen, m_exam.examTime(),
                                            m_ctx.state.progress.BestGraduationTime);
}

KeyOutcome GraduationExamWindow::T_KeyPress(int line, char32_t key)
{
    return judged(m_exam.keyPress(line, key));
}

void GraduationExamWindow::Command3_Click()
{
    apply(m_exam.again());
}

void GraduationExamWindow::Command1_Click()
{
    apply(m_exam.toMenu()); // nothing is saved
}

GraduationResultWindow::GraduationResultWindow(AppContext& ctx, const QString& screen, const QString& examTime,
                                               const QString& bestTime, QWidget* parent)
    : QDialog(parent), m_ctx(ctx)
{
    setObjectName(screen);
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setContentsMargins(20, 16, 20, 16);
    const bool passed = screen == GraduationTexts::PassedScreen;
    for (const ResultLabel& line : GraduationResultLabels(screen, examTime, bestTime)) {
        QLabel* label = NamedLabel(line.name, line.text, this);
        label->setWordWrap(true);
        label->setFixedWidth(ResultWidth);
        // The pass banner (circles and congratulations) stands centred.
        if (passed && line.name <= QLatin1String("Label3"))
            label->setAlignment(Qt::AlignHCenter);
        outer->addWidget(label);
        if (line.name == QLatin1String("Label3") || line.name == QLatin1String("Label4"))
            outer->addSpacing(8);
    }
    auto* ok = NamedButton(QStringLiteral("Command1"), QStringLiteral("OK"), this);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addStretch(1);
    outer->addSpacing(8);
    outer->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &GraduationResultWindow::Command1_Click);
    ok->setFocus();
}

void GraduationResultWindow::Form_Load()
{
    setWindowTitle(GraduationTexts::ResultCaption);
    adjustSize();
    CentreOnScreen(this);
    m_ctx.messages.beep();
}

} // namespace morvela
