#pragma once

#include <QLabel>

namespace morvela {

class ProgramFolder;

// A picture box: shows a BMP from the program folder at its own size.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Loads `name` (any letter case) from the folder. Returns false, leaving
    // the box empty, when it cannot be read.
    bool loadPicture(const ProgramFolder& folder, const QString& name);
};

} // namespace morvela
