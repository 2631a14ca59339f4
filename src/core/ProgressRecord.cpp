#include "core/ProgressRecord.h"

#include "core/Cp932.h"

namespace morvela {

double ProgressRecord::optionCodeValue() const
{
    return LeadingNumber(OptionCode);
}

void ProgressRecord::setOptionCode(int code)
{
    OptionCode = QStringLiteral(" %1 ").arg(code);
}

void ProgressRecord::clearPracticeRecords()
{
    LessonStates.fill(LessonState::NotStarted);
    GraduationState = LessonState::NotStarted;
    SpareState = LessonState::NotStarted;
    FurthestPage = NoPagePassed;
}

bool ApplyBestTime(QString& stored, const QString& newTime)
{
    if (stored > newTime) {
        stored = newTime;
        return true;
    }
    return false;
}

QString FormatBestTime(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    if (seconds >= 3600)
        seconds = 59 * 60 + 59;
    return QStringLiteral("%1分%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool StartLesson(QString& state, const QString& started)
{
    if (state != LessonState::NotStarted)
        return false;
    state = started;
    return true;
}

bool RaiseFurthestPage(ProgressRecord& record, const QString& page)
{
    if (record.FurthestPage < page) {
        record.FurthestPage = page;
        return true;
    }
    return false;
}

bool PagePassed(const ProgressRecord& record, const QString& page)
{
    return record.FurthestPage >= page;
}

QString MakePageId(int lesson, int page)
{
    return QStringLiteral("%1-%2").arg(lesson, 2, 10, QLatin1Char('0')).arg(page, 2, 10, QLatin1Char('0'));
}

} // namespace morvela
