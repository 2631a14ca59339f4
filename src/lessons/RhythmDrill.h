#pragma once

#include "core/ProgressRecord.h"
#include "core/ScreenEffects.h"
#include "core/TypingAttempt.h"
#include "lessons/LessonScript.h"
#include "lessons/PagedLesson.h"

#include <QString>

#include <array>

namespace morvela {

// Captions of the metronome switch (Command1).
namespace MetronomeCaption {
inline const QString Stop = QStringLiteral("音停止");    // running
inline const QString Restart = QStringLiteral("音再開"); // stopped
inline const QString Again = QStringLiteral("もう一度"); // word pages
} // namespace MetronomeCaption

// The end-of-page verdicts and the line each puts into Label5.
enum class Judgement { ManyMissesCalmDown, ManyMissesSlowDown, FewerMisses, Passed, SpeedUp };
QString JudgementMessage(Judgement judgement);

// Judges a typed-through page by its misses and the metronome: a page passes
// with fewer than 5 misses at the fastest level, with the metronome stopped
// (interval 0) or on a word page. `levels` are the intervals of levels 1-5.
Judgement RhythmJudgement(int missCount, int interval, const std::array<int, 5>& levels, bool wordPage);

// "１" .. "５".
QString LevelDigit(int level);

// What the metronome's timer does when the screen asks for `interval`
// (0 = stopped) while it runs at `runningInterval` (or is idle). It restarts
// only when the tempo changes: a restart on every key would hold the beat
// back while the learner types.
enum class TimerChange { Keep, Start, Stop };
TimerChange MetronomeTimerChange(bool timerActive, int runningInterval, int interval);

// What a rhythm lesson window shows.
struct DrillScreen {
    QString levelDigit;       // "１".."５" (Label3)
    QString drillText;        // Label4
    QString advice;           // advice or judgement (Label5)
    QString pageLabel;        // instruction line or kanji caption, Lessons 2-4 (Label6)
    QString metronomeCaption; // the metronome switch (Command1)
    bool fasterEnabled = true;        // Command2
    bool slowerEnabled = true;        // Command3
    bool nextPageEnabled = false;     // next page / end of lesson (Command4)
    bool previousPageEnabled = false; // Command5
    int interval = 0;                 // the metronome's (Timer1); 0 = stopped

    friend bool operator==(const DrillScreen&, const DrillScreen&) = default;
};

// The rhythm drill of one lesson window: pages, the metronome's level and
// state, the attempt, and the judgement with its effects on the progress
// record. Deterministic; the window renders `screen()` and carries out the
// effects (timer, sound, focus, saving, message box).
class RhythmDrill {
public:
    // `clock` times each attempt for the learner's record.
    RhythmDrill(const LessonScript& script, ProgressRecord& record, const std::array<int, 5>& levels,
                const Clock& clock);

    // The window opens: page 1, level 1, running; "未" becomes "練習中"
    // (in memory only; it reaches the file with the next save).
    ScreenEffects open();

    // A completed page is judged; completing it with the metronome stopped
    // restarts it with an empty box, so the completing key does not go in.
    KeyOutcome keyPress(char32_t key);

    ScreenEffects switchMetronome(); // Command1: stop, restart, or retry a word page
    ScreenEffects faster();          // Command2
    ScreenEffects slower();          // Command3
    ScreenEffects nextPage();        // Command4
    ScreenEffects previousPage();    // Command5

    const DrillScreen& screen() const { return m_screen; }
    const LessonScript& script() const { return m_script; }
    int pageNo() const { return m_pageNo; }
    QString drillText() const { return m_attempt.text(); }
    int cursor() const { return m_attempt.cursor(); }
    int misses() const { return m_attempt.misses(); }
    const TypingAttempt& attempt() const { return m_attempt; }
    int level() const; // 1..5, as Label3 shows it
    int savedInterval() const { return m_savedInterval; }
    bool running() const { return m_running; }
    // The character whose key the keyboard picture marks after a miss (0:
    // none), and the keys missed most in the attempt judged last on this
    // page ("" before the first judgement or after one with no miss).
    char32_t markedKey() const { return m_attempt.markedKey(); }
    QString missedKeysLine() const { return m_missedKeys; }

private:
    void enterPage(int pageNo);
    void restartAttempt();
    // The metronome switch: stop keeps the interval to come back to.
    void stopMetronome();
    void restartMetronome();
    void runAtLevel(int level);
    ScreenEffects judge();
    AttemptRecord finishedAttempt(Judgement verdict) const;
    ScreenEffects changeLevel(int step);

    const LessonScript& m_script;
    PagedLesson m_lesson;
    std::array<int, 5> m_levels;
    DrillScreen m_screen;
    TypingAttempt m_attempt;
    int m_pageNo = 1;
    int m_savedInterval = 0;
    bool m_running = false; // the metronome beats (word pages: never)
    QString m_missedKeys;
};

} // namespace morvela
