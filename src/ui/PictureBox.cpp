#include "ui/PictureBox.h"

#include "ui/FileAccess.h"

#include <QImageReader>
#include <QPixmap>

namespace morvela {

PictureBox::PictureBox(QWidget* parent, QSize designSize) : QLabel(parent), m_designSize(designSize)
{
    setAlignment(Qt::AlignCenter);
}

bool PictureBox::loadPicture(const ProgramFolder& folder, const QString& name)
{
    const QString path = folder.find(name);
    QImageReader reader(path);
    const QSize size = reader.size();
    // Decoded at the size it is shown at, so a huge file costs no memory.
    if (size.isValid() && (size.width() > m_designSize.width() || size.height() > m_designSize.height()))
        reader.setScaledSize(size.scaled(m_designSize, Qt::KeepAspectRatio));
    const QImage image = path.isEmpty() ? QImage() : reader.read();
    if (image.isNull()) {
        clear();
        return false;
    }
    const QPixmap picture = QPixmap::fromImage(image);
    setPixmap(picture);
    setFixedSize(picture.size());
    return true;
}

} // namespace morvela
