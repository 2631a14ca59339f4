#include "lessons/RhythmLessonWindow.h"

#include "core/AppContext.h"
#include "ui/ClickSound.h"
#include "ui/Fonts.h"
#include "ui/NamedControls.h"
#include "ui/PictureBox.h"
#include "ui/WindowPlacement.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

namespace {

// QLineEdit keeps its text this many pixels inside its contents rectangle.
constexpr int LineEditTextMargin = 2;

// Half-width columns of the widest drill line, instruction or caption.
constexpr int DrillColumns = 67;

// The drill font, in a size where a full-width character is exactly two
// half-width ones on this machine; otherwise captions drift off their romaji.
QFont AlignedDrillFont()
{
    QFont font = DrillFont(13.5);
    if (FullWidthIsTwoHalfWidths(font))
        return font;
    const int pixels = QFontMetrics(font).height();
    for (int delta : {0, 1, -1, 2, -2}) {
        QFont sized = font;
        sized.setPixelSize(pixels + delta);
        if (FullWidthIsTwoHalfWidths(sized))
            return sized;
    }
    return font;
}

} // namespace

RhythmLessonWindow::RhythmLessonWindow(AppContext& ctx, int lesson, QWidget* parent)
    : QDialog(parent), m_ctx(ctx),
      m_drill(RhythmLessonScript(lesson), ctx.state.progress, ctx.state.settings.RhythmInterval)
{
    setObjectName(m_drill.script().windowName);
    m_timer1.setParent(this); // found by name like every control
    m_beatOff.setParent(this);
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setTimerType(Qt::PreciseTimer);
    connect(&m_timer1, &QTimer::timeout, this, &RhythmLessonWindow::Timer1_Timer);
    m_beatOff.setSingleShot(true);
    m_beatOff.setInterval(120);
    connect(&m_beatOff, &QTimer::timeout, this, [this] { flashBeat(false); });
    m_click = new ClickSound(this);
    buildControls();
}

RhythmLessonWindow::~RhythmLessonWindow() = default;

