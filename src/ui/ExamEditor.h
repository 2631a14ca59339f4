#pragma once

#include <QPlainTextEdit>

namespace morvela {

// The mock exam's typing box: an ordinary multi-line editor (Backspace,
// Enter, Delete and caret moves edit it as usual) that takes no pasted or
// dropped text, since the exam measures typing. It reports the first key
// that produces a character, or the first input-method composition, after
// each call of watchFirstKey(): that starts the exam's clock.
class ExamEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ExamEditor(QWidget* parent = nullptr);

    void watchFirstKey() { m_watching = true; }

signals:
    void firstKeyPress();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void noteKeyPress();

    bool m_watching = true;
};

} // namespace morvela
