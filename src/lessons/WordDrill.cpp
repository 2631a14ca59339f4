#include "lessons/WordDrill.h"

#include "core/MissedKeys.h"
#include "core/OfferKey.h"
#include "lessons/MissJudgement.h"
#include "lessons/RhythmDrill.h"

namespace morvela {

namespace {
const QString Text1 = QStringLiteral("Text1");
const QString Command4 = QStringLiteral("Command4");
} // namespace

WordDrill::WordDrill(const WordDrillScript& script, ProgressRecord& record, const DerivedSettings& settings,
                     const Clock& clock)
    : m_script(script), m_lesson(record, script.lesson, PageIdsOf(script.pages), Command4), m_settings(settings)
{
    m_attempt.setClock(&clock);
    enterPage(1, m_script.openingAdvice);
}

QString WordDrill::pageText(int pageNo) const
{
    return m_script.typesWordLists ? m_settings.WordList[size_t(pageNo - 1)] : m_script.page(pageNo).drillText;
}

void WordDrill::enterPage(int pageNo, const QString& advice)
{
    m_pageNo = pageNo;
    m_attempt.setText(pageText(pageNo));
    m_screen.drillText = m_attempt.text();
    m_screen.advice = advice;
    m_screen.caption = m_script.page(pageNo).caption;
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
    m_screen.previousPageEnabled = false;
    m_screen.nextPageEnabled = m_lesson.passedBefore(1);
    effects.rowStateShown = m_lesson.start();
    return effects;
}

KeyOutcome WordDrill::keyPress(char32_t typed)
{
    return OfferToText(m_attempt, typed, [this] { return judge(); });
}

ScreenEffects WordDrill::judge()
{
    ScreenEffects effects;
    if (!m_script.inputMethod)
        m_missedKeys = MostMissedLine(m_attempt.mostMissed());
    const MissBand band = JudgeMisses(m_attempt.misses());
    switch (band) {
    case MissBand::TenOrMore:
        m_screen.advice = m_script.manyMisses;
        effects.focus = Text1;
        break;
    case MissBand::FiveToNine:
        m_screen.advice = m_script.fewerMisses;
        effects.focus = Text1;
        break;
    case MissBand::FewerThanFive:
        m_screen.advice = JudgementMessage(Judgement::Passed);
        effects = m_lesson.pass(m_pageNo);
        m_screen.nextPageEnabled = true;
        break;
    }
    AttemptRecord finished = m_attempt.figures();
    finished.screen = m_script.windowName;
    finished.pageId = m_script.page(m_pageNo).pageId;
    finished.inputMethod = m_script.inputMethod;
    finished.outcome = PassOutcome(band == MissBand::FewerThanFive);
    effects.finishedAttempt = finished;
    // The typed text stays; the next character starts a new attempt.
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
    if (!m_screen.nextPageEnabled)
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
    m_screen.previousPageEnabled = true;
    // Forward past a page only once it has been passed.
    m_screen.nextPageEnabled = m_lesson.passedBefore(m_pageNo);
    return effects;
}

ScreenEffects WordDrill::previousPage()
{
    if (!m_screen.previousPageEnabled)
        return {}; // the button is disabled
    enterPage(m_pageNo - 1, m_script.page(m_pageNo - 1).advice);
    if (m_lesson.passedBefore(m_pageNo))
        m_screen.nextPageEnabled = true; // otherwise it stays as it was
    if (m_pageNo == 1)
        m_screen.previousPageEnabled = false;
    return freshPage();
}

} // namespace morvela
