#pragma once

#include "lessons/WordDrill.h"
#include "ui/TypingScreen.h"

class QLabel;
class QPushButton;

namespace morvela {

class LiveStrip;

class AppContext;
class PictureBox;
class TypingBox;

// The window of a word drill, F_les5_1 (romaji, input method kept out) and
// F_les6_1 (kana-kanji conversion): the caption over the text to type over
// the typing box, the advice line, the keyboard picture and the page
// buttons. Every rule is the drill's; the window forwards its events there
// and shows the result.
class WordDrillWindow : public TypingScreen {
    Q_OBJECT
public:
    WordDrillWindow(AppContext& ctx, int lesson, QWidget* parent = nullptr);

    void Form_Load();

    void Command1_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    KeyOutcome Text1_KeyPress(char32_t key);

    const WordDrill& drill() const { return m_drill; }

private:
    void buildControls();
    void render() override;

    WordDrill m_drill;
    QLabel* m_label4 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label6 = nullptr;
    QLabel* m_missedKeys = nullptr; // Lesson 5 only
    LiveStrip* m_liveStrip = nullptr;
    TypingBox* m_text1 = nullptr;
    PictureBox* m_picture1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command4 = nullptr;
    QPushButton* m_command5 = nullptr;
    QPushButton* m_command6 = nullptr;
};

} // namespace morvela
