#pragma once

#include "core/KeyLayout.h"

#include <QColor>
#include <QLabel>

namespace morvela {

class ProgramFolder;

// A colour laid over one key of the keyboard picture (a heat map's).
struct KeyFill {
    const KeyCap* key = nullptr;
    QColor colour;
};

// The size the pages are laid out for: the keyboard picture beside the
// program is drawn at it.
inline constexpr QSize KeyboardPictureSize = JisKeyboard::PictureSize;

// A picture box: shows a BMP from the program folder at its own size, or
// scaled down into the box's design size when it is larger, so a huge
// picture never pushes a page's buttons off the screen.
//
// Over the keyboard picture it can mark a key, the finger that strikes it
// and the Shift key to hold, placed by the key layout the picture is drawn
// from and scaled with the picture.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr, QSize designSize = KeyboardPictureSize);

    // Loads `name` (any letter case) from the folder. Returns false, leaving
    // the box empty, when it cannot be read or is not whole (PictureFault).
    bool loadPicture(const ProgramFolder& folder, const QString& name);

    // The key marked over the picture; an empty mark shows the picture alone.
    void setKeyMark(const KeyMark& mark);
    KeyMark keyMark() const { return m_mark; }

    // Colours laid over keys, under the mark.
    void setKeyFills(QList<KeyFill> fills);
    const QList<KeyFill>& keyFills() const { return m_fills; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QSize m_designSize;
    KeyMark m_mark;
    QList<KeyFill> m_fills;
};

} // namespace morvela
