#include "exam/F_kentei.h"

#include "ui/AppContext.h"
#include "ui/ApplyEffects.h"
#include "exam/F_miss.h"
#include "ui/ExamEditor.h"
#include "ui/WholeBorder.h"
#include "ui/ForeignText.h"
#include "ui/Fonts.h"
#include "ui/NamedControls.h"
#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace morvela {

namespace {

// The boxes hold lines of this many full-width characters without a
// scroll; exam texts have about 35.
constexpr int BoxColumns = 40;
constexpr int BoxLines = 9;

// A box of the exam, sized for BoxColumns x BoxLines in its font. Lines are
// never wrapped: a line on the screen is a line of the exam.
void SizeBox(QPlainTextEdit* box, const QFont& font)
{
    box->setFont(font);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    AddWholeBorder(box);
    const QFontMetrics m(font);
    const int frame = box->frameWidth();
    const int docMargin = int(box->document()->documentMargin());
    // Whole lines only: the text starts one document margin down, and no
    // part of the line after the last one shows.
    box->setFixedSize(m.horizontalAdvance(QString(BoxColumns, QChar(0x3000))) + 2 * (frame + docMargin) + 4
                          + box->verticalScrollBar()->sizeHint().width(),
                      m.lineSpacing() * BoxLines + 2 * frame + docMargin);
}

} // namespace

F_kentei::F_kentei(AppContext& ctx, ExamText exam, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_exam(std::move(exam)), m_session(ctx.state, ctx.clock)
{
    setObjectName(QStringLiteral("F_kentei"));
    m_timer1.setParent(this); // found by name like every control
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(1000);
    connect(&m_timer1, &QTimer::timeout, this, &F_kentei::Timer1_Timer);
    buildControls();
}

F_kentei::~F_kentei() = default;

void F_kentei::buildControls()
{
    const QFont font = AlignedDrillFont(this, 12);
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    // Text1: the model. It never keeps the focus and its text can be
    // neither selected nor copied, nor dragged anywhere; it scrolls.
    m_text1 = new QPlainTextEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setAccessibleName(QStringLiteral("問題文"));
    m_text1->setAccessibleDescription(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_text1->setTextInteractionFlags(Qt::NoTextInteraction);
    m_text1->setUndoRedoEnabled(false);
    m_text1->setFocusPolicy(Qt::NoFocus);
    m_text1->setAttribute(Qt::WA_InputMethodEnabled, false);
    RefuseDropsAndContextMenu(m_text1);
    m_text1->viewport()->setCursor(Qt::ArrowCursor);
    m_text1->installEventFilter(this);
    m_text1->viewport()->installEventFilter(this);
    SizeBox(m_text1, font);

    // Text2: the typed text, with the input method on; only its first key
    // press is watched.
    m_text2 = new ExamEditor(this);
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_text2->setAccessibleName(QStringLiteral("入力欄"));
    m_text2->setAccessibleDescription(QStringLiteral("Text2"));
    m_text2->setAttribute(Qt::WA_InputMethodEnabled, true);
    // Tab goes on to "入力完了", as in the multi-line text boxes of the
    // desktop the exam comes from; a tab character is never in a model.
    m_text2->setTabChangesFocus(true);
    SizeBox(m_text2, font);
    connect(m_text2, &ExamEditor::firstKeyPress, this, &F_kentei::Text2_KeyPress);

    auto* label1 = NamedLabel(QStringLiteral("Label1"), ExamInstruction, this);
    label1->setWordWrap(true);
    label1->setFixedWidth(m_text1->width());
    m_label2 = NamedLabel(QStringLiteral("Label2"), QString(), this);
    m_label3 = NamedLabel(QStringLiteral("Label3"), QString(), this);
    for (QLabel* l : {label1, m_label2, m_label3})
        l->setAccessibleDescription(l->objectName());

    m_command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("入力完了"), this);
    m_command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("間違箇所"), this);
    m_command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("目次へ"), this);
    connect(m_command1, &QPushButton::clicked, this, &F_kentei::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &F_kentei::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &F_kentei::Command3_Click);

    outer->addWidget(m_text1);
    outer->addWidget(label1);
    outer->addWidget(m_text2);
    auto* results = new QHBoxLayout;
    results->addWidget(m_label2);
    results->addSpacing(24);
    results->addWidget(m_label3);
    results->addStretch(1);
    outer->addLayout(results);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_command1);
    buttons->addWidget(m_command2);
    buttons->addStretch(1);
    buttons->addWidget(m_command3);
    outer->addLayout(buttons);

    setTabOrder(m_text2, m_command1);
    setTabOrder(m_command1, m_command2);
    setTabOrder(m_command2, m_command3);
}

void F_kentei::Form_Load()
{
    setWindowTitle(ExamWindowTitle);
    const ScreenEffects effects = m_session.open(m_exam);
    m_text1->setPlainText(m_session.model());
    m_text2->clear();
    m_text2->watchFirstKey();
    render();
    adjustSize();
    CentreOnScreen(this);
    ApplyEffects(m_ctx, *this, -1, effects);
}

void F_kentei::render()
{
    const ExamScreen& s = m_session.screen();
    m_label2->setText(s.elapsedText);
    m_label3->setText(s.mistakesText);
    m_command1->setEnabled(s.completeEnabled);
    m_command2->setEnabled(s.mistakeListEnabled);
    m_command3->setEnabled(s.menuEnabled);
    if (s.clockRunning && !m_timer1.isActive())
        m_timer1.start();
    else if (!s.clockRunning)
        m_timer1.stop();
}

void F_kentei::Text1_GotFocus()
{
    m_text2->setFocus();
}

void F_kentei::Text2_KeyPress()
{
    m_session.keyPress();
    render();
}

void F_kentei::Timer1_Timer()
{
    m_session.tick();
    render();
}

void F_kentei::Command1_Click()
{
    const ScreenEffects effects = m_session.complete(TypedTextFromEditor(m_text2->toPlainText()));
    m_text2->watchFirstKey(); // the next key press starts a new attempt
    render();
    ApplyEffects(m_ctx, *this, -1, effects); // the comparison shows behind a work file's message
}

void F_kentei::Command2_Click()
{
    m_ctx.runScreen<F_miss>(this);
}

void F_kentei::Command3_Click()
{
    reject(); // back to the menu
}

void F_kentei::done(int result)
{
    // However the window closes, the clock stops with it.
    m_session.close();
    m_timer1.stop();
    QDialog::done(result);
}

bool F_kentei::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text1 || watched == m_text1->viewport()) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            Text1_GotFocus();
            return event->type() != QEvent::FocusIn;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void F_kentei::keyPressEvent(QKeyEvent* e)
{
    // Escape does not end the exam and drop what was typed; "目次へ" or the
    // window's close button do.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void RunExam(AppContext& ctx, QWidget* parent, const FolderEntry& file)
{
    ExamText exam = LoadExamText(file);
    if (!exam.problem.isEmpty()) {
        ctx.showMessage(parent, exam.problem, MessageIcon::Error);
        return;
    }
    ctx.runScreen<F_kentei>(parent, std::move(exam));
}

} // namespace morvela
