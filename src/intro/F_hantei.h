#pragma once

#include <QDialog>

class QLabel;

namespace morvela {

class AppContext;

// Page 00-02: the judgement of the best time and the benefits of typing
// without looking.
class F_hantei : public QDialog {
    Q_OBJECT
public:
    explicit F_hantei(AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    void buildControls();

    AppContext& m_ctx;
    QLabel* m_label[5] = {}; // Label1..Label4 at [1]..[4]
};

} // namespace morvela
