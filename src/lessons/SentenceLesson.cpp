#include "lessons/SentenceLesson.h"

namespace morvela {

SentenceLesson::SentenceLesson(const SentenceScript& script, ProgressRecord& record)
    : m_record(record), m_lines(script)
{
}

QString& SentenceLesson::lessonState() const
{
    return m_record.LessonStates[size_t(script().lesson)];
}

ScreenEffects SentenceLesson::open()
{
    ScreenEffects effects = m_lines.fromTheStart();
    effects.rowStateShown = StartLesson(lessonState());
    return effects;
}

KeyOutcome SentenceLesson::keyPress(int line, char32_t typed)
{
    KeyOutcome outcome;
    const LinesAttempt::Step step = m_lines.type(line, typed);
    outcome.accepted = step != LinesAttempt::Step::Refused;
    if (step == LinesAttempt::Step::AllDone)
        outcome.effects = judge();
    outcome.line = m_lines.line();
    return outcome;
}

ScreenEffects SentenceLesson::judge()
{
    ScreenEffects effects;
    const int misses = m_lines.MissCount();
    if (misses >= SentenceMissLimit) {
        effects.message = SentenceFailMessage(misses);
    } else {
        effects.message = SentencePassMessage();
        RaiseFurthestPage(m_record, script().pageId);
        lessonState() = LessonState::Completed;
        effects.rowStateShown = true;
        effects.save = true;
    }
    // The boxes keep their text; the next character starts at the first line.
    effects.focus = m_lines.firstBox();
    m_lines.restart();
    return effects;
}

} // namespace morvela
