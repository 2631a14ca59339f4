#include "ui/ExamEditor.h"

#include "ui/ForeignText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace morvela {

ExamEditor::ExamEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    RefuseDropsAndContextMenu(this);
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

void ExamEditor::keyPressEvent(QKeyEvent* e)
{
    if (IsPasteKey(e)) {
        e->accept();
        return;
    }
    if (!e->text().isEmpty())
        noteKeyPress();
    QPlainTextEdit::keyPressEvent(e);
}

void ExamEditor::inputMethodEvent(QInputMethodEvent* e)
{
    if (!e->preeditString().isEmpty() || !e->commitString().isEmpty())
        noteKeyPress(); // a composition that starts is a key press too
    QPlainTextEdit::inputMethodEvent(e);
}

// Paste, drops and the middle button all insert through here.
bool ExamEditor::canInsertFromMimeData(const QMimeData*) const
{
    return false;
}

void ExamEditor::insertFromMimeData(const QMimeData*) {}

void ExamEditor::noteKeyPress()
{
    if (!m_watching)
        return;
    m_watching = false;
    emit firstKeyPress();
}

} // namespace morvela
