#pragma once

class QWidget;

namespace morvela {

class AppContext;

// Lesson 0 from the menu: runs its pages modally, one after the other as
// each page says, until a page leaves for the menu.
void RunLesson0(AppContext& ctx, QWidget* parent = nullptr);

} // namespace morvela
