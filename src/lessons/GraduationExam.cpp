#include "lessons/GraduationExam.h"

#include "lessons/GraduationTexts.h"

namespace morvela {

namespace {
const QString ExamPageId = QStringLiteral("09-01");
} // namespace

GraduationExam::GraduationExam(ProgressRecord& record, const Clock& clock)
    : m_record(record), m_clock(clock), m_lines(SentenceLessonScript(7))
{
}

ScreenEffects GraduationExam::again()
{
    m_started = false;
    return m_lines.fromTheStart();
}

ScreenEffects GraduationExam::open()
{
    ScreenEffects effects = again();
    effects.rowStateShown = StartLesson(m_record.GraduationState, LessonState::Challenging);
    return effects;
}

KeyOutcome GraduationExam::keyPress(int line, char32_t typed)
{
    KeyOutcome outcome;
    const LinesAttempt::Step step = m_lines.type(line, typed);
    outcome.accepted = step != LinesAttempt::Step::Refused;
    // The turn is held, so the first accepted character is always in T1.
    if (outcome.accepted && !m_started) {
        m_startTime = m_clock.nowSeconds();
        m_started = true;
    }
    if (step == LinesAttempt::Step::AllDone)
        outcome.effects = finish();
    outcome.line = m_lines.line();
    return outcome;
}

ScreenEffects GraduationExam::finish()
{
    m_endTime = m_clock.nowSeconds();
    // An hour or more counts as 59分59, so it can never pass as a short time.
    m_examTime = FormatBestTime(m_endTime - m_startTime);
    ApplyBestTime(m_record.BestGraduationTime, m_examTime); // a fail can be a best too

    ScreenEffects effects;
    if (m_examTime < GraduationPassLine) {
        effects.resultScreen = GraduationTexts::PassedScreen;
        RaiseFurthestPage(m_record, ExamPageId);
        m_record.GraduationState = LessonState::Graduated;
        effects.rowStateShown = true;
    } else {
        effects.resultScreen = GraduationTexts::FailedScreen;
    }
    effects.save = true;
    // The boxes keep their text; the next attempt is timed from its own start.
    m_lines.restart();
    m_started = false;
    effects.focus = m_lines.firstBox();
    return effects;
}

} // namespace morvela
