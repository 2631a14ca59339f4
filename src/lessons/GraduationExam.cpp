#include "lessons/GraduationExam.h"

#include "core/OfferKey.h"
#include "lessons/GraduationTexts.h"

namespace morvela {

namespace {
const QString ExamPageId = QStringLiteral("09-01");
} // namespace

GraduationExam::GraduationExam(ProgressRecord& record, const Clock& clock)
    : m_record(record), m_script(SentenceLessonScript(7)), m_attempt(m_script.lines, clock)
{
}

ScreenEffects GraduationExam::again()
{
    m_attempt.restart();
    return SentenceBoxesEmptied(m_script);
}

ScreenEffects GraduationExam::open()
{
    ScreenEffects effects = again();
    effects.rowStateShown = StartLesson(m_record.GraduationState, LessonState::Challenging);
    return effects;
}

KeyOutcome GraduationExam::keyPress(int line, char32_t typed)
{
    return OfferToLines(m_attempt, line, typed, [this] { return finish(); });
}

ScreenEffects GraduationExam::finish()
{
    m_attempt.keepBestTime(m_record.BestGraduationTime); // a fail can be a best too

    ScreenEffects effects;
    const bool passed = examTime() < GraduationPassLine;
    AttemptRecord finished = m_attempt.attempt().figures();
    finished.screen = GraduationTexts::WindowName;
    finished.pageId = ExamPageId;
    finished.inputMethod = true; // kana and kanji come from the input method
    finished.outcome = PassOutcome(passed);
    effects.finishedAttempt = finished;
    if (passed) {
        effects.resultScreen = GraduationTexts::PassedScreen;
        RaiseFurthestPage(m_record, ExamPageId);
        m_record.GraduationState = LessonState::Graduated;
        effects.rowStateShown = true;
    } else {
        effects.resultScreen = GraduationTexts::FailedScreen;
    }
    effects.save = true;
    // The boxes keep their text; the next attempt is timed from its own start.
    m_attempt.restart();
    effects.focus = m_script.boxName(0);
    return effects;
}

} // namespace morvela
