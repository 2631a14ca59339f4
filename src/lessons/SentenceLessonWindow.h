#pragma once

#include "lessons/SentenceLesson.h"
#include "lessons/SentencePage.h"
#include "ui/TypingScreen.h"

namespace morvela {

class AppContext;

// The window of a sentence lesson, F_les7_1 (eight lines on the coloured
// panel) and F_les8_1 (five lines in L1-L4 and L8): each line over its box,
// typed in turn with the input method on. Every rule is the lesson's; the
// window forwards its events there and shows the result.
class SentenceLessonWindow : public TypingScreen {
    Q_OBJECT
public:
    SentenceLessonWindow(AppContext& ctx, int lesson, QWidget* parent = nullptr);

    void Form_Load();

    // T1_KeyPress .. T8_KeyPress: a character for the box of `line` (0-based).
    KeyOutcome T_KeyPress(int line, char32_t key);
    void Command3_Click();
    void Command1_Click();

    const SentenceLesson& lesson() const { return m_lesson; }

private:
    void render() override {} // the lines show their turn themselves

    SentenceLesson m_lesson;
    SentencePage m_page;
};

} // namespace morvela
