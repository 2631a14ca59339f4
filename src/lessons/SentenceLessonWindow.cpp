#include "lessons/SentenceLessonWindow.h"

#include "ui/AppContext.h"
#include "ui/ApplyEffects.h"

#include <QPushButton>

namespace morvela {

SentenceLessonWindow::SentenceLessonWindow(AppContext& ctx, int lesson, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_lesson(SentenceLessonScript(lesson), ctx.state.progress)
{
    const SentenceScript& script = m_lesson.script();
    setObjectName(script.windowName);
    m_page = BuildSentencePage(*this, script, script.instruction, script.panel);
    m_page.lines->setJudge([this](int line, char32_t key) { return KeyPress(line, key); });
    connect(m_page.command3, &QPushButton::clicked, this, &SentenceLessonWindow::Command3_Click);
    connect(m_page.command1, &QPushButton::clicked, this, &SentenceLessonWindow::Command1_Click);
}

void SentenceLessonWindow::Form_Load()
{
    LoadSentencePage(*this, m_page, m_lesson.script(), m_lesson.script().titleTag);
    apply(m_lesson.open());
}

void SentenceLessonWindow::apply(const ScreenEffects& effects)
{
    ApplyPageEffects(m_ctx, *this, m_page, m_lesson.script().lesson, m_lesson.line(), effects);
}

TypingLines::Verdict SentenceLessonWindow::KeyPress(int line, char32_t key)
{
    const KeyOutcome k = m_lesson.keyPress(line, key);
    // The lines widget moves the turn itself, carrying a commit along.
    if (k.effects != ScreenEffects{})
        ApplyEffects(m_ctx, *this, m_lesson.script().lesson, k.effects);
    return {k.accepted, k.line};
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
