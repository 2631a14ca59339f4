#include "ui/ForeignText.h"

#include <QKeyEvent>
#include <QWidget>

namespace morvela {

void RefuseDropsAndContextMenu(QWidget* box)
{
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
}

bool IsPasteKey(const QKeyEvent* e)
{
    return e->matches(QKeySequence::Paste) || e->key() == Qt::Key_Paste
        || (e->key() == Qt::Key_Insert && (e->modifiers() & Qt::ShiftModifier));
}

} // namespace morvela
