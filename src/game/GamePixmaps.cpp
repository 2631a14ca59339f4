#include "game/GamePixmaps.h"

// Outside any namespace, as the resource's initialiser must be named.
static void initGamePictures()
{
    Q_INIT_RESOURCE(game_pictures);
}

namespace morvela {

QPixmap GamePixmap(const QString& name)
{
    // The pictures are in a static library; naming their initialiser keeps
    // the linker from leaving them out.
    static const bool ready = (initGamePictures(), true);
    Q_UNUSED(ready);
    return QPixmap(QStringLiteral(":/morvela/game/%1.png").arg(name));
}

} // namespace morvela
