#include "ui/ModalRunner.h"

namespace morvela {

int ScriptedModalRunner::run(QDialog& dialog)
{
    opened << dialog.objectName();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!m_script.isEmpty()) {
        Action action = m_script.takeFirst();
        action(dialog);
    }
    if (dialog.isVisible())
        dialog.reject(); // a script that leaves a screen open closes it
    return dialog.result();
}

} // namespace morvela
