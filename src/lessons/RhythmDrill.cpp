#include "lessons/RhythmDrill.h"

#include "core/MissedKeys.h"
#include "core/OfferKey.h"
#include "lessons/MissJudgement.h"

namespace morvela {

namespace {

const QString Text1 = QStringLiteral("Text1");

// The box is emptied.
void clearText1(ScreenEffects& effects)
{
    effects.clearBoxes = {Text1};
}

// After every event of the drill the learner types on in Text1, unless the
// event sent the focus elsewhere ("次ページ>>" after a pass).
ScreenEffects typingOn(ScreenEffects effects)
{
    if (effects.focus.isEmpty())
        effects.focus = Text1;
    return effects;
}

} // namespace

QString JudgementMessage(Judgement judgement)
{
    switch (judgement) {
    case Judgement::ManyMissesCalmDown:
        return QStringLiteral("ミスタッチが多いようですね。落ち着いてタイプしましょう。");
    case Judgement::ManyMissesSlowDown:
        return QStringLiteral("ミスタッチが多いようですね。リズムのスピードを落としてはいかが？");
    case Judgement::FewerMisses:
        return QStringLiteral("なかなかお上手です。もう少しミスタッチを減らせますか？");
    case Judgement::Passed:
        return QStringLiteral("おめでとうございます。合格です(=^_^=)。次のページに進んで下さい。");
    case Judgement::SpeedUp:
        return QStringLiteral("たいへんお上手です。リズムのスピードを上げてチャレンジしましょう。");
    }
    return {};
}

Judgement RhythmJudgement(int missCount, int interval, const std::array<int, 5>& levels, bool wordPage)
{
    switch (JudgeMisses(missCount)) {
    case MissBand::TenOrMore: // a stopped metronome (0) is not level 1
        return interval == levels[0] ? Judgement::ManyMissesCalmDown : Judgement::ManyMissesSlowDown;
    case MissBand::FiveToNine:
        return Judgement::FewerMisses;
    case MissBand::FewerThanFive:
        break;
    }
    if (interval == levels[4] || interval == 0 || wordPage)
        return Judgement::Passed;
    return Judgement::SpeedUp;
}

QString LevelDigit(int level)
{
    return QString(QChar(0xFF10 + level)); // full-width digit
}

TimerChange MetronomeTimerChange(bool timerActive, int runningInterval, int interval)
{
    if (interval <= 0)
        return timerActive ? TimerChange::Stop : TimerChange::Keep;
    if (!timerActive || runningInterval != interval)
        return TimerChange::Start;
    return TimerChange::Keep;
}

RhythmDrill::RhythmDrill(const LessonScript& script, ProgressRecord& record, const std::array<int, 5>& levels,
                         const Clock& clock)
    : m_script(script), m_lesson(record, script.lesson, PageIdsOf(script.pages), QStringLiteral("Command4")),
      m_levels(levels)
{
    m_lesson.setPractice(script.practice);
    m_attempt.setClock(&clock);
    enterPage(1);
}

ScreenEffects RhythmDrill::open()
{
    ScreenEffects effects;
    enterPage(1);
    m_screen.previousPageEnabled = false;
    m_screen.nextPageEnabled = m_lesson.passedBefore(1);
    effects.rowStateShown = m_lesson.start();
    clearText1(effects);
    return typingOn(effects);
}

void RhythmDrill::enterPage(int pageNo)
{
    m_pageNo = pageNo;
    const DrillPage& page = m_script.page(pageNo);
    m_attempt.setText(page.drillText);
    m_screen.drillText = page.drillText;
    m_screen.pageLabel = page.label;
    m_screen.levelDigit = LevelDigit(1);
    m_missedKeys.clear();
    if (m_script.isWordPage(pageNo)) {
        // Word pages are typed slowly and surely, with no beat.
        m_screen.interval = 0;
        m_running = false;
        m_screen.metronomeCaption = MetronomeCaption::Again;
        m_screen.fasterEnabled = false;
        m_screen.slowerEnabled = false;
        m_screen.advice = page.advice;
    } else {
        m_screen.interval = m_levels[0];
        m_running = true;
        m_screen.metronomeCaption = MetronomeCaption::Stop;
        m_screen.fasterEnabled = true;
        m_screen.slowerEnabled = true;
        m_screen.advice = HomePositionAdvice;
    }
}

void RhythmDrill::restartAttempt()
{
    m_attempt.restart();
}

void RhythmDrill::runAtLevel(int level)
{
    m_screen.interval = m_levels[size_t(level - 1)];
    m_screen.levelDigit = LevelDigit(level);
}

KeyOutcome RhythmDrill::keyPress(char32_t key)
{
    KeyOutcome result = OfferToText(m_attempt, key, [this] { return judge(); });
    if (result.effects.clearBoxes.contains(Text1))
        result.accepted = false; // the box is emptied for a new attempt
    return result;
}

ScreenEffects RhythmDrill::judge()
{
    ScreenEffects effects;
    const bool wordPage = m_script.isWordPage(m_pageNo);
    const Judgement verdict = RhythmJudgement(m_attempt.misses(), m_screen.interval, m_levels, wordPage);
    m_screen.advice = JudgementMessage(verdict);
    m_missedKeys = MostMissedLine(m_attempt.mostMissed());

    if (verdict == Judgement::Passed) {
        effects = m_lesson.pass(m_pageNo);
        m_screen.nextPageEnabled = true;
    }
    effects.finishedAttempt = finishedAttempt(verdict);

    if (!wordPage) {
        // Completing a rhythm page flips the metronome.
        if (running()) {
            stopMetronome();
        } else {
            restartMetronome();
            clearText1(effects);
        }
    }
    restartAttempt();
    return typingOn(effects);
}

AttemptRecord RhythmDrill::finishedAttempt(Judgement verdict) const
{
    AttemptRecord finished = m_attempt.figures();
    finished.screen = m_script.windowName;
    finished.pageId = m_script.page(m_pageNo).pageId;
    if (!m_script.isWordPage(m_pageNo)) {
        finished.level = level();
        finished.tempoMs = m_screen.interval; // 0: typed with the metronome stopped
    }
    finished.outcome = PassOutcome(verdict == Judgement::Passed);
    return finished;
}

int RhythmDrill::level() const
{
    return m_screen.levelDigit.isEmpty() ? 1 : m_screen.levelDigit.at(0).unicode() - 0xFF10;
}

ScreenEffects RhythmDrill::switchMetronome()
{
    ScreenEffects effects;
    if (m_running) {
        stopMetronome();
    } else if (m_script.isWordPage(m_pageNo)) {
        clearText1(effects);
        restartAttempt();
    } else {
        restartMetronome();
        clearText1(effects);
        restartAttempt();
    }
    return typingOn(effects);
}

void RhythmDrill::stopMetronome()
{
    m_savedInterval = m_screen.interval;
    m_screen.interval = 0;
    m_running = false;
    m_screen.metronomeCaption = MetronomeCaption::Restart;
}

void RhythmDrill::restartMetronome()
{
    m_screen.interval = m_savedInterval;
    m_running = true;
    m_screen.metronomeCaption = MetronomeCaption::Stop;
}

ScreenEffects RhythmDrill::faster()
{
    return changeLevel(+1);
}

ScreenEffects RhythmDrill::slower()
{
    return changeLevel(-1);
}

ScreenEffects RhythmDrill::changeLevel(int step)
{
    ScreenEffects effects;
    if (m_script.isWordPage(m_pageNo))
        return typingOn(effects); // the buttons are disabled there
    const bool wasRunning = running();
    const int from = wasRunning ? m_screen.interval : m_savedInterval;
    // Faster compares with levels 1, 2, 3, 4 in turn, slower with 5, 4, 3, 2.
    int level = 0;
    if (step > 0) {
        for (int l = 1; l <= 4 && !level; ++l)
            level = m_levels[size_t(l - 1)] == from ? l : 0;
    } else {
        for (int l = 5; l >= 2 && !level; --l)
            level = m_levels[size_t(l - 1)] == from ? l : 0;
    }
    if (!level)
        return typingOn(effects); // already at the end of the scale: nothing changes
    runAtLevel(level + step);
    if (!wasRunning) {
        m_running = true;
        m_screen.metronomeCaption = MetronomeCaption::Stop;
        clearText1(effects);
        restartAttempt();
    }
    return typingOn(effects);
}

ScreenEffects RhythmDrill::nextPage()
{
    ScreenEffects effects;
    clearText1(effects);
    restartAttempt();
    if (m_pageNo >= m_script.pageCount) {
        m_screen.interval = 0; // the metronome falls silent as the lesson ends
        m_running = false;
        effects.message = m_script.endMessage;
        effects.messageIcon = MessageIcon::Information;
        effects.close = true;
        return typingOn(effects);
    }
    enterPage(m_pageNo + 1);
    m_screen.previousPageEnabled = true;
    // Forward past a page only once it has been passed.
    m_screen.nextPageEnabled = m_lesson.passedBefore(m_pageNo);
    return typingOn(effects);
}

ScreenEffects RhythmDrill::previousPage()
{
    ScreenEffects effects;
    clearText1(effects);
    enterPage(qMax(1, m_pageNo - 1));
    if (m_lesson.passedBefore(m_pageNo))
        m_screen.nextPageEnabled = true;
    if (m_pageNo == 1)
        m_screen.previousPageEnabled = false;
    return typingOn(effects);
}

} // namespace morvela
