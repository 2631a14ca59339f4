#pragma once

#include "core/ProgramFolder.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morvela {

class AppContext;

// The main menu: the course with its gates, the options, the mock exam, the
// game, the hint pages and the exit. It is the start window and lives for
// the whole run; screens hide it and show it again.
class F_mokuji : public QWidget {
    Q_OBJECT
public:
    explicit F_mokuji(AppContext& ctx, QWidget* parent = nullptr);

    // The start-up. Returns false when the program must end (a required data
    // file is missing; its message has been shown).
    bool Form_Load();

    // The screen each course row opens (0 = Lesson 0 .. 9 = graduation), and
    // the hint pages; rows with none yet do nothing once their gate is open.
    using Opener = std::function<void()>;
    void setCourseScreen(int row, Opener open) { m_courseScreens[size_t(row)] = std::move(open); }
    void setHintPage(int row, Opener open) { m_hintPages[size_t(row)] = std::move(open); }
    void setOptionsScreen(Opener open) { m_options = std::move(open); }
    void setExamScreen(Opener open) { m_exam = std::move(open); }
    void setGameScreen(Opener open) { m_game = std::move(open); }
    void setRecordScreen(Opener open) { m_record = std::move(open); }

    // The status boxes show the record's states again.
    void refreshStatusBoxes();
    void refreshRowState(int row);

    void CourseButton_Click(int row);
    void HintButton_Click(int row);
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    // "記録": the learner's record, over the visible menu.
    void Command15_Click();
    void Command26_Click();

    QComboBox* examList() const { return m_combo1; }
    // The file of the exam list's current entry; none when the list is empty.
    std::optional<FolderEntry> chosenExam() const;

signals:
    // "終了": the record has been saved; end the run.
    void quitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillExamList();
    void showHighScore();

    AppContext& m_ctx;
    std::array<QLineEdit*, 10> m_statusBoxes{};
    std::array<Opener, 10> m_courseScreens;
    std::array<Opener, 10> m_hintPages;
    Opener m_options, m_exam, m_game, m_record;
    QComboBox* m_combo1 = nullptr;
    QLabel* m_label12 = nullptr;
};

} // namespace morvela
