#include "app/CourseGates.h"

namespace morvela {

bool GateOpen(const ProgressRecord& record, int row)
{
    if (row <= 0)
        return true;
    return record.LessonStates[size_t(row - 1)] == LessonState::Completed;
}

QString GateMessage(int row)
{
    const QString target = row == 9 ? QStringLiteral("卒業試験") : QStringLiteral("Lesson%1").arg(row);
    return QStringLiteral("Lesson%1が終わっていないと、%2には進めません。").arg(row - 1).arg(target);
}

QString RowState(const ProgressRecord& record, int row)
{
    return row == 9 ? record.GraduationState : record.LessonStates[size_t(row)];
}

} // namespace morvela
