#pragma once

#include "core/KeyLayout.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QStringList>

#include <functional>

namespace morvela {

// The colour a key's face is filled with; by default its finger's colour.
using KeyFill = std::function<QColor(const KeyCap&)>;

// A key's outline on the picture: its rounded face, joined with its lower
// part where it has one (the tall Enter). The picture draws it; marks and
// heat-map colours are laid over it.
QPainterPath KeyOutline(const KeyCap& key);

// The family the keyboard picture's legends are drawn in.
QString KeyboardPictureFont();
bool KeyboardPictureFontInstalled();

// The keyboard picture drawn from the key table (JisKeyboard): the keys
// with their legends in their fingers' colours, the home keys outlined and
// the legend of the fingers underneath. The image holds
// JisKeyboard::PictureSize times `devicePixelRatio` pixels and carries that
// ratio, so it shows at the picture's size, as sharp as the screen allows.
// `overflows` receives the legends whose ink does not fit their room.
QImage DrawKeyboardPicture(qreal devicePixelRatio, const KeyFill& fill = {}, QStringList* overflows = nullptr);

// What tells the picture file the build drew from any other: the SHA-256 of
// its bytes, in hex.
QByteArray KeyboardPictureFingerprint(const QByteArray& fileBytes);

} // namespace morvela
