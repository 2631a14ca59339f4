#pragma once

#include "exam/ExamSession.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace morvela {

class AppContext;
class ExamEditor;

// The mock certification exam: the model text in Text1, the typing box
// Text2, the clock in Label2 and the mistake count in Label3. Every rule is
// the ExamSession's; the window forwards its events there and shows the
// result.
class F_kentei : public QDialog {
    Q_OBJECT
public:
    // `exam` is the text of the entry chosen in the menu's exam list.
    F_kentei(AppContext& ctx, ExamText exam, QWidget* parent = nullptr);
    ~F_kentei() override;

    void Form_Load();

    void Text1_GotFocus();
    void Text2_KeyPress();
    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    const ExamSession& session() const { return m_session; }
    QTimer& Timer1() { return m_timer1; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildControls();
    void render();

    AppContext& m_ctx;
    ExamText m_exam;
    ExamSession m_session;
    QTimer m_timer1;

    QPlainTextEdit* m_text1 = nullptr;
    ExamEditor* m_text2 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label3 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
};

// "開始" of the mock exam: reads the exam text `file`, then shows the exam
// over `parent`; a text that cannot be read is said so there instead, and
// no exam opens.
void RunExam(AppContext& ctx, QWidget* parent, const FolderEntry& file);

} // namespace morvela
