#pragma once

namespace morvela {

class AppContext;
class F_mokuji;
class HistoryDatabase;

// Connects the menu's buttons to the screens they open. `history` is the
// learner's record the menu's "記録" shows (none: the button opens nothing).
void ConnectScreens(F_mokuji& menu, AppContext& ctx, HistoryDatabase* history = nullptr);

} // namespace morvela
