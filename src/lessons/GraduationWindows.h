#pragma once

#include "lessons/GraduationExam.h"
#include "lessons/SentencePage.h"
#include "ui/TypingScreen.h"

#include <QDialog>

namespace morvela {

class AppContext;

// The graduation exam, F_les9_1: Lesson 7's lines against the clock. Every
// rule is the exam's; the window forwards its events there, opens the
// result window the exam names and waits for it.
class GraduationExamWindow : public TypingScreen {
    Q_OBJECT
public:
    explicit GraduationExamWindow(AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();

    // T1_KeyPress .. T8_KeyPress: a character for the box of `line` (0-based).
    KeyOutcome T_KeyPress(int line, char32_t key);
    void Command3_Click();
    void Command1_Click();

    const GraduationExam& exam() const { return m_exam; }

private:
    void render() override {} // the lines show their turn themselves
    void showResultScreen(const QString& screen) override;

    GraduationExam m_exam;
    SentencePage m_page;
};

// A result window of the exam, F_sotu_OK or F_sotu_NG: this attempt's time,
// the best time and the author's; it beeps when it opens.
class GraduationResultWindow : public QDialog {
    Q_OBJECT
public:
    GraduationResultWindow(AppContext& ctx, const QString& screen, const QString& examTime, const QString& bestTime,
                           QWidget* parent = nullptr);

    void Form_Load();
    void Command1_Click() { accept(); }

private:
    AppContext& m_ctx;
};

} // namespace morvela
