#include "game/GamePixmaps.h"

// Outside any namespace, as the resource's initialiser must be named.
static void initGamePictures()
{
    Q_INIT_RESOURCE(game_pictures);
}

namespace morvela {

QPixmap GamePixmap(const QString& name, qreal devicePixelRatio)
{
    // The pictures are in a static library; naming their initialiser keeps
    // the linker from leaving them out.
    static const bool ready = (initGamePictures(), true);
    Q_UNUSED(ready);
    // Drawn smaller from the larger one at ratios between 1 and 2 rather
    // than enlarged from the smaller.
    const int scale = devicePixelRatio > 1.0 ? 2 : 1;
    const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
    QPixmap picture(QStringLiteral(":/morvela/game/%1%2.png").arg(name, suffix));
    picture.setDevicePixelRatio(scale);
    return picture;
}

} // namespace morvela
