#pragma once

#include "core/KeyLayout.h"

#include <QColor>
#include <QLabel>

namespace morvela {

class ProgramFolder;

// A colour laid over one key of the keyboard picture (a heat map's).
struct KeyOverlay {
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
// The keyboard picture the build put beside the program is drawn afresh
// from the key table at the screen's pixel ratio, so it is as sharp as the
// text beside it on a high-DPI screen; any other picture (one the learner
// put in its place) is shown as it is.
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
    void setKeyFills(QList<KeyOverlay> fills);
    const QList<KeyOverlay>& keyFills() const { return m_fills; }

    // Whether the picture shown is drawn from the key table rather than
    // read from the file.
    bool drawsKeyboard() const { return m_drawsKeyboard; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    // The pixmap for the screen the box is on now.
    QPixmap pictureForScreen() const;

    QSize m_designSize;
    QPixmap m_file;
    bool m_drawsKeyboard = false;
    KeyMark m_mark;
    QList<KeyOverlay> m_fills;
};

} // namespace morvela
