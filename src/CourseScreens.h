#pragma once

namespace morvela {

class AppContext;
class F_mokuji;

// Connects the menu's buttons to the screens they open.
void ConnectScreens(F_mokuji& menu, AppContext& ctx);

} // namespace morvela
