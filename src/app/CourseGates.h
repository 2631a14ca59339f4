#pragma once

#include "core/ProgressRecord.h"

#include <QString>

namespace morvela {

// The course rows of the menu: 0 = Lesson 0 .. 8 = Lesson 8, 9 = graduation.
constexpr int CourseRowCount = 10;

// A row opens only when the lesson before it is "完了" (row 0 always opens).
bool GateOpen(const ProgressRecord& record, int row);

// The warning shown when a row's gate is closed.
QString GateMessage(int row);

// The state a row's status box shows.
QString RowState(const ProgressRecord& record, int row);

} // namespace morvela
