#pragma once

#include "core/AppState.h"
#include "core/Clock.h"
#include "core/ScreenEffects.h"
#include "exam/ExamCompare.h"
#include "exam/ExamText.h"

#include <QString>

namespace morvela {

// The mock exam screen F_kentei as rules: its three states, what each
// shows, the clock and the comparison. The window forwards its events here
// and renders screen().

enum class ExamState { Ready, Typing, Checked };

inline const QString ExamWindowTitle = QStringLiteral("ワープロ検定（入力科目）模擬試験");
inline const QString ExamInstruction = QStringLiteral(
    "上の文章を入力してください。入力開始と同時に時間を計りはじめます。入力が完了し、間違いが無いことを確認したら、下部の[入力完了]ボタンをクリックしてください。");
inline const QString WorkFileModel = QStringLiteral("kentei.wk1");
inline const QString WorkFileTyped = QStringLiteral("kentei.wk2");

// "時間：MM分SS秒(合格=10分以内)": whole minutes, however many (61 minutes
// 5 seconds read 61分05秒; against a 10-minute limit an hour must show),
// at least two digits; seconds two digits.
QString ElapsedLabel(qint64 seconds);

// "間違い：" + what + "(合格=4以内)".
QString MistakeLabel(const QString& what);

// The bytes of a work file: the text and CR LF in CP932; a character with
// no CP932 form is written as '?', as the system's ANSI conversion does.
QByteArray WorkFileBytes(const QString& text);

// What the mistake report F_miss shows: the report, or
// "間違った箇所はありません。" when the last comparison found none.
QString MistakeListText(int mistakeCount, const QString& mistakeReport);

// The characters the learner typed, line breaks not counted.
int TypedCharacterCount(const QString& typedText);

struct ExamScreen {
    ExamState state = ExamState::Ready;
    QString elapsedText = ElapsedLabel(0);                   // Label2
    QString mistakesText = MistakeLabel(QStringLiteral("－")); // Label3
    bool completeEnabled = true;     // 入力完了 (Command1)
    bool mistakeListEnabled = false; // 間違箇所 (Command2)
    bool menuEnabled = true;         // 目次へ (Command3)
    bool clockRunning = false;    // Timer1

    friend bool operator==(const ExamScreen&, const ExamScreen&) = default;
};

class ExamSession {
public:
    // MistakeCount and MistakeReport are the program's shared values: they
    // live in `state`, where F_miss reads them; the work files go to its
    // program folder.
    ExamSession(AppState& state, const Clock& clock) : m_state(state), m_clock(clock) {}

    // Opening: the model text of `exam`, the screen in Ready. A refused
    // file (too large) gives its message with the critical icon. (A text
    // that could not be read opens no exam at all: RunExam.)
    ScreenEffects open(const ExamText& exam);

    const QString& model() const { return m_model; }
    const ExamScreen& screen() const { return m_screen; }
    bool started() const { return m_screen.state == ExamState::Typing; }

    // A key press in Text2 (or a composition that starts): the first one of
    // an attempt starts the clock; later ones change nothing.
    void keyPress();

    // Timer1: the time since the first key press, sampled now.
    void tick();

    // "入力完了": the clock stops, the work files are rewritten, the texts
    // are compared and the count shown. The comparison runs on the texts
    // in memory, so a work file that cannot be written changes nothing of
    // it; a message then names the file and the reason. `typedText` is
    // Text2's text with CR LF line breaks.
    ScreenEffects complete(const QString& typedText);

    // The window closes: the clock stops.
    void close() { m_screen.clockRunning = false; }

private:
    AppState& m_state;
    const Clock& m_clock;
    QString m_model;
    ExamScreen m_screen;
    qint64 m_startTime = 0;
    qint64 m_startMs = 0;
};

} // namespace morvela
