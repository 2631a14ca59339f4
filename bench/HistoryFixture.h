#pragma once

// Attempts as a learner leaves them: the course's pages, a speed level and
// tempo on the rhythm pages, the input method on from Lesson 5, and per
// attempt 20 to 40 characters with their counts.

#include "core/AttemptRecord.h"

#include <QRandomGenerator>

namespace morvela::bench {

inline AttemptRecord RealisticAttempt(QRandomGenerator& random, const QDateTime& endedAt)
{
    static const char* const screens[] = {"F_welcome", "F_les1_1", "F_les2_1", "F_les3_1", "F_les4_1",
                                          "F_les5_1", "F_les6_1", "F_les7_1", "F_les8_1", "F_game"};
    const int lesson = int(random.bounded(10));
    AttemptRecord a;
    a.endedAt = endedAt;
    a.screen = QString::fromLatin1(screens[lesson]);
    // The speed test and the game have one page each, named as the program names them.
    a.pageId = lesson == 9 ? QStringLiteral("F_game")
        : lesson == 0      ? QStringLiteral("00-01")
                           : QStringLiteral("%1-%2").arg(lesson, 2, 10, QChar(u'0')).arg(1 + random.bounded(12), 2, 10, QChar(u'0'));
    a.accepted = 40 + int(random.bounded(400));
    a.misses = int(random.bounded(a.accepted / 8 + 1));
    a.durationMs = qint64(a.accepted) * (150 + random.bounded(450));
    a.inputMethod = lesson >= 5;
    if (lesson >= 1 && lesson <= 4) {
        a.level = int(random.bounded(5));
        a.tempoMs = 300 + 50 * int(random.bounded(8));
    }
    a.outcome = random.bounded(4) ? QStringLiteral("合格") : QStringLiteral("不合格");
    const int keys = 20 + int(random.bounded(21));
    const char32_t first = a.inputMethod ? U'あ' : U'!';
    for (int k = 0; k < keys; ++k) {
        const int expected = 1 + int(random.bounded(20));
        a.keys.append({char32_t(first + k * 2), expected, int(random.bounded(expected / 4 + 1))});
    }
    return a;
}

} // namespace morvela::bench
