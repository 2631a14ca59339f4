#pragma once

#include "core/AttemptRecord.h"
#include "core/TypingAttempt.h"

#include <QString>

namespace morvela {

// What the live strip over a typing box shows of an attempt: its time so
// far, what went in and what was missed. With the input method off every
// key the learner presses reaches the box, so speed counts keystrokes
// (accepted and missed); with it on the keys go to the input method and
// only committed characters arrive, so speed counts the characters that
// went in.
struct LiveFigures {
    qint64 elapsedMs = 0;
    int accepted = 0;
    int misses = 0;
    bool inputMethod = false;
    friend bool operator==(const LiveFigures&, const LiveFigures&) = default;
};

// The attempt in progress, timed up to now.
LiveFigures LiveFiguresOf(const TypingAttempt& attempt, bool inputMethod);
// An attempt that ended: its figures stay on the strip until the next one starts.
LiveFigures LiveFiguresOf(const AttemptRecord& finished);

// Per minute; -1 while the attempt is under a second old (too short to say).
int SpeedPerMinute(const LiveFigures& figures);
// Accepted out of everything offered, in whole percent, rounded down so
// that a single miss never reads 100%; -1 before anything was offered.
int AccuracyPercent(const LiveFigures& figures);
// "m:ss", minutes as many as there are.
QString ElapsedCaption(qint64 ms);
// "時間 0:12　速度 123 打/分　ミス 2　正確さ 98%".
QString LiveLine(const LiveFigures& figures);
// The same line from its figures already worked out (-1: not known yet).
QString LiveLine(qint64 elapsedMs, int speed, int misses, int accuracy, bool inputMethod);

} // namespace morvela
