#include "lessons/SentenceLesson.h"

#include "core/OfferKey.h"
#include "lessons/MissJudgement.h"

namespace morvela {

// One page, and no "次ページ>>": after a pass the learner stays in the first box.
SentenceLesson::SentenceLesson(const SentenceScript& script, ProgressRecord& record, const Clock& clock)
    : m_script(script), m_lesson(record, script.lesson, {script.pageId}, QString()), m_attempt(script.lines)
{
    m_attempt.setClock(&clock);
}

ScreenEffects SentenceLesson::open()
{
    ScreenEffects effects = again();
    effects.rowStateShown = m_lesson.start();
    return effects;
}

ScreenEffects SentenceLesson::again()
{
    m_attempt.restart();
    return SentenceBoxesEmptied(m_script);
}

KeyOutcome SentenceLesson::keyPress(int line, char32_t typed)
{
    return OfferToLines(m_attempt, line, typed, [this] { return judge(); });
}

ScreenEffects SentenceLesson::judge()
{
    ScreenEffects effects;
    const int misses = m_attempt.misses();
    AttemptRecord finished = m_attempt.attempt().figures();
    finished.screen = m_script.windowName;
    finished.pageId = m_script.pageId;
    finished.inputMethod = true; // kana and kanji come from the input method
    finished.outcome = PassOutcome(SentencePassed(misses));
    if (SentencePassed(misses)) {
        effects = m_lesson.pass(1);
        effects.message = SentencePassMessage();
    } else {
        effects.message = SentenceFailMessage(misses);
    }
    // The boxes keep their text; the next character starts at the first line.
    effects.focus = m_script.boxName(0);
    effects.finishedAttempt = finished;
    m_attempt.restart();
    return effects;
}

} // namespace morvela
