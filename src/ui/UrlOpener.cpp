#include "ui/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace morvela {

bool DesktopUrlOpener::open(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace morvela
