#include "app/CourseScreens.h"

#include "app/AppContext.h"
#include "app/F_mokuji.h"

namespace morvela {

void ConnectScreens(F_mokuji& menu, AppContext& ctx)
{
    // One line per screen; each screen's own file says how it runs.
    (void)menu;
    (void)ctx;
}

} // namespace morvela
