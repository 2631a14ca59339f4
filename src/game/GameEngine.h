#pragma once

#include "core/Clock.h"
#include "core/ScreenEffects.h"
#include "core/TypingAttempt.h"
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
    bool descent = false; // Timer1
    int descentInterval = FirstDescentInterval;
    bool beam = false;    // Timer2
    bool cleanUp = false; // Timer3
    bool pause = false;   // Timer4, the pause between stages
    friend bool operator==(const GameTimers&, const GameTimers&) = default;
};

// Everything the game window shows; positions in twips.
struct GameScreen {
    QString title;
    std::array<InvaderView, InvaderCount> invaders;
    bool beamVisible = false;     // Picture2
    double beamLeft = 0;
    double beamTop = 0;
    double beamReach = 0;         // the target's lower edge, where the beam is drawn to while it flies
    bool explosionVisible = false; // Picture3
    double explosionLeft = 0;
    double explosionTop = 0;
    bool scoreVisible = false;    // the points of the last hit
    QString scoreCaption;
    double scoreCentre = 0;       // centred under the hit invader
    double scoreTop = 0;
    bool stageClearVisible = false; // Stage_clear
    bool gameOverVisible = false;   // game_over
    bool scoreLabelsVisible = false;
    QString stageScoreText;         // STAGE_SCORE
    QString totalScoreText;         // Total_score
    QString highScoreText;          // HI_SCORE
    QString typedText;              // Text1
    bool typingEnabled = false;     // Text1
    bool startEnabled = false;      // Command1 "Start"
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
    // for the whole run of the program; `clock` times a game for the
    // learner's record.
    GameEngine(QList<WordEntry> words, GameRandom& random, CaptionMeasure measure, qint64& highScore,
               bool& marchPhase, const Clock& clock, int fieldWidth = PlayFieldWidth);

    ScreenEffects open();          // the window opens: stage 1 at 1500 ms, playing at once
    KeyOutcome keyPress(char32_t key); // Text1: only the target's next character goes in
    ScreenEffects descentTick();   // Timer1; the invader that lands ends the game
    ScreenEffects beamTick();      // Timer2
    ScreenEffects cleanUpTick();   // Timer3
    ScreenEffects pauseTick();     // Timer4
    ScreenEffects start();         // Command1 "Start", after a game over
    void close();                  // every timer stops

    const GameScreen& screen() const { return m_screen; }
    int stageNumber() const { return m_stageNumber; }
    qint64 stageScore() const { return m_stageScore; }
    qint64 totalScore() const { return m_totalScore; }
    int currentTarget() const { return m_currentTarget; }
    int typePosition() const { return m_typePosition; }
    int descentInterval() const { return m_descentInterval; }
    QString targetHint(int invader) const { return m_targetHints[size_t(invader)]; }
    bool playing() const { return m_phase == Phase::Playing; }
    bool stageCleared() const { return m_phase == Phase::StageClear; }
    bool gameOver() const { return m_phase == Phase::GameOver; }
    // The game's keys so far, as one attempt over the targets' words.
    const TypingAttempt& attempt() const { return m_attempt; }

private:
    enum class Phase { Playing, StageClear, GameOver };

    InvaderView& target() { return m_screen.invaders[size_t(m_currentTarget)]; }
    void newGame();
    void stageSetup();
    void showTarget();
    void fire();
    ScreenEffects endGame();
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
    TypingAttempt m_attempt; // the counts of the whole game, one target after another
};

} // namespace morvela
