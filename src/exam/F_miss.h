#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace morvela {

class AppContext;

// The mistake report of the mock exam: the list of the last comparison's
// mistakes, opened over the exam window at its top-left corner.
class F_miss : public QDialog {
    Q_OBJECT
public:
    // `parent` is the exam window.
    explicit F_miss(AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();
    void Command1_Click();

private:
    AppContext& m_ctx;
    QPlainTextEdit* m_text1 = nullptr;
};

} // namespace morvela
