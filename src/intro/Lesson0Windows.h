#pragma once

#include "intro/Lesson0.h"
#include "intro/SpeedTest.h"
#include "ui/TypingBox.h"
#include "ui/TypingLines.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace morvela {

class AppContext;
class PictureBox;
class TypingLines;

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

// Page 00-03: the home position, and the home-row sequence typed once
// without looking, which completes Lesson 0.
class F_Position : public QDialog {
    Q_OBJECT
public:
    explicit F_Position(AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();

    TypingBox::Verdict Text1_KeyPress(char32_t key);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    const HomeRowDrill& drill() const { return m_drill; }

private:
    void buildControls();
    void render();

    AppContext& m_ctx;
    HomeRowDrill m_drill;
    PictureBox* m_picture1 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label6 = nullptr;
    QLabel* m_missedKeys = nullptr;
    TypingBox* m_text1 = nullptr;
    QPushButton* m_command1 = nullptr;
};

// Lesson 0 from the menu: runs its pages modally, one after the other as
// each page says, until a page leaves for the menu.
void RunLesson0(AppContext& ctx, QWidget* parent = nullptr);

} // namespace morvela