void RhythmLessonWindow::buildControls()
{
    const LessonScript& script = m_drill.script();
    const QFont drillFont = AlignedDrillFont();
    const QFontMetrics drillMetrics(drillFont);

    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* label1 = NamedLabel(QStringLiteral("Label1"), script.hint, this);
    outer->addWidget(label1);

    // Speed level, the beat, and the metronome's buttons.
    auto* speed = new QHBoxLayout;
    speed->addWidget(NamedLabel(QStringLiteral("Label2"), QStringLiteral("速さレベル："), this));
    m_label3 = NamedLabel(QStringLiteral("Label3"), QString(), this);
    speed->addWidget(m_label3);
    m_beat = NamedLabel(QStringLiteral("Beat"), QStringLiteral("●"), this);
    m_beat->setToolTip(QStringLiteral("拍"));
    speed->addSpacing(6);
    speed->addWidget(m_beat);
    speed->addSpacing(18);
    const char* captions[] = {nullptr, "音停止", "速く", "遅く", "次ページ>>", "<<前ページ", "目次へ"};
    for (int i = 1; i <= 6; ++i) {
        m_command[i] = NamedButton(QStringLiteral("Command%1").arg(i), QString::fromUtf8(captions[i]), this);
    }
    // Wide enough for all three captions of the metronome switch.
    m_command[1]->setMinimumWidth(m_command[1]->fontMetrics().horizontalAdvance(MetronomeCaption::Again) + 24);
    speed->addWidget(m_command[1]);
    speed->addWidget(m_command[2]);
    speed->addWidget(m_command[3]);
    speed->addStretch(1);
    outer->addLayout(speed);
    outer->addSpacing(6);

    // The drill column: caption, drill line and typing box share one left
    // edge, one width and one fixed-pitch font, so every typed character
    // stands under the character it answers and every word under its kanji.
    auto* box = new QFrame(this);
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    box->setLineWidth(1);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    m_text1 = new TypingBox(box);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(drillFont);
    m_text1->setFrame(false);
    m_text1->setTextMargins(0, 0, 0, 0);
    m_text1->setInputMethodWanted(false);
    m_text1->setJudge([this](char32_t key) { return Text1_KeyPress(key); });
    boxLayout->addWidget(m_text1);

    const int textX = box->frameWidth() + LineEditTextMargin;
    const int columnWidth = 2 * box->frameWidth() + 2 * LineEditTextMargin + 2
        + drillMetrics.horizontalAdvance(QString(DrillColumns, QLatin1Char('m')));
    box->setFixedWidth(columnWidth);

    auto drillLabel = [&](const QString& name) {
        QLabel* l = NamedLabel(name, QString(), this);
        l->setFont(drillFont);
        l->setFixedWidth(columnWidth);
        l->setContentsMargins(textX, 0, 0, 0);
        l->setIndent(0);
        l->setMargin(0);
        return l;
    };
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    if (script.hasPageLabel()) {
        m_label6 = drillLabel(QStringLiteral("Label6"));
        column->addWidget(m_label6);
    }
    m_label4 = drillLabel(QStringLiteral("Label4"));
    column->addWidget(m_label4);
    column->addWidget(box);
    outer->addLayout(column);

    m_label5 = NamedLabel(QStringLiteral("Label5"), QString(), this);
    m_label5->setWordWrap(true);
    m_label5->setFixedWidth(columnWidth);
    m_label5->setMinimumHeight(m_label5->fontMetrics().lineSpacing() * 2);
    outer->addWidget(m_label5);

    m_picture1 = new PictureBox(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    outer->addWidget(m_picture1, 0, Qt::AlignHCenter);

    auto* pages = new QHBoxLayout;
    pages->addWidget(m_command[5]);
    pages->addWidget(m_command[4]);
    pages->addStretch(1);
    pages->addWidget(m_command[6]);
    outer->addLayout(pages);

    label1->setWordWrap(true);
    label1->setFixedWidth(columnWidth);

    connect(m_command[1], &QPushButton::clicked, this, &RhythmLessonWindow::Command1_Click);
    connect(m_command[2], &QPushButton::clicked, this, &RhythmLessonWindow::Command2_Click);
    connect(m_command[3], &QPushButton::clicked, this, &RhythmLessonWindow::Command3_Click);
    connect(m_command[4], &QPushButton::clicked, this, &RhythmLessonWindow::Command4_Click);
    connect(m_command[5], &QPushButton::clicked, this, &RhythmLessonWindow::Command5_Click);
    connect(m_command[6], &QPushButton::clicked, this, &RhythmLessonWindow::Command6_Click);

    // The typing box comes first, so the learner can type at once.
    setTabOrder(m_text1, m_command[1]);
    for (int i = 1; i < 6; ++i)
        setTabOrder(m_command[i], m_command[i + 1]);
    flashBeat(false);
}

void RhythmLessonWindow::Form_Load()
{
    setWindowTitle(CourseTitle(m_drill.script().titleTag));
    m_picture1->loadPicture(m_ctx.state.folder, QStringLiteral("keyboard.bmp"));
    apply(m_drill.open());
    adjustSize();
    CentreOnScreen(this);
}

void RhythmLessonWindow::apply(const DrillEffects& effects)
{
    if (effects.clearText1)
        m_text1->clear();
    render();
    if (effects.lessonStateShown)
        m_ctx.showRowState(m_drill.script().lesson);
    if (effects.save)
        m_ctx.saveProgress(this);
    if (effects.lessonEnded) {
        m_ctx.showMessage(this, m_drill.script().endMessage, MessageIcon::Information);
        accept();
        return;
    }
    if (effects.focus == DrillFocus::Command4 && m_command[4]->isEnabled())
        m_command[4]->setFocus();
    else
        m_text1->setFocus();
}

void RhythmLessonWindow::render()
{
    const DrillScreen& s = m_drill.screen();
    m_label3->setText(s.Label3);
    m_label4->setText(s.Label4);
    m_label5->setText(s.Label5);
    if (m_label6)
        m_label6->setText(s.Label6);
    m_command[1]->setText(s.Command1);
    m_command[2]->setEnabled(s.Command2Enabled);
    m_command[3]->setEnabled(s.Command3Enabled);
    m_command[4]->setEnabled(s.Command4Enabled);
    m_command[5]->setEnabled(s.Command5Enabled);

    // Restart the metronome only when its tempo changes: a restart on every
    // key would hold the beat back while the learner types.
    if (s.interval <= 0) {
        m_timer1.stop();
        m_beatOff.stop();
        flashBeat(false);
    } else if (!m_timer1.isActive() || m_timer1.interval() != s.interval) {
        m_timer1.start(s.interval);
    }
}

void RhythmLessonWindow::flashBeat(bool on)
{
    // The beat shows as well as sounds, for learners typing with the sound off.
    m_beat->setStyleSheet(on ? QStringLiteral("color: #e05a00;") : QStringLiteral("color: #c8c8c8;"));
}

void RhythmLessonWindow::Timer1_Timer()
{
    m_click->play();
    flashBeat(true);
    m_beatOff.start();
}

int RhythmLessonWindow::clicks() const
{
    return m_click->clicks();
}

void RhythmLessonWindow::Command1_Click()
{
    apply(m_drill.switchMetronome());
}

void RhythmLessonWindow::Command2_Click()
{
    apply(m_drill.faster());
}

void RhythmLessonWindow::Command3_Click()
{
    apply(m_drill.slower());
}

void RhythmLessonWindow::Command4_Click()
{
    apply(m_drill.nextPage());
}

void RhythmLessonWindow::Command5_Click()
{
    apply(m_drill.previousPage());
}

void RhythmLessonWindow::Command6_Click()
{
    reject(); // back to the menu; nothing is saved
}

TypingBox::Verdict RhythmLessonWindow::Text1_KeyPress(char32_t key)
{
    const DrillKey k = m_drill.keyPress(key);
    if (k.judged)
        apply(k.effects);
    return k.accepted ? TypingBox::Verdict::Accept : TypingBox::Verdict::Refuse;
}

void RhythmLessonWindow::done(int result)
{
    // However the window closes, the metronome stops with it.
    m_timer1.stop();
    m_beatOff.stop();
    QDialog::done(result);
}

void RunRhythmLesson(AppContext& ctx, int lesson, QWidget* menu)
{
    RhythmLessonWindow window(ctx, lesson, menu);
    window.Form_Load();
    ctx.runner.run(window);
}

} // namespace morvela
