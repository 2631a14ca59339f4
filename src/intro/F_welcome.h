#pragma once

#include "intro/SpeedTest.h"
#include "ui/TypingScreen.h"

class QLabel;
class QPushButton;

namespace morvela {

class AppContext;
class TypingLines;

// Page 00-01: the welcome and the speed test. It closes with the page that
// comes next (Lesson0Page) as its result.
class F_welcome : public TypingScreen {
    Q_OBJECT
public:
    explicit F_welcome(AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();

    // Text1_KeyPress .. Text3_KeyPress: a character for box `box` (0-based).
    KeyOutcome Text_KeyPress(int box, char32_t key);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    const SpeedTest& speedTest() const { return m_test; }

private:
    void buildControls();
    void render() override;

    SpeedTest m_test;
    TypingLines* m_lines = nullptr;
    QLabel* m_label8 = nullptr;
    QLabel* m_label9 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
};

} // namespace morvela
