#pragma once

#include <QList>
#include <QString>

namespace morvela {

// The fixed texts of the graduation exam's window and its result windows.
namespace GraduationTexts {
inline const QString WindowName = QStringLiteral("F_les9_1");
inline const QString TitleTag = QStringLiteral(" ● 卒業試験 ●");
inline const QString Instruction = QStringLiteral("●● 卒業試験です。正確にできるだけ速く入力して下さい。 ●●");
inline const QString PassedScreen = QStringLiteral("F_sotu_OK");
inline const QString FailedScreen = QStringLiteral("F_sotu_NG");
inline const QString ResultCaption = QStringLiteral("卒業試験結果");
} // namespace GraduationTexts

// One label of a result window.
struct ResultLabel {
    QString name; // "Label1"
    QString text;

    friend bool operator==(const ResultLabel&, const ResultLabel&) = default;
};

// The labels of result window `screen` (PassedScreen or FailedScreen), top
// to bottom, for this attempt's time and the best time, both "mm分ss".
QList<ResultLabel> GraduationResultLabels(const QString& screen, const QString& examTime, const QString& bestTime);

} // namespace morvela
