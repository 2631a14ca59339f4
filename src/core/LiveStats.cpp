#include "core/LiveStats.h"

namespace morvela {

namespace {
const QString Unknown = QStringLiteral("－");
const QString Gap = QStringLiteral("　"); // full-width space between the figures
} // namespace

LiveFigures LiveFiguresOf(const TypingAttempt& attempt, bool inputMethod)
{
    return {attempt.elapsedMs(), attempt.acceptedCount(), attempt.misses(), inputMethod};
}

LiveFigures LiveFiguresOf(const AttemptRecord& finished)
{
    return {finished.durationMs, finished.accepted, finished.misses, finished.inputMethod};
}

int SpeedPerMinute(const LiveFigures& figures)
{
    if (figures.elapsedMs < 1000)
        return -1;
    const qint64 counted = figures.inputMethod ? figures.accepted : qint64(figures.accepted) + figures.misses;
    return int(counted * 60000 / figures.elapsedMs);
}

int AccuracyPercent(const LiveFigures& figures)
{
    const qint64 offered = qint64(figures.accepted) + figures.misses;
    if (offered <= 0)
        return -1;
    return int(qint64(figures.accepted) * 100 / offered);
}

QString ElapsedCaption(qint64 ms)
{
    const qint64 seconds = qMax<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString LiveLine(const LiveFigures& figures)
{
    return LiveLine(figures.elapsedMs, SpeedPerMinute(figures), figures.misses, AccuracyPercent(figures),
                    figures.inputMethod);
}

QString LiveLine(qint64 elapsedMs, int speed, int misses, int accuracy, bool inputMethod)
{
    const QString unit = inputMethod ? QStringLiteral("字/分") : QStringLiteral("打/分");
    return QStringLiteral("時間 ") + ElapsedCaption(elapsedMs) + Gap + QStringLiteral("速度 ")
        + (speed < 0 ? Unknown : QString::number(speed)) + QLatin1Char(' ') + unit + Gap + QStringLiteral("ミス ")
        + QString::number(misses) + Gap + QStringLiteral("正確さ ")
        + (accuracy < 0 ? Unknown : QString::number(accuracy) + QLatin1Char('%'));
}

} // namespace morvela
