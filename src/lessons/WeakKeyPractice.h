#pragma once

#include <QString>

class QWidget;

namespace morvela {

class AppContext;

// Opens the practice page of the weakest keys on `line` (romaji, typed as
// it stands) and waits for it; its result. The page is a rhythm drill that
// is never gated and changes no course state; each attempt judged on it is
// recorded like any page (screen F_nigate). An empty line opens nothing.
int RunWeakKeyPractice(AppContext& ctx, const QString& line, QWidget* parent);

} // namespace morvela
