#pragma once

#include "record/LearnerRecord.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace morvela {

class AppContext;
class DailyChart;
class PictureBox;
class RecentAttemptsModel;

// What the record window is handed besides the record.
struct RecordWindowSetup {
    // The romaji words and syllables of the course (PracticeCandidates).
    QStringList practiceWords;
    // The home-row line offered while the record has too little to go by.
    QString homeRow;
    // Opens the practice page on the line (the lessons' rhythm drill) over
    // the record window.
    std::function<void(QWidget* parent, const QString& line)> practise;
    // Asks where the CSV goes, starting from `suggested`; empty: cancelled.
    std::function<QString(QWidget* parent, const QString& suggested)> chooseCsvFile;
};

// The learner's record, "学習記録": speed and accuracy over the days for the
// course or a lesson, the keys as a heat map of their error rates, the
// recent attempts, and what can be done with them (practice of the weakest
// keys, export, clearing).
class RecordWindow : public QDialog {
    Q_OBJECT
public:
    // The attempts the heat map and the practice line are taken from.
    static constexpr int RecentAttemptsForKeys = 100;

    RecordWindow(AppContext& ctx, LearnerRecord& record, RecordWindowSetup setup, QWidget* parent = nullptr);

    void Form_Load();

    // The chosen scope of the charts.
    void Combo1_Click();
    // "苦手キー練習", "CSVに書き出す", "記録を消去", "閉じる".
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

private:
    void buildControls();
    void showRecord();
    void showCharts();

    AppContext& m_ctx;
    LearnerRecord& m_record;
    RecordWindowSetup m_setup;
    QComboBox* m_combo1 = nullptr;
    QLabel* m_label1 = nullptr; // attempts and best times
    QLabel* m_label3 = nullptr; // keys missed most
    DailyChart* m_speed = nullptr;
    DailyChart* m_accuracy = nullptr;
    PictureBox* m_picture1 = nullptr;
    QTableView* m_table1 = nullptr;
    RecentAttemptsModel* m_attempts = nullptr;
    // The best attempts of the speed test and of the graduation exam.
    QList<StoredAttempt> m_bests;
};

} // namespace morvela
