#pragma once

#include "core/ProgressRecord.h"
#include "core/ScreenEffects.h"
#include "core/TypingAttempt.h"
#include "lessons/WordDrillScripts.h"

#include <QString>

namespace morvela {

// What a word drill window shows.
struct WordDrillScreen {
    QString Label4; // the text to type
    QString Label5; // advice or judgement
    QString Label6; // caption line
    bool Command4Enabled = false; // next page / end of lesson
    bool Command5Enabled = false; // previous page

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
    WordDrill(const WordDrillScript& script, ProgressRecord& record, const DerivedSettings& settings);

    // The window opens: page 1; "未" becomes "練習中" (in memory only; it
    // reaches the file with the next save).
    ScreenEffects open();

    KeyOutcome keyPress(char32_t typed);

    ScreenEffects again();        // Command1: the page from its start, box emptied
    ScreenEffects nextPage();     // Command4; on the last page the lesson ends
    ScreenEffects previousPage(); // Command5

    const WordDrillScreen& screen() const { return m_screen; }
    const WordDrillScript& script() const { return m_script; }
    int PageNo() const { return m_pageNo; }
    QString DrillText() const { return m_attempt.text(); }
    int CursorPos() const { return m_attempt.CursorPos(); }
    int MissCount() const { return m_attempt.MissCount(); }
    // Lesson 5 only, whose box keeps the input method out: the character
    // whose key the keyboard picture marks after a miss (0: none), and the
    // keys missed most in the attempt judged last on this page.
    char32_t markedKey() const { return m_script.inputMethod ? 0 : m_attempt.markedKey(); }
    QString missedKeysLine() const { return m_missedKeys; }

private:
    QString& lessonState() const;
    QString pageText(int pageNo) const;
    bool passedBefore(int pageNo) const;
    void enterPage(int pageNo, const QString& advice);
    ScreenEffects judge();
    ScreenEffects freshPage() const;

    const WordDrillScript& m_script;
    ProgressRecord& m_record;
    const DerivedSettings& m_settings;
    WordDrillScreen m_screen;
    TypingAttempt m_attempt;
    int m_pageNo = 1;
    QString m_missedKeys;
};

} // namespace morvela
