#include "game/GameEngine.h"

#include "game/GameRandom.h"

#include <cmath>

namespace morvela {

QString StageTitle(int stageNumber, const QString& hint)
{
    return QStringLiteral("ステージ %1　[%2]").arg(stageNumber).arg(hint);
}

GameEngine::GameEngine(QList<WordEntry> words, GameRandom& random, CaptionMeasure measure, qint64& highScore,
                       bool& marchPhase, const Clock& clock, int fieldWidth)
    : m_words(std::move(words)), m_random(random), m_measure(std::move(measure)), m_highScore(highScore),
      m_marchPhase(marchPhase), m_fieldWidth(fieldWidth)
{
    m_attempt.setClock(&clock);
}

ScreenEffects GameEngine::open()
{
    m_screen.title = QStringLiteral("　");
    m_descentInterval = FirstDescentInterval;
    newGame();
    ScreenEffects effects;
    effects.focus = QStringLiteral("Text1");
    return effects;
}

ScreenEffects GameEngine::start()
{
    if (m_phase != Phase::GameOver)
        return {}; // "Start" is enabled only after a game over
    newGame(); // at the speed the last game reached
    ScreenEffects effects;
    effects.focus = QStringLiteral("Text1");
    return effects;
}

void GameEngine::newGame()
{
    hideEverything();
    m_attempt.restart();
    m_stageScore = 0;
    m_totalScore = 0;
    m_typePosition = 1;
    m_stageNumber = 1;
    stageSetup();
    m_screen.timers.descent = true;
    m_screen.typingEnabled = true;
    m_phase = Phase::Playing;
}

void GameEngine::hideEverything()
{
    m_screen.startEnabled = false;
    m_screen.timers.descent = m_screen.timers.beam = m_screen.timers.cleanUp = m_screen.timers.pause = false;
    m_screen.beamVisible = m_screen.explosionVisible = false;
    m_screen.gameOverVisible = m_screen.stageClearVisible = m_screen.scoreLabelsVisible = false;
    m_screen.scoreVisible = false;
    for (InvaderView& invader : m_screen.invaders)
        invader.visible = false;
    m_screen.typedText.clear();
}

void GameEngine::stageSetup()
{
    Q_ASSERT(!m_words.isEmpty());
    if (m_words.isEmpty())
        return;
    m_random.reseed(); // before every stage, so no two games fall alike
    m_screen.timers.descentInterval = m_descentInterval;
    const double spacing = InvaderSpacing(m_descentInterval);
    for (int i = 0; i < InvaderCount; ++i) {
        InvaderView& invader = m_screen.invaders[size_t(i)];
        invader.visible = true;
        invader.target = false;
        // invader(0) at the top edge of the field, the others above it.
        invader.top = -spacing * i;
        // Drawn with replacement: a word may come twice in one stage.
        const auto k = std::min(qsizetype(m_random.next() * m_words.size()), m_words.size() - 1);
        invader.caption = m_words[k].Word;
        m_targetHints[size_t(i)] = m_words[k].Hint;
        invader.size = m_measure(invader.caption);
        invader.left = int(std::floor((m_fieldWidth - invader.size.width + 1) * m_random.next()));
    }
    m_currentTarget = 0;
    showTarget();
}

void GameEngine::showTarget()
{
    target().target = true;
    m_attempt.continueWith(target().caption); // its word is what the keys are counted against now
    m_screen.title = StageTitle(m_stageNumber, m_targetHints[size_t(m_currentTarget)]);
}

KeyOutcome GameEngine::keyPress(char32_t key)
{
    KeyOutcome outcome;
    // Nothing goes in after a game over (the box is off) nor in the pause
    // after a clear: the last word would be shot again and its stage counted
    // twice.
    if (m_phase != Phase::Playing)
        return outcome;
    const QList<uint> word = target().caption.toUcs4();
    // Once the whole word is in, every key is refused until the beam lands;
    // those keys wait for the next target and count for nothing.
    if (m_typePosition > word.size())
        return outcome;
    m_attempt.type(key);
    if (key != word[m_typePosition - 1])
        return outcome;
    ++m_typePosition;
    m_screen.typedText += QString::fromUcs4(&key, 1);
    outcome.accepted = true;
    if (m_screen.typedText == target().caption)
        fire();
    return outcome;
}

void GameEngine::fire()
{
    m_screen.beamLeft = target().centre();
    m_screen.beamTop = GroundLine;
    m_screen.beamReach = target().bottom();
    m_screen.beamVisible = true;
    m_screen.timers.beam = true;
}

ScreenEffects GameEngine::descentTick()
{
    if (!m_screen.timers.descent)
        return {};
    // Half of the column moves at each tick, so it marches down in turns;
    // destroyed invaders move too and the column keeps its spacing.
    const double step = DescentStep(m_descentInterval);
    for (int i = m_marchPhase ? 0 : 1; i < InvaderCount; i += 2)
        m_screen.invaders[size_t(i)].top += step;
    m_marchPhase = !m_marchPhase;
    if (m_screen.beamVisible)
        m_screen.beamReach = target().bottom();
    if (target().bottom() > GroundLine)
        return endGame();
    return {};
}

ScreenEffects GameEngine::endGame()
{
    m_phase = Phase::GameOver;
    m_totalScore += m_stageScore;
    showScores();
    m_screen.gameOverVisible = true;
    m_screen.scoreLabelsVisible = true;
    m_screen.timers.descent = false;
    // A beam still flying misses: the game is over and its total shown, so
    // a late hit must not add points or clear the stage behind GAME OVER.
    m_screen.timers.beam = false;
    m_screen.beamVisible = false;
    m_screen.startEnabled = true;
    m_screen.typingEnabled = false;

    AttemptRecord finished = m_attempt.figures();
    finished.screen = QStringLiteral("F_game");
    finished.pageId = finished.screen;
    finished.inputMethod = true; // the words come through the input method
    finished.outcome = m_screen.totalScoreText;
    ScreenEffects effects;
    effects.finishedAttempt = finished;
    return effects;
}

ScreenEffects GameEngine::beamTick()
{
    if (!m_screen.timers.beam)
        return {};
    InvaderView& hit = target();
    while (hit.bottom() < m_screen.beamTop)
        m_screen.beamTop -= BeamStep;
    m_screen.timers.beam = false;

    m_screen.explosionLeft = hit.centre() - ExplosionWidth / 2.0;
    m_screen.explosionTop = hit.top;
    m_screen.explosionVisible = true;

    const qint64 points = HitPoints(m_descentInterval, int(m_screen.typedText.toUcs4().size()), hit.top);
    m_screen.scoreCaption = QString::number(points);
    m_stageScore += points;
    m_screen.scoreTop = hit.top + PointsLabelOffset;
    m_screen.scoreCentre = hit.centre();
    m_screen.scoreVisible = true;

    m_screen.typedText.clear();
    m_typePosition = 1;
    m_screen.timers.cleanUp = true;
    m_screen.beamVisible = false;
    hit.visible = false;

    if (m_currentTarget < InvaderCount - 1) {
        ++m_currentTarget;
        // The next target comes into sight at once; the rest keep their spacing.
        if (target().top < PullDownLine) {
            const double spacing = InvaderSpacing(m_descentInterval);
            for (int i = m_currentTarget; i < InvaderCount; ++i)
                m_screen.invaders[size_t(i)].top = PullDownLine - spacing * (i - m_currentTarget);
        }
    } else {
        m_phase = Phase::StageClear;
        m_totalScore += m_stageScore;
        showScores();
        m_screen.stageClearVisible = true;
        m_screen.scoreLabelsVisible = true;
        m_screen.timers.descent = false;
        m_screen.timers.pause = true;
    }
    showTarget();
    return {};
}

ScreenEffects GameEngine::cleanUpTick()
{
    if (!m_screen.timers.cleanUp)
        return {};
    m_screen.explosionVisible = false;
    m_screen.scoreVisible = false;
    m_screen.timers.cleanUp = false;
    return {};
}

ScreenEffects GameEngine::pauseTick()
{
    if (!m_screen.timers.pause)
        return {};
    ++m_stageNumber;
    m_stageScore = 0;
    m_screen.stageClearVisible = false;
    m_screen.scoreLabelsVisible = false;
    m_descentInterval = NextDescentInterval(m_descentInterval);
    stageSetup();
    m_screen.timers.pause = false;
    m_screen.timers.descent = true;
    m_phase = Phase::Playing;
    return {};
}

void GameEngine::close()
{
    m_screen.timers.descent = m_screen.timers.beam = m_screen.timers.cleanUp = m_screen.timers.pause = false;
}

void GameEngine::showScores()
{
    if (m_totalScore > m_highScore)
        m_highScore = m_totalScore;
    m_screen.stageScoreText = QStringLiteral("STAGE SCORE:") + QString::number(m_stageScore);
    m_screen.totalScoreText = QStringLiteral("TOTAL SCORE:") + QString::number(m_totalScore);
    m_screen.highScoreText = QStringLiteral("HIGH  SCORE:") + QString::number(m_highScore);
}

} // namespace morvela
