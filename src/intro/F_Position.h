#pragma once

#include "intro/Lesson0.h"
#include "ui/TypingScreen.h"

class QLabel;
class QPushButton;

namespace morvela {

class AppContext;
class PictureBox;
class TypingBox;

// Page 00-03: the home position, and the home-row sequence typed once
// without looking, which completes Lesson 0.
class F_Position : public TypingScreen {
    Q_OBJECT
public:
    explicit F_Position(AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();

    KeyOutcome Text1_KeyPress(char32_t key);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    const HomeRowDrill& drill() const { return m_drill; }

private:
    void buildControls();
    void render() override;

    HomeRowDrill m_drill;
    PictureBox* m_picture1 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label6 = nullptr;
    QLabel* m_missedKeys = nullptr;
    TypingBox* m_text1 = nullptr;
    QPushButton* m_command1 = nullptr;
};

} // namespace morvela
