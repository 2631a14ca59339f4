#pragma once

#include <QLabel>

namespace morvela {

class ProgramFolder;

// The size the pages are laid out for: the keyboard picture beside the
// program is drawn at it.
inline constexpr QSize KeyboardPictureSize{720, 250};

// A picture box: shows a BMP from the program folder at its own size, or
// scaled down into the box's design size when it is larger, so a huge
// picture never pushes a page's buttons off the screen.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr, QSize designSize = KeyboardPictureSize);

    // Loads `name` (any letter case) from the folder. Returns false, leaving
    // the box empty, when it cannot be read.
    bool loadPicture(const ProgramFolder& folder, const QString& name);

private:
    QSize m_designSize;
};

} // namespace morvela
