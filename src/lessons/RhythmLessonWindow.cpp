#include "lessons/RhythmLessonWindow.h"

#include "ui/AppContext.h"
#include "ui/ClickSound.h"
#include "ui/LiveStrip.h"
#include "ui/Fonts.h"
#include "ui/NamedControls.h"
#include "ui/PictureBox.h"
#include "ui/TypingBox.h"
#include "ui/TypingColumn.h"
#include "ui/WindowPlacement.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

namespace {

// Half-width columns of the widest drill line, instruction or caption.
constexpr int DrillColumns = 67;

// A lit beat: an orange that stands out on a light window and a dark one.
const QColor BeatLit(0xe0, 0x5a, 0x00);

} // namespace

RhythmLessonWindow::RhythmLessonWindow(AppContext& ctx, int lesson, QWidget* parent)
    : RhythmLessonWindow(ctx, RhythmLessonScript(lesson), parent)
{
}

RhythmLessonWindow::RhythmLessonWindow(AppContext& ctx, const LessonScript& script, QWidget* parent)
    : TypingScreen(ctx, script.practice ? -1 : script.lesson, parent),
      m_drill(script, ctx.state.progress, ctx.state.settings.RhythmInterval, ctx.clock)
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
    m_click = new ClickSound(ctx.openClicks, [&messages = ctx.messages] { messages.beep(); }, this);
    buildControls();
}

RhythmLessonWindow::~RhythmLessonWindow() = default;

void RhythmLessonWindow::buildControls()
{
    const LessonScript& script = m_drill.script();
    const QFont drillFont = AlignedDrillFont(this);

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
    // The attempt as it goes, in the room right of the metronome's buttons.
    PlaceLiveStrip(*speed, makeLiveStrip(m_drill.attempt(), false));
    outer->addLayout(speed);
    outer->addSpacing(6);

    // The drill column: caption, drill line and typing box share one left
    // edge, one width and one fixed-pitch font, so every typed character
    // stands under the character it answers and every word under its kanji.
    const int columnWidth = TypingColumnWidth(drillFont, DrillColumns);
    QStringList labelNames{QStringLiteral("Label4")};
    if (script.hasPageLabel())
        labelNames.prepend(QStringLiteral("Label6"));
    const TypingColumn column = MakeTypingColumn(labelNames, QStringLiteral("Text1"), drillFont, columnWidth, this);
    m_label4 = column.labels.last();
    if (script.hasPageLabel())
        m_label6 = column.labels.first();
    m_text1 = column.box;
    m_text1->setInputMethodWanted(false);
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

    auto* pages = new QHBoxLayout;
    pages->addWidget(m_command[5]);
    pages->addWidget(m_command[4]);
    // The keys missed most, in the room between the page buttons and
    // "目次へ": it takes only the room there is, so nothing else moves.
    m_missedKeys = MissedKeysLabel(this);
    pages->addWidget(m_missedKeys, 1);
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
    m_picture1->loadPicture(m_ctx.state.data, QStringLiteral("keyboard.bmp"));
    m_click->open(); // the sound is ready before the first tick
    apply(m_drill.open());
    adjustSize();
    CentreOnScreen(this);
}

void RhythmLessonWindow::render()
{
    const DrillScreen& s = m_drill.screen();
    m_label3->setText(s.levelDigit);
    m_label4->setText(s.drillText);
    if (m_text1->accessibleName() != s.drillText) // a change a screen reader hears
        m_text1->setAccessibleName(s.drillText);
    m_label5->setText(s.advice);
    if (m_label6)
        m_label6->setText(s.pageLabel);
    m_command[1]->setText(s.metronomeCaption);
    m_command[2]->setEnabled(s.fasterEnabled);
    m_command[3]->setEnabled(s.slowerEnabled);
    m_command[4]->setEnabled(s.nextPageEnabled);
    m_command[5]->setEnabled(s.previousPageEnabled);
    m_picture1->setKeyMark(MarkFor(m_drill.markedKey()));
    m_missedKeys->setText(m_drill.missedKeysLine());

    switch (MetronomeTimerChange(m_timer1.isActive(), m_timer1.interval(), s.interval)) {
    case TimerChange::Start:
        m_timer1.start(s.interval);
        m_click->startBeat(m_timer1.intervalAsDuration());
        break;
    case TimerChange::Stop:
        m_timer1.stop();
        m_click->stopBeat();
        m_beatOff.stop();
        flashBeat(false);
        break;
    case TimerChange::Keep:
        break;
    }
}

void RhythmLessonWindow::flashBeat(bool on)
{
    // The beat shows as well as sounds, for learners typing with the sound off.
    // Unlit it takes the theme's faint colour of a disabled caption: a fixed
    // light grey would look lit on a dark window.
    QPalette p = m_beat->palette();
    p.setColor(QPalette::WindowText, on ? BeatLit : palette().color(QPalette::Disabled, QPalette::WindowText));
    m_beat->setPalette(p);
}

void RhythmLessonWindow::Timer1_Timer()
{
    m_click->tick();
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

KeyOutcome RhythmLessonWindow::Text1_KeyPress(char32_t key)
{
    return judged(m_drill.keyPress(key));
}

void RhythmLessonWindow::done(int result)
{
    // However the window closes, the metronome stops with it.
    m_timer1.stop();
    m_beatOff.stop();
    m_click->close();
    QDialog::done(result);
}

} // namespace morvela
