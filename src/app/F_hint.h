#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace morvela {

class AppContext;

// The hint pages: one window, filled afresh with the page the menu's "？"
// button asks for.
class F_hint : public QDialog {
    Q_OBJECT
public:
    explicit F_hint(AppContext& ctx, QWidget* parent = nullptr);

    // Hint 1 to 10: its title and lines; "サイトを開く" on hint 5 only; the
    // window centred for its size.
    void showHint(int hint);

    void Command1_Click();
    void Command2_Click();

private:
    AppContext& m_ctx;
    std::array<QLabel*, 12> m_labels{};
    QPushButton* m_command2 = nullptr;
};

} // namespace morvela
