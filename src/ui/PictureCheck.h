#pragma once

#include <QString>

namespace morvela {

// What keeps the picture at `path` from showing whole, in the learner's
// words ("" when it shows): an empty file, one that is no picture, or a BMP
// cut short, which the image reader would show with a black block where
// the missing rows are.
QString PictureFault(const QString& path);

} // namespace morvela
