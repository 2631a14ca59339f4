#pragma once

#include "lessons/RhythmDrill.h"
#include "ui/TypingScreen.h"

#include <QTimer>

class QFrame;
class QLabel;
class QPushButton;

namespace morvela {

class AppContext;
class ClickSound;
class PictureBox;
class TypingBox;

// The window of a rhythm lesson, F_les1_1 to F_les4_1: the drill line with
// the typing box under it, the metronome and its speed level, the keyboard
// picture and the page buttons. Every rule is the drill's; the window
// forwards its events there and shows the result.
class RhythmLessonWindow : public TypingScreen {
    Q_OBJECT
public:
    RhythmLessonWindow(AppContext& ctx, int lesson, QWidget* parent = nullptr);
    // A page made at run time (the practice of the weakest keys); `script`
    // outlives the window.
    RhythmLessonWindow(AppContext& ctx, const LessonScript& script, QWidget* parent = nullptr);
    ~RhythmLessonWindow() override;

    void Form_Load();

    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    KeyOutcome Text1_KeyPress(char32_t key);

    const RhythmDrill& drill() const { return m_drill; }
    QTimer& Timer1() { return m_timer1; }
    // Ticks heard so far (the click, or the beep standing in for it).
    int clicks() const;

    void done(int result) override;

private:
    void buildControls();
    void render() override;
    void flashBeat(bool on);

    RhythmDrill m_drill;
    QTimer m_timer1;
    QTimer m_beatOff;
    ClickSound* m_click = nullptr;

    QLabel* m_label3 = nullptr;
    QLabel* m_label4 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label6 = nullptr; // Lessons 2-4 only
    QLabel* m_beat = nullptr;
    QLabel* m_missedKeys = nullptr;
    TypingBox* m_text1 = nullptr;
    PictureBox* m_picture1 = nullptr;
    QPushButton* m_command[7] = {}; // Command1..Command6 at [1]..[6]
};

} // namespace morvela
