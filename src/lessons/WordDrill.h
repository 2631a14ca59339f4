#pragma once

#include "core/OptionSettings.h"
#include "core/ProgressRecord.h"
#include "core/ScreenEffects.h"
#include "core/TypingAttempt.h"
#include "lessons/PagedLesson.h"
#include "lessons/WordDrillScripts.h"

#include <QString>

namespace morvela {

// What a word drill window shows.
struct WordDrillScreen {
    QString drillText; // the text to type (Label4)
    QString advice;    // advice or judgement (Label5)
    QString caption;   // caption line (Label6)
    bool nextPageEnabled = false;     // next page / end of lesson (Command4)
    bool previousPageEnabled = false; // Command5

    friend bool operator==(const WordDrillScreen&, const WordDrillScreen&) = default;
};

// The word drill of Lessons 5 and 6: six pages typed into Text1, each judged
// by its misses when typed through. A pass raises the furthest page and saves;
// passing the last page completes the lesson. The window renders `screen()`
// and carries out the effects.
class WordDrill {
public:
    // Lesson 6 reads its text from `settings` whenever a page is entered, so
    // a change of the options shows on the next page.
    // `clock` times each attempt for the learner's record.
    WordDrill(const WordDrillScript& script, ProgressRecord& record, const DerivedSettings& settings,
              const Clock& clock);

    // The window opens: page 1; "未" becomes "練習中" (in memory only; it
    // reaches the file with the next save).
    ScreenEffects open();

    KeyOutcome keyPress(char32_t typed);

    ScreenEffects again();        // Command1: the page from its start, box emptied
    ScreenEffects nextPage();     // Command4; on the last page the lesson ends
    ScreenEffects previousPage(); // Command5

    const WordDrillScreen& screen() const { return m_screen; }
    const WordDrillScript& script() const { return m_script; }
    int pageNo() const { return m_pageNo; }
    QString drillText() const { return m_attempt.text(); }
    int cursor() const { return m_attempt.cursor(); }
    int misses() const { return m_attempt.misses(); }
    const TypingAttempt& attempt() const { return m_attempt; }
    // Lesson 5 only, whose box keeps the input method out: the character
    // whose key the keyboard picture marks after a miss (0: none), and the
    // keys missed most in the attempt judged last on this page.
    char32_t markedKey() const { return m_script.inputMethod ? 0 : m_attempt.markedKey(); }
    QString missedKeysLine() const { return m_missedKeys; }

private:
    QString pageText(int pageNo) const;
    void enterPage(int pageNo, const QString& advice);
    ScreenEffects judge();
    ScreenEffects freshPage() const;

    const WordDrillScript& m_script;
    PagedLesson m_lesson;
    const DerivedSettings& m_settings;
    WordDrillScreen m_screen;
    TypingAttempt m_attempt;
    int m_pageNo = 1;
    QString m_missedKeys;
};

} // namespace morvela
