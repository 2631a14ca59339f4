#include "lessons/GraduationTexts.h"

namespace morvela {

namespace {

const QString kCircles = QString(22, QChar(0x25CF)); // ●
const QString kAuthorsTime = QStringLiteral("作者のベストタイムは 02分06秒です。");

QString ThisTimeLine(const QString& examTime)
{
    return QStringLiteral("ただいまのタイムは") + examTime + QStringLiteral("秒でした。");
}

QString BestTimeLine(const QString& bestTime)
{
    return QStringLiteral("今までのベストタイムは") + bestTime + QStringLiteral("秒です。");
}

} // namespace

QList<ResultLabel> GraduationResultLabels(const QString& screen, const QString& examTime, const QString& bestTime)
{
    if (screen == GraduationTexts::PassedScreen) {
        return {
            {QStringLiteral("Label1"), kCircles},
            {QStringLiteral("Label2"), QStringLiteral("● 　おめでとうございます。合格です！！ 　●")},
            {QStringLiteral("Label3"), kCircles},
            {QStringLiteral("Label4"),
             QStringLiteral("合格してもこれで終りではありません。まだまだ速くなることができますので、これからも、キーボードを見ないでタイプする様にして、更に上達したらまたこの卒業試験に挑戦してみて下さい。　　ますます上達されることをお祈り致します。")},
            {QStringLiteral("Label5"), ThisTimeLine(examTime)},
            {QStringLiteral("Label6"), BestTimeLine(bestTime)},
            {QStringLiteral("Label7"), kAuthorsTime},
        };
    }
    return {
        {QStringLiteral("Label1"), ThisTimeLine(examTime)},
        {QStringLiteral("Label2"), BestTimeLine(bestTime)},
        {QStringLiteral("Label3"),
         QStringLiteral("残念！！合格ラインは７分以内です。諦めずに、前のレッスンに戻って練習し、何度でも挑戦しましょう。必ず速くなります。")},
        {QStringLiteral("Label7"), kAuthorsTime},
    };
}

} // namespace morvela
