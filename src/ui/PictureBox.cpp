#include "ui/PictureBox.h"

#include "ui/FileAccess.h"

#include <QPixmap>

namespace morvela {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

bool PictureBox::loadPicture(const ProgramFolder& folder, const QString& name)
{
    const QString path = folder.find(name);
    QPixmap picture;
    if (path.isEmpty() || !picture.load(path)) {
        clear();
        return false;
    }
    setPixmap(picture);
    setFixedSize(picture.size());
    return true;
}

} // namespace morvela
