#include "lessons/SentenceLessonWindow.h"

#include "ui/AppContext.h"

#include <QPushButton>

namespace morvela {

SentenceLessonWindow::SentenceLessonWindow(AppContext& ctx, int lesson, QWidget* parent)
    : TypingScreen(ctx, lesson, parent), m_lesson(SentenceLessonScript(lesson), ctx.state.progress, ctx.clock)
{
    const SentenceScript& script = m_lesson.script();
    setObjectName(script.windowName);
    m_page = BuildSentencePage(*this, script, script.instruction, script.panel,
                               makeLiveStrip(m_lesson.attempt(), true));
    m_page.lines->setJudge([this](int line, char32_t key) { return T_KeyPress(line, key); });
    connect(m_page.command3, &QPushButton::clicked, this, &SentenceLessonWindow::Command3_Click);
    connect(m_page.command1, &QPushButton::clicked, this, &SentenceLessonWindow::Command1_Click);
}

void SentenceLessonWindow::Form_Load()
{
    LoadSentencePage(*this, m_page, m_lesson.script(), m_lesson.script().titleTag);
    apply(m_lesson.open());
}

KeyOutcome SentenceLessonWindow::T_KeyPress(int line, char32_t key)
{
    return judged(m_lesson.keyPress(line, key));
}

void SentenceLessonWindow::Command3_Click()
{
    apply(m_lesson.again());
}

void SentenceLessonWindow::Command1_Click()
{
    apply(m_lesson.toMenu()); // nothing is saved
}

} // namespace morvela
