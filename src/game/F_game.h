#pragma once

#include "game/GameEngine.h"
#include "ui/TypingScreen.h"

#include <QPixmap>
#include <QTimer>

#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace morvela {

class AppContext;
struct GameRun;
class TypingBox;

// The falling-words game's window: the play field with its ten invaders,
// the beam, the explosion and the points, the input bar at the bottom with
// "Start" and "End", and the stage and game-over notices. Every rule is the
// engine's; the window turns its four timers and the typed characters into
// the engine's events and shows the engine's screen, placing each control
// by its twips (15 to a pixel at 96 dpi, scaled with the screen's dpi).
class F_game : public TypingScreen {
    Q_OBJECT
public:
    F_game(AppContext& ctx, GameRun& run, QList<WordEntry> words, QWidget* parent = nullptr);
    ~F_game() override;

    void Form_Load();

    KeyOutcome Text1_KeyPress(char32_t key);
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void Command1_Click();
    void Command2_Click();

    const GameEngine& engine() const { return m_engine; }

    // A length in twips on this screen, in pixels.
    int px(double twips) const;

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    TwipsSize measureInvader(const QString& caption) const;
    void render() override;
    void renderInvaders();
    void renderTimers();
    QRect box(double left, double top, double width, double height) const;

    double m_pixelsPerTwip;
    QFont m_invaderFont;
    QLabel* m_probe = nullptr; // measures captions as an invader shows them
    GameEngine m_engine;
    QPixmap m_background;

    std::array<QLabel*, InvaderCount> m_invaders{};
    QLabel* m_picture2 = nullptr;
    QLabel* m_picture3 = nullptr;
    QLabel* m_score = nullptr;
    QFrame* m_picture1 = nullptr;
    TypingBox* m_text1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QLabel* m_stageClear = nullptr;
    QLabel* m_gameOver = nullptr;
    QLabel* m_stageScore = nullptr;
    QLabel* m_totalScore = nullptr;
    QLabel* m_hiScore = nullptr;
    QTimer m_timer1, m_timer2, m_timer3, m_timer4;
};

// Opens the game over `parent`. The word list is loaded afresh; when it
// cannot be read or holds no word, the message says so and no game starts.
void RunGame(AppContext& ctx, QWidget* parent, GameRun& run);

} // namespace morvela
