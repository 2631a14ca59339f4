#pragma once

#include "core/AttemptRecord.h"
#include "core/LiveStats.h"
#include "core/TypingAttempt.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTimer>

namespace morvela {

// The small line on a typing screen that shows the attempt as it goes:
// time, speed, misses, accuracy (LiveLine). It follows the screen's
// attempt after every event and once a second while the attempt runs; an
// attempt that ended keeps its figures on the strip until the next one
// begins. A hidden strip computes nothing. Placed by each window in room
// that is spare, so no control of the course moves for it.
class LiveStrip : public QLabel {
    Q_OBJECT
public:
    // `attempt` belongs to the screen's engine and outlives the strip.
    LiveStrip(const TypingAttempt& attempt, bool inputMethod, QWidget* parent);

    // After every event of the screen: the figures as they are now.
    void refresh();
    // The event ended an attempt: its figures stay shown.
    void attemptEnded(const AttemptRecord& finished);
    // The longest line the strip can show, for sizing and the layout test.
    static QString widestLine(bool inputMethod);

protected:
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void display(const LiveFigures& figures);
    // A learner's larger desktop font leaves the strip less room than its
    // line: the line is drawn smaller then, never cut.
    void fitToRoom();

    QFont m_baseFont;

    const TypingAttempt& m_attempt;
    bool m_inputMethod;
    bool m_holdsFinished = false;
    QTimer m_tick;
};

// Puts `strip` where `row` had its stretch: an empty stretch keeps the
// spare room when the strip is hidden, and the strip takes that same room
// when shown, so the row's controls stand where they would without it.
void PlaceLiveStrip(QBoxLayout& row, LiveStrip* strip);

} // namespace morvela
