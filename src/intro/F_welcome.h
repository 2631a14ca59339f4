#pragma once

#include "intro/SpeedTest.h"
#include "ui/TypingLines.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace morvela {

class AppContext;

// Page 00-01: the welcome and the speed test. It closes with the page that
// comes next (Lesson0Page) as its result.
class F_welcome : public QDialog {
    Q_OBJECT
public:
    explicit F_welcome(AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();

    TypingLines::Verdict Text1_KeyPress(char32_t key) { return keyPress(0, key); }
    TypingLines::Verdict Text2_KeyPress(char32_t key) { return keyPress(1, key); }
    TypingLines::Verdict Text3_KeyPress(char32_t key) { return keyPress(2, key); }
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    const SpeedTest& speedTest() const { return m_test; }

private:
    void buildControls();
    TypingLines::Verdict keyPress(int box, char32_t key);

    AppContext& m_ctx;
    SpeedTest m_test;
    TypingLines* m_lines = nullptr;
    QLabel* m_label8 = nullptr;
    QLabel* m_label9 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
};

} // namespace morvela
