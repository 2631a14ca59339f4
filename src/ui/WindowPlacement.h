#pragma once

class QWidget;

namespace morvela {

// Windows centre themselves on the screen when they load.
void CentreOnScreen(QWidget* window);

} // namespace morvela
