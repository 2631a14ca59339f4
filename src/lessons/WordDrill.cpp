#include "lessons/WordDrill.h"

#include "core/MissedKeys.h"
#include "lessons/RhythmDrill.h"

namespace morvela {

namespace {
const QString Text1 = QStringLiteral("Text1");
const QString Command4 = QStringLiteral("Command4");
} // namespace

WordDrill::WordDrill(const WordDrillScript& script, ProgressRecord& record, const DerivedSettings& settings)
    : m_script(script), m_record(record), m_settings(settings)
{
    enterPage(1, m_script.openingAdvice);
}

QString& WordDrill::lessonState() const
{
    return m_record.LessonStates[size_t(m_script.lesson)];
}

QString WordDrill::pageText(int pageNo) const
{
    return m_script.typesWordLists ? m_settings.WordList[size_t(pageNo - 1)] : m_script.page(pageNo).drillText;
}

bool WordDrill::passedBefore(int pageNo) const
{
    return m_record.FurthestPage >= m_script.page(pageNo).pageId;
}

void WordDrill::enterPage(int pageNo, const QString& advice)
{
    m_pageNo = pageNo;
    m_attempt.setText(pageText(pageNo));
    m_screen.Label4 = m_attempt.text();
    m_screen.Label5 = advice;
    m_screen.Label6 = m_script.page(pageNo).caption;
    m_missedKeys.clear();
}

ScreenEffects WordDrill::freshPage() const
{
    ScreenEffects effects;
    effects.clearBoxes = {Text1};
    effects.focus = Text1;
    return effects;
}

ScreenEffects WordDrill::open()
{
    ScreenEffects effects = freshPage();
    enterPage(1, m_script.openingAdvice);
    m_screen.Command5Enabled = false;
    m_screen.Command4Enabled = passedBefore(1);
    effects.rowStateShown = StartLesson(lessonState());
    return effects;
}

KeyOutcome WordDrill::keyPress(char32_t typed)
{
    KeyOutcome outcome;
    switch (m_attempt.type(typed)) {
    case TypingAttempt::Result::Refused:
        return outcome;
    case TypingAttempt::Result::Accepted:
        outcome.accepted = true;
        return outcome;
    case TypingAttempt::Result::Completed:
        break;
    }
    outcome.accepted = true;
    outcome.effects = judge();
    return outcome;
}

ScreenEffects WordDrill::judge()
{
    ScreenEffects effects;
    const int misses = m_attempt.MissCount();
    if (!m_script.inputMethod)
        m_missedKeys = MostMissedLine(m_attempt.mostMissed());
    if (misses >= 10) {
        m_screen.Label5 = m_script.manyMisses;
    } else if (misses >= 5) {
        m_screen.Label5 = m_script.fewerMisses;
    } else {
        m_screen.Label5 = JudgementMessage(Judgement::Passed);
        RaiseFurthestPage(m_record, m_script.page(m_pageNo).pageId);
        m_screen.Command4Enabled = true;
        if (m_pageNo == WordDrillScript::PageCount) {
            lessonState() = LessonState::Completed;
            effects.rowStateShown = true;
        }
        effects.save = true; // on every pass, raised or not
    }
    // The typed text stays; the next character starts a new attempt.
    effects.focus = effects.save ? Command4 : Text1;
    m_attempt.restart();
    return effects;
}

ScreenEffects WordDrill::again()
{
    m_attempt.restart();
    return freshPage();
}

ScreenEffects WordDrill::nextPage()
{
    if (!m_screen.Command4Enabled)
        return {}; // the button is disabled
    ScreenEffects effects = freshPage();
    m_attempt.restart();
    if (m_pageNo >= WordDrillScript::PageCount) {
        effects.message = m_script.endMessage;
        effects.messageIcon = MessageIcon::Information;
        effects.focus.clear();
        effects.close = true;
        return effects;
    }
    enterPage(m_pageNo + 1, m_script.page(m_pageNo + 1).advice);
    m_screen.Command5Enabled = true;
    // Forward past a page only once it has been passed.
    m_screen.Command4Enabled = passedBefore(m_pageNo);
    return effects;
}

ScreenEffects WordDrill::previousPage()
{
    if (!m_screen.Command5Enabled)
        return {}; // the button is disabled
    enterPage(m_pageNo - 1, m_script.page(m_pageNo - 1).advice);
    if (passedBefore(m_pageNo))
        m_screen.Command4Enabled = true; // otherwise it stays as it was
    if (m_pageNo == 1)
        m_screen.Command5Enabled = false;
    return freshPage();
}

} // namespace morvela
