#include "game/F_game.h"

#include "ui/AppContext.h"
#include "game/GamePixmaps.h"
#include "game/GameRandom.h"
#include "game/WordTable.h"
#include "ui/NamedControls.h"
#include "ui/TypingBox.h"
#include "ui/WindowPlacement.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <cmath>

namespace morvela {

namespace {

// The words fall over a night sky that is the same in every theme, so they
// are drawn in white (the target in yellow) in every theme too.
const QColor White(255, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Green(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor Cyan(0, 255, 255);

// The background picture's size, in twips at 15 to a pixel.
constexpr int BackgroundWidth = 539 * 15, BackgroundHeight = 414 * 15;

// The bar's design, and Text1 within it.
constexpr int Text1Left = 1020, Text1Width = 5955;

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    if (p.color(QPalette::WindowText) == colour)
        return;
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

QFont sized(QFont font, int points, bool bold = false)
{
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

// The font at its size, or smaller where the caption would be wider than
// `maxWidth` on `window`: the bold Latin of a Japanese font runs wide.
QFont fittingFont(QFont font, const QString& caption, int maxWidth, const QWidget* window)
{
    while (font.pointSize() > 8 && QFontMetrics(font, window).horizontalAdvance(caption) > maxWidth)
        font.setPointSize(font.pointSize() - 1);
    return font;
}

QLabel* notice(const QString& name, const QString& caption, const QFont& font, const QColor& colour, QWidget* parent)
{
    QLabel* label = NamedLabel(name, caption, parent);
    label->setFont(font);
    setTextColour(label, colour);
    label->adjustSize();
    label->hide();
    return label;
}

} // namespace

F_game::F_game(AppContext& ctx, GameRun& run, QList<WordEntry> words, QWidget* parent)
    : TypingScreen(ctx, -1, parent), m_pixelsPerTwip(logicalDpiY() / 1440.0), m_invaderFont(sized(font(), 18)),
      m_probe(NamedLabel(QString(), QString(), this)),
      m_engine(std::move(words), *run.random, [this](const QString& caption) { return measureInvader(caption); },
               ctx.state.GameHighScore, run.MarchPhase, ctx.clock),
      m_background(GamePixmap(QStringLiteral("background"), devicePixelRatioF()))
{
    setObjectName(QStringLiteral("F_game"));
    m_probe->setFont(m_invaderFont);
    m_probe->hide();
    const std::array<std::pair<QTimer*, const char*>, 4> timers{
        {{&m_timer1, "Timer1"}, {&m_timer2, "Timer2"}, {&m_timer3, "Timer3"}, {&m_timer4, "Timer4"}}};
    for (const auto& [timer, name] : timers) {
        timer->setParent(this); // found by name like every control
        timer->setObjectName(QString::fromLatin1(name));
    }
    m_timer2.setInterval(BeamTickInterval);
    m_timer3.setInterval(CleanUpInterval);
    m_timer4.setInterval(StagePauseInterval);
    connect(&m_timer1, &QTimer::timeout, this, &F_game::Timer1_Timer);
    connect(&m_timer2, &QTimer::timeout, this, &F_game::Timer2_Timer);
    connect(&m_timer3, &QTimer::timeout, this, &F_game::Timer3_Timer);
    connect(&m_timer4, &QTimer::timeout, this, &F_game::Timer4_Timer);
    buildControls();
}

F_game::~F_game() = default;

int F_game::px(double twips) const
{
    return int(std::lround(twips * m_pixelsPerTwip));
}

QRect F_game::box(double left, double top, double width, double height) const
{
    return QRect(px(left), px(top), px(width), px(height));
}

TwipsSize F_game::measureInvader(const QString& caption) const
{
    m_probe->setText(caption);
    const QSize size = m_probe->sizeHint();
    return {int(std::lround(size.width() / m_pixelsPerTwip)), int(std::lround(size.height() / m_pixelsPerTwip))};
}

void F_game::buildControls()
{
    setFixedSize(px(PlayFieldWidth), px(PlayFieldHeight));

    // Bottom to top: the invaders, the beam and the explosion, the points,
    // the bar with its buttons, and the notices over everything.
    for (int i = 0; i < InvaderCount; ++i) {
        QLabel* invader = NamedLabel(QStringLiteral("invader"), QString(), this);
        invader->setProperty("Index", i);
        invader->setAccessibleDescription(QStringLiteral("invader(%1)").arg(i));
        invader->setFont(m_invaderFont);
        invader->hide();
        m_invaders[size_t(i)] = invader;
    }

    m_picture2 = new QLabel(this);
    m_picture2->setObjectName(QStringLiteral("Picture2"));
    m_picture2->setPixmap(GamePixmap(QStringLiteral("beam"), devicePixelRatioF()));
    m_picture2->setScaledContents(true); // alike all the way up, drawn to any length
    m_picture2->hide();

    m_picture3 = new QLabel(this);
    m_picture3->setObjectName(QStringLiteral("Picture3"));
    const QPixmap explosion = GamePixmap(QStringLiteral("explosion"), devicePixelRatioF());
    QPixmap shownExplosion = explosion.scaled(explosion.size() * (m_pixelsPerTwip * 15), Qt::KeepAspectRatio,
                                              Qt::SmoothTransformation);
    shownExplosion.setDevicePixelRatio(explosion.devicePixelRatio());
    m_picture3->setPixmap(shownExplosion);
    m_picture3->setAlignment(Qt::AlignCenter);
    m_picture3->resize(px(ExplosionWidth), px(ExplosionHeight));
    m_picture3->hide();

    m_score = NamedLabel(QStringLiteral("score"), QString(), this);
    m_score->setFont(sized(font(), 11, true));
    m_score->setAutoFillBackground(true);
    QPalette scorePalette = m_score->palette();
    scorePalette.setColor(QPalette::Window, Qt::black);
    scorePalette.setColor(QPalette::WindowText, Cyan);
    m_score->setPalette(scorePalette);
    m_score->hide();

    m_picture1 = new QFrame(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setGeometry(box(BarLeft, GroundLine, BarWidth, BarHeight));
    m_picture1->setStyleSheet(QStringLiteral(
        "#Picture1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5a6270, stop:1 #2c313a);"
        " border-top: 1px solid #9aa3b2; }"));
    m_text1 = new TypingBox(m_picture1);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(box(Text1Left, 0, Text1Width, BarHeight));
    m_text1->setFont(sized(font(), 13));
    m_text1->setInputMethodWanted(true);
    m_text1->setJudge([this](char32_t key) { return Text1_KeyPress(key); });

    m_command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("Start"), this);
    m_command1->setGeometry(box(60, 6120, 855, 375));
    m_command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("End"), this);
    m_command2->setGeometry(box(7080, 6120, 855, 375));
    connect(m_command1, &QPushButton::clicked, this, &F_game::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &F_game::Command2_Click);
    setTabOrder(m_text1, m_command1);
    setTabOrder(m_command1, m_command2);

    const QFont scoreFont = sized(font(), 18);
    m_stageClear = notice(QStringLiteral("Stage_clear"), QStringLiteral("STAGE CLEAR"), sized(font(), 30, true), Green, this);
    m_stageClear->move(px(2280), px(1320));
    m_gameOver = notice(QStringLiteral("game_over"), QStringLiteral("GAME OVER"),
                        fittingFont(sized(font(), 60, true), QStringLiteral("GAME OVER"), width() - px(240), this), Red,
                        this);
    m_gameOver->setAlignment(Qt::AlignCenter);
    // Its designed box, grown about its centre where the caption needs more
    // in this font, and kept inside the field, so no letter is cut off.
    const QRect design = box(1200, 1020, 5775, 1200);
    const QSize need = m_gameOver->sizeHint().expandedTo(design.size());
    QRect gameOverBox(QPoint(0, 0), need);
    gameOverBox.moveCenter(design.center());
    gameOverBox.moveLeft(qBound(0, gameOverBox.left(), width() - need.width()));
    m_gameOver->setGeometry(gameOverBox);
    m_stageScore = notice(QStringLiteral("STAGE_SCORE"), QString(), scoreFont, Green, this);
    m_stageScore->move(px(2520), px(2520));
    m_totalScore = notice(QStringLiteral("Total_score"), QString(), scoreFont, Green, this);
    m_totalScore->move(px(2520), px(3000));
    m_hiScore = notice(QStringLiteral("HI_SCORE"), QString(), scoreFont, Green, this);
    m_hiScore->move(px(2520), px(3480));
}

void F_game::Form_Load()
{
    CentreOnScreen(this);
    apply(m_engine.open());
}

void F_game::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    // Between ratios 1 and 2 the larger drawing is shown smaller: smoothly.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(QRect(0, 0, px(BackgroundWidth), px(BackgroundHeight)), m_background);
}

void F_game::render()
{
    const GameScreen& s = m_engine.screen();
    setWindowTitle(s.title);
    renderInvaders();

    m_picture2->setVisible(s.beamVisible);
    if (s.beamVisible) {
        // Drawn from the bar up to the target while the shot is on its way.
        const int top = px(s.beamReach);
        m_picture2->setGeometry(px(s.beamLeft), top, px(BeamWidth), px(GroundLine) - top);
    }
    m_picture3->move(px(s.explosionLeft), px(s.explosionTop));
    m_picture3->setVisible(s.explosionVisible);
    if (s.scoreVisible) {
        m_score->setText(s.scoreCaption);
        m_score->adjustSize();
        m_score->move(px(s.scoreCentre) - m_score->width() / 2, px(s.scoreTop));
    }
    m_score->setVisible(s.scoreVisible);

    m_stageClear->setVisible(s.stageClearVisible);
    m_gameOver->setVisible(s.gameOverVisible);
    for (const auto& [label, text] :
         {std::pair{m_stageScore, s.stageScoreText}, {m_totalScore, s.totalScoreText}, {m_hiScore, s.highScoreText}}) {
        label->setText(text);
        label->adjustSize();
        label->setVisible(s.scoreLabelsVisible);
    }

    // A screen reader names the box by what is to be typed there: the
    // target's word.
    const QString typedHere = s.invaders[size_t(m_engine.currentTarget())].caption;
    if (m_text1->accessibleName() != typedHere)
        m_text1->setAccessibleName(typedHere);

    // "Start" first, so the focus leaving a disabled box goes to it.
    m_command1->setEnabled(s.startEnabled);
    m_text1->setEnabled(s.typingEnabled);
    // The box grows only by the characters the engine accepts; it is emptied
    // when the engine empties it.
    if (s.typedText.isEmpty() && !m_text1->text().isEmpty())
        m_text1->clear();
    renderTimers();
}

void F_game::renderInvaders()
{
    for (int i = 0; i < InvaderCount; ++i) {
        const InvaderView& v = m_engine.screen().invaders[size_t(i)];
        QLabel* label = m_invaders[size_t(i)];
        if (label->text() != v.caption) {
            label->setText(v.caption);
            label->adjustSize();
        }
        label->move(px(v.left), px(v.top));
        setTextColour(label, v.target ? Yellow : White);
        label->setVisible(v.visible);
    }
}

void F_game::renderTimers()
{
    const GameTimers& t = m_engine.screen().timers;
    // A running timer is left alone: switching it on again restarts nothing.
    const auto run = [](QTimer& timer, bool on, int interval) {
        if (!on)
            timer.stop();
        else if (!timer.isActive() || timer.interval() != interval)
            timer.start(interval);
    };
    run(m_timer1, t.descent, t.descentInterval);
    run(m_timer2, t.beam, BeamTickInterval);
    run(m_timer3, t.cleanUp, CleanUpInterval);
    run(m_timer4, t.pause, StagePauseInterval);
}

KeyOutcome F_game::Text1_KeyPress(char32_t key)
{
    return judged(m_engine.keyPress(key));
}

void F_game::Timer1_Timer()
{
    apply(m_engine.descentTick());
}

void F_game::Timer2_Timer()
{
    apply(m_engine.beamTick());
}

void F_game::Timer3_Timer()
{
    apply(m_engine.cleanUpTick());
}

void F_game::Timer4_Timer()
{
    apply(m_engine.pauseTick());
}

void F_game::Command1_Click()
{
    apply(m_engine.start());
}

void F_game::Command2_Click()
{
    accept(); // the menu then stores the high score
}

void F_game::done(int result)
{
    // However the window closes, the game stops with it.
    m_engine.close();
    renderTimers();
    QDialog::done(result);
}

void RunGame(AppContext& ctx, QWidget* parent, GameRun& run)
{
    WordTable table = LoadWordTable(ctx.state.data);
    if (!table.problem.isEmpty()) {
        ctx.showMessage(parent, table.problem, MessageIcon::Error);
        return;
    }
    ctx.runScreen<F_game>(parent, run, std::move(table.words));
}

} // namespace morvela
