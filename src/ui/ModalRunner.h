#pragma once

#include <QDialog>

namespace morvela {

// Shows a screen modally and returns its result. Tests replace it with a
// script that works the screen while it is "open", so nothing blocks.
class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    virtual int run(QDialog& dialog) { return dialog.exec(); }
};

} // namespace morvela
