#pragma once

#include "core/ScreenEffects.h"
#include "game/GameArithmetic.h"
#include "game/GameWordList.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>

namespace morvela {

class GameRandom;

// A caption's size as its label shows it, in twips: the window measures it
// in its font, tests with a rule of thumb.
struct TwipsSize {
    int width = 0;
    int height = 0;
};
using CaptionMeasure = std::function<TwipsSize(const QString& caption)>;

struct InvaderView {
    QString caption; // its Word
    double top = 0;
    int left = 0;
    TwipsSize size;
    bool visible = false;
    bool target = false; // drawn yellow
    double bottom() const { return top + size.height; }
    double centre() const { return left + size.width / 2.0; }
};

// Which of the window's four timers run, and Timer1's interval.
struct GameTimers {
    bool Timer1 = false; // descent
    int Timer1Interval = FirstDescentInterval;
    bool Timer2 = false; // beam
    bool Timer3 = false; // clean-up
    bool Timer4 = false; // stage pause
    friend bool operator==(const GameTimers&, const GameTimers&) = default;
};

// Everything the game window shows; positions in twips.
struct GameScreen {
    QString title;
    std::array<InvaderView, InvaderCount> invaders;
    bool Picture2Visible = false; // the beam
    double Picture2Left = 0;
    double Picture2Top = 0;
    double Picture2Reach = 0;     // the target's lower edge, where the beam is drawn to while it flies
    bool Picture3Visible = false; // the explosion
    double Picture3Left = 0;
    double Picture3Top = 0;
    bool scoreVisible = false;    // the points of the last hit
    QString scoreCaption;
    double scoreCentre = 0;       // centred under the hit invader
    double scoreTop = 0;
    bool Stage_clearVisible = false;
    bool game_overVisible = false;
    bool scoreLabelsVisible = false;
    QString STAGE_SCORE;
    QString Total_score;
    QString HI_SCORE;
    QString Text1;
    bool Text1Enabled = false;
    bool Command1Enabled = false;
    GameTimers timers;
};

// "ステージ 1　[ねこ]": the stage and the target's hint.
QString StageTitle(int stageNumber, const QString& hint);

// The falling-words game of one opening of its window: ten invaders per
// stage carry words drawn from the list; the player types the lowest one's
// word to shoot it down before it reaches the input bar. Deterministic: the
// window's timers call the ticks, the random numbers come from `random`, and
// the window measures the captions.
class GameEngine {
public:
    // `words` must hold at least one entry (the window does not open
    // otherwise). `highScore` is the shared GameHighScore, `marchPhase` kept
    // for the whole run of the program.
    GameEngine(QList<WordEntry> words, GameRandom& random, CaptionMeasure measure, qint64& highScore,
               bool& marchPhase, int fieldWidth = PlayFieldWidth);

    ScreenEffects open();          // the window opens: stage 1 at 1500 ms, playing at once
    KeyOutcome keyPress(char32_t key); // Text1: only the target's next character goes in
    ScreenEffects descentTick();   // Timer1
    ScreenEffects beamTick();      // Timer2
    ScreenEffects cleanUpTick();   // Timer3
    ScreenEffects pauseTick();     // Timer4
    ScreenEffects start();         // Command1 "Start", after a game over
    void close();                  // every timer stops

    const GameScreen& screen() const { return m_screen; }
    int StageNumber() const { return m_stageNumber; }
    qint64 StageScore() const { return m_stageScore; }
    qint64 TotalScore() const { return m_totalScore; }
    int CurrentTarget() const { return m_currentTarget; }
    int TypePosition() const { return m_typePosition; }
    int DescentInterval() const { return m_descentInterval; }
    QString TargetHint(int invader) const { return m_targetHints[size_t(invader)]; }
    bool playing() const { return m_phase == Phase::Playing; }
    bool stageCleared() const { return m_phase == Phase::StageClear; }
    bool gameOver() const { return m_phase == Phase::GameOver; }

private:
    enum class Phase { Playing, StageClear, GameOver };

    InvaderView& target() { return m_screen.invaders[size_t(m_currentTarget)]; }
    void newGame();
    void stageSetup();
    void showTarget();
    void fire();
    void endGame();
    void showScores();
    void hideEverything();

    QList<WordEntry> m_words;
    GameRandom& m_random;
    CaptionMeasure m_measure;
    qint64& m_highScore;
    bool& m_marchPhase;
    int m_fieldWidth;

    GameScreen m_screen;
    Phase m_phase = Phase::Playing;
    int m_stageNumber = 1;
    qint64 m_stageScore = 0;
    qint64 m_totalScore = 0;
    int m_currentTarget = 0;
    int m_typePosition = 1;
    int m_descentInterval = FirstDescentInterval;
    std::array<QString, InvaderCount> m_targetHints;
};

} // namespace morvela
