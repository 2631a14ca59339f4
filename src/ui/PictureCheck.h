#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace morvela {

// Reads a picture decoded at no more than `within` (a huge file costs no
// memory). A null image, with `fault` saying why in the learner's words,
// when it does not show whole: an empty file, one that is no picture, or a
// BMP cut short, which the image reader would show with a black block
// where the missing rows are.
QImage ReadPicture(const QString& path, QSize within, QString* fault);

// ReadPicture's verdict ("" when the picture shows), without decoding a
// BMP whose rows are all there.
QString PictureFault(const QString& path, QSize within);

} // namespace morvela
