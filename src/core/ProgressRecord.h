#pragma once

#include <QByteArray>
#include <QString>
#include <array>

namespace morvela {

// Texts of a lesson's state, as stored and shown in the menu.
namespace LessonState {
inline const QString NotStarted = QStringLiteral("未");
inline const QString Practising = QStringLiteral("練習中");
inline const QString Completed = QStringLiteral("完了");
inline const QString Challenging = QStringLiteral("挑戦中");
inline const QString Graduated = QStringLiteral("卒業");
} // namespace LessonState

inline const QString NoBestTime = QStringLiteral("99分99");
inline const QString NoPagePassed = QStringLiteral("00-00");

// The learner's progress: the sixteen lines of morvela.ini, kept as the texts
// that were read, so that a file written by any version goes back unchanged.
struct ProgressRecord {
    QByteArray Reserved;                          // line 1, the bytes as read
    QString BestSpeedTime = NoBestTime;           // line 2
    QString BestGraduationTime = NoBestTime;      // line 3
    std::array<QString, 9> LessonStates;          // lines 4-12: Lesson0State .. Lesson8State
    QString GraduationState = LessonState::NotStarted; // line 13
    QString SpareState = LessonState::NotStarted; // line 14
    QString FurthestPage = NoPagePassed;          // line 15
    QString OptionCode = QStringLiteral(" 1 ");   // line 16, a number as text

    ProgressRecord() { LessonStates.fill(LessonState::NotStarted); }

    // The numeric value of OptionCode (blanks ignored).
    double optionCodeValue() const;
    // Numbers are stored with one blank before and one after: " 5 ".
    void setOptionCode(int code);

    // The options' "clear the practice records": states and the furthest page
    // go back to their new-file values; best times and the option stay.
    void clearPracticeRecords();

    friend bool operator==(const ProgressRecord&, const ProgressRecord&) = default;
};

// A best time "mm分ss" replaces the stored one when the stored text is
// greater: the fixed form makes text order time order ("99分99" = none).
bool ApplyBestTime(QString& stored, const QString& newTime);

// Formats an attempt of `seconds` as "mm分ss". An attempt of an hour or more
// counts as "59分59": dropping the hours would make it look fast.
QString FormatBestTime(qint64 seconds);

// A lesson window opens: a lesson not started ("未") becomes `started`
// ("練習中", the graduation exam "挑戦中") in memory; it reaches the file
// with the next save. Returns true when the state changed.
bool StartLesson(QString& state, const QString& started = LessonState::Practising);

// FurthestPage only rises. Returns true when `page` raised it.
bool RaiseFurthestPage(ProgressRecord& record, const QString& page);

// Whether the learner has passed `page` before: the furthest page passed is
// at or beyond it. Only then may "次ページ>>" lead past the page unpassed.
bool PagePassed(const ProgressRecord& record, const QString& page);

// "LL-PP" for a lesson and a page.
QString MakePageId(int lesson, int page);

} // namespace morvela
