#pragma once

#include <QStringList>

class QFont;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace morvela {

class TypingBox;

// Labels over a typing box, sharing one left edge, one width and one
// fixed-pitch font, so each typed character stands under the character it
// answers (and a caption's word over its romaji).
struct TypingColumn {
    QList<QLabel*> labels; // top to bottom
    TypingBox* box = nullptr;
    QVBoxLayout* layout = nullptr; // add it where the column goes
};

// A column `width` pixels wide: the labels named `labelNames`, then the box
// named `boxName`, in `font`.
TypingColumn MakeTypingColumn(const QStringList& labelNames, const QString& boxName, const QFont& font, int width,
                              QWidget* parent);

// The width of a column that holds `halfWidthColumns` half-width characters
// (a full-width one takes two) of `font`, box frame included.
int TypingColumnWidth(const QFont& font, int halfWidthColumns);

} // namespace morvela
