#include "lessons/WordDrillWindow.h"

#include "ui/AppContext.h"
#include "ui/Fonts.h"
#include "ui/LiveStrip.h"
#include "ui/NamedControls.h"
#include "ui/PictureBox.h"
#include "ui/TypingBox.h"
#include "ui/TypingColumn.h"
#include "ui/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

namespace {

// Half-width columns of the widest caption or drill text, with room to spare.
constexpr int DrillColumns = 67;

} // namespace

WordDrillWindow::WordDrillWindow(AppContext& ctx, int lesson, QWidget* parent)
    : TypingScreen(ctx, lesson, parent), m_drill(WordDrillLessonScript(lesson), ctx.state.progress, ctx.state.settings, ctx.clock)
{
    setObjectName(m_drill.script().windowName);
    buildControls();
}

void WordDrillWindow::buildControls()
{
    const WordDrillScript& script = m_drill.script();
    const QFont drillFont = AlignedDrillFont(this);
    const int columnWidth = TypingColumnWidth(drillFont, DrillColumns);

    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    QLabel* label1 = NamedLabel(QStringLiteral("Label1"), script.hint, this);
    label1->setWordWrap(true);
    label1->setFixedWidth(columnWidth);
    outer->addWidget(label1);
    outer->addSpacing(6);

    // Caption, text and box share one left edge and one fixed-pitch font, so
    // each word of Lesson 5's caption stands over its romaji and every typed
    // character under the one it answers.
    const TypingColumn column = MakeTypingColumn({QStringLiteral("Label6"), QStringLiteral("Label4")},
                                                 QStringLiteral("Text1"), drillFont, columnWidth, this);
    m_label6 = column.labels.at(0);
    m_label4 = column.labels.at(1);
    m_text1 = column.box;
    m_text1->setInputMethodWanted(script.inputMethod);
    m_text1->setJudge([this](char32_t key) { return Text1_KeyPress(key); });
    outer->addLayout(column.layout);

    m_label5 = NamedLabel(QStringLiteral("Label5"), QString(), this);
    m_label5->setWordWrap(true);
    m_label5->setFixedWidth(columnWidth);
    m_label5->setMinimumHeight(m_label5->fontMetrics().lineSpacing() * 2);
    outer->addWidget(m_label5);

    m_picture1 = new PictureBox(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    outer->addWidget(m_picture1, 0, Qt::AlignHCenter);

    m_command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("もう一度"), this);
    m_command5 = NamedButton(QStringLiteral("Command5"), QStringLiteral("<<前ページ"), this);
    m_command4 = NamedButton(QStringLiteral("Command4"), QStringLiteral("次ページ>>"), this);
    m_command6 = NamedButton(QStringLiteral("Command6"), QStringLiteral("目次へ"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_command1);
    buttons->addSpacing(18);
    buttons->addWidget(m_command5);
    buttons->addWidget(m_command4);
    if (!script.inputMethod) {
        // The keys missed most, in the room between the page buttons and
        // "目次へ": it takes only the room there is, so nothing else moves.
        m_missedKeys = MissedKeysLabel(this);
        buttons->addWidget(m_missedKeys, 1);
    }
    // The live strip in the same room; in Lesson 5 the room holds one of
    // the two lines at their widest, and the keys missed most come first.
    m_liveStrip = makeLiveStrip(m_drill.attempt(), script.inputMethod);
    PlaceLiveStrip(*buttons, m_liveStrip);
    if (m_missedKeys)
        buttons->setStretchFactor(m_liveStrip, 100); // nearly all the room while no keys are named
    buttons->addWidget(m_command6);
    outer->addLayout(buttons);

    connect(m_command1, &QPushButton::clicked, this, &WordDrillWindow::Command1_Click);
    connect(m_command4, &QPushButton::clicked, this, &WordDrillWindow::Command4_Click);
    connect(m_command5, &QPushButton::clicked, this, &WordDrillWindow::Command5_Click);
    connect(m_command6, &QPushButton::clicked, this, &WordDrillWindow::Command6_Click);

    // The typing box comes first, so the learner can type at once.
    setTabOrder(m_text1, m_command1);
    setTabOrder(m_command1, m_command5);
    setTabOrder(m_command5, m_command4);
    setTabOrder(m_command4, m_command6);
}

void WordDrillWindow::Form_Load()
{
    setWindowTitle(CourseTitle(m_drill.script().titleTag));
    m_picture1->loadPicture(m_ctx.state.data, QStringLiteral("keyboard.bmp"));
    apply(m_drill.open());
    adjustSize();
    CentreOnScreen(this);
}

void WordDrillWindow::render()
{
    const WordDrillScreen& s = m_drill.screen();
    m_label4->setText(s.drillText);
    if (m_text1->accessibleName() != s.drillText) // a change a screen reader hears
        m_text1->setAccessibleName(s.drillText);
    m_label5->setText(s.advice);
    m_label6->setText(s.caption);
    m_command4->setEnabled(s.nextPageEnabled);
    m_command5->setEnabled(s.previousPageEnabled);
    if (!m_missedKeys)
        return; // Lesson 6: the input method's keys are its own
    m_picture1->setKeyMark(MarkFor(m_drill.markedKey()));
    m_missedKeys->setText(m_drill.missedKeysLine());
    m_liveStrip->setVisible(m_missedKeys->text().isEmpty());
}

void WordDrillWindow::Command1_Click()
{
    apply(m_drill.again());
}

void WordDrillWindow::Command4_Click()
{
    apply(m_drill.nextPage());
}

void WordDrillWindow::Command5_Click()
{
    apply(m_drill.previousPage());
}

void WordDrillWindow::Command6_Click()
{
    reject(); // back to the menu; nothing is saved
}

KeyOutcome WordDrillWindow::Text1_KeyPress(char32_t key)
{
    return judged(m_drill.keyPress(key));
}

} // namespace morvela
