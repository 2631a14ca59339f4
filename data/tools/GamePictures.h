#pragma once

#include <QString>

// The falling-words game's three pictures, drawn into `dir` as
// background.png (539 x 414, 256 colours: night sky over a city), beam.png
// (11 x 402: the shot) and explosion.png (84 x 44), each also at twice the
// size for high-DPI screens (background@2x.png ...). Returns false with
// `error` set when a file cannot be written.
bool DrawGamePictures(const QString& dir, QString* error);
