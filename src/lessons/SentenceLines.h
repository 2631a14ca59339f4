#pragma once

#include "core/LinesAttempt.h"
#include "core/ScreenEffects.h"
#include "lessons/SentenceScripts.h"

namespace morvela {

// The lines of a sentence screen (Lessons 7 and 8, the graduation exam),
// typed one after another, each into its own box, with one cursor and one
// miss count. Only the box whose turn it is takes characters; any other box
// refuses them without counting a miss, so a click into another box can
// neither scramble the cursor nor complete the text out of order.
class SentenceLines {
public:
    explicit SentenceLines(const SentenceScript& script) : m_script(script), m_attempt(script.lines) {}

    // A character offered to the box of `line` (0-based).
    LinesAttempt::Step type(int line, char32_t typed);

    // A new attempt at the first line; the boxes keep their text.
    void restart() { m_attempt.restart(); }
    // A new attempt with every box emptied and the focus in the first.
    ScreenEffects fromTheStart();
    // Closing the screen by "目次へ" saves nothing.
    static ScreenEffects toMenu();

    const SentenceScript& script() const { return m_script; }
    QString firstBox() const { return m_script.boxName(0); }
    int line() const { return m_attempt.line(); }
    int CursorPos() const { return m_attempt.CursorPos(); }
    int MissCount() const { return m_attempt.MissCount(); }

private:
    const SentenceScript& m_script;
    LinesAttempt m_attempt;
};

} // namespace morvela
