// The graduation exam: the time from the first accepted character to the
// last line, the seven-minute line, the best time, graduation and the saves,
// with the clock set by hand; and the result windows' lines.

#include "lessons/GraduationExam.h"

#include "lessons/GraduationTexts.h"
#include "support/ManualClock.h"
#include "support/Typing.h"

#include <QTest>

using namespace morvela;
using test::TypeText;

namespace {

const QString kOK = QStringLiteral("F_sotu_OK");
const QString kNG = QStringLiteral("F_sotu_NG");

struct Exam {
    Exam()
    {
        record.LessonStates[8] = LessonState::Completed;
        record.FurthestPage = QStringLiteral("08-01");
        openEffects = exam.open();
    }
    KeyOutcome key(char32_t c) { return exam.keyPress(exam.line(), c); }
    // One attempt typed through, starting now, in `seconds`, with `misses`
    // wrong keys on the way; the clock jumps before the last character.
    KeyOutcome attempt(qint64 seconds, int misses = 0)
    {
        const QString text = exam.script().lines.join(QString());
        const qint64 start = clock.nowSeconds();
        TypeText(text.chopped(1), misses, [this](char32_t c) { return key(c); });
        clock.setSeconds(start + seconds);
        return key(text.back().unicode());
    }

    ProgressRecord record;
    test::ManualClock clock;
    GraduationExam exam{record, clock};
    ScreenEffects openEffects;
};

} // namespace

class TestGraduationExam : public QObject {
    Q_OBJECT
private slots:
    void verdictByTime_data();
    void verdictByTime();
    void bestTimeOverAttempts();
    void theClockStartsAtTheFirstAcceptedCharacter_data();
    void theClockStartsAtTheFirstAcceptedCharacter();
    void openAgainAndMenu();
    void resultWindowLines();
};

void TestGraduationExam::verdictByTime_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("examTime");
    QTest::addColumn<bool>("passed");
    QTest::newRow("2:06 passes") << qint64(126) << 0 << QStringLiteral("02分06") << true;
    QTest::newRow("6:59 passes") << qint64(419) << 0 << QStringLiteral("06分59") << true;
    QTest::newRow("misses only cost time") << qint64(300) << 40 << QStringLiteral("05分00") << true;
    QTest::newRow("7:00 fails") << qint64(420) << 0 << QStringLiteral("07分00") << false;
    QTest::newRow("8:12 fails") << qint64(492) << 3 << QStringLiteral("08分12") << false;
    // Minutes and seconds alone would show 1:00:05 as a pass of 00分05.
    QTest::newRow("an hour fails") << qint64(3600) << 0 << QStringLiteral("59分59") << false;
    QTest::newRow("an hour and 5 seconds fails") << qint64(3605) << 0 << QStringLiteral("59分59") << false;
}

void TestGraduationExam::verdictByTime()
{
    QFETCH(qint64, seconds);
    QFETCH(int, misses);
    QFETCH(QString, examTime);
    QFETCH(bool, passed);
    Exam e;
    e.record.GraduationState = LessonState::Challenging;

    const KeyOutcome last = e.attempt(seconds, misses);
    QVERIFY(last.accepted);
    QCOMPARE(e.exam.examTime(), examTime);
    QCOMPARE(e.exam.examEndTime() - e.exam.examStartTime(), seconds);
    // A first attempt is the best so far, passed or not.
    QCOMPARE(e.record.BestGraduationTime, examTime);
    QCOMPARE(last.effects.resultScreen, passed ? kOK : kNG);
    QCOMPARE(last.effects.rowStateShown, passed);
    QVERIFY(last.effects.save);
    QVERIFY(last.effects.message.isEmpty());
    QCOMPARE(e.record.GraduationState, passed ? LessonState::Graduated : LessonState::Challenging);
    QCOMPARE(e.record.FurthestPage, passed ? QStringLiteral("09-01") : QStringLiteral("08-01"));
    // A fresh attempt in T1; the boxes keep their text.
    QCOMPARE(last.effects.focus, QStringLiteral("T1"));
    QVERIFY(last.effects.clearBoxes.isEmpty());
    QCOMPARE(last.line, 0);
    QVERIFY(!e.exam.examStarted());
    QCOMPARE(e.exam.cursor(), 1);
    QCOMPARE(e.exam.misses(), 0);
    // The attempt in the learner's record, before the result window shows.
    QVERIFY(last.effects.finishedAttempt);
    const AttemptRecord& r = *last.effects.finishedAttempt;
    QCOMPARE(r.screen, QStringLiteral("F_les9_1"));
    QCOMPARE(r.pageId, QStringLiteral("09-01"));
    QCOMPARE(r.outcome, passed ? QStringLiteral("合格") : QStringLiteral("不合格"));
    QCOMPARE(r.durationMs, seconds * 1000);
    QCOMPARE(r.misses, misses);
    QCOMPARE(r.accepted, int(e.exam.script().lines.join(QString()).toUcs4().size()));
    QVERIFY(r.inputMethod);
}

void TestGraduationExam::bestTimeOverAttempts()
{
    Exam e;
    // Each attempt typed on after the last, without "もう一度".
    const struct {
        qint64 seconds;
        const char* examTime;
        const char* best;
        const QString& screen;
    } attempts[] = {
        {492, "08分12", "08分12", kNG}, // a first fail is the best so far
        {530, "08分50", "08分12", kNG}, // slower: the best stays
        {400, "06分40", "06分40", kOK},
        {410, "06分50", "06分40", kOK}, // a pass when graduated: shown and saved again
        {600, "10分00", "06分40", kNG}, // a graduate who fails stays graduated
    };
    for (const auto& a : attempts) {
        e.clock.advance(77); // a pause before the next attempt is not timed
        const KeyOutcome last = e.attempt(a.seconds);
        QCOMPARE(e.exam.examTime(), QString::fromUtf8(a.examTime));
        QCOMPARE(e.record.BestGraduationTime, QString::fromUtf8(a.best));
        QCOMPARE(last.effects.resultScreen, a.screen);
        QVERIFY(last.effects.save);
        QCOMPARE(last.effects.rowStateShown, a.screen == kOK);
    }
    QCOMPARE(e.record.GraduationState, LessonState::Graduated);
}

void TestGraduationExam::theClockStartsAtTheFirstAcceptedCharacter_data()
{
    QTest::addColumn<QString>("before"); // what happens before the timed attempt
    QTest::newRow("wrong characters first") << QStringLiteral("wrong");
    QTest::newRow("characters for a later box") << QStringLiteral("later box");
    QTest::newRow("an attempt dropped by もう一度") << QStringLiteral("again");
}

void TestGraduationExam::theClockStartsAtTheFirstAcceptedCharacter()
{
    QFETCH(QString, before);
    Exam e;
    if (before == QLatin1String("wrong")) {
        QVERIFY(!e.key(U'x').accepted);
        QVERIFY(!e.key(U'譲').accepted);
        QCOMPARE(e.exam.misses(), 2);
        QVERIFY(!e.exam.examStarted());
    } else if (before == QLatin1String("later box")) {
        QVERIFY(!e.exam.keyPress(1, U'学').accepted);
        QVERIFY(!e.exam.keyPress(7, U'見').accepted);
        QCOMPARE(e.exam.misses(), 0);
        QVERIFY(!e.exam.examStarted());
    } else {
        QVERIFY(e.key(U'親').accepted);
        QVERIFY(e.exam.examStarted());
        const ScreenEffects again = e.exam.again();
        QCOMPARE(again.clearBoxes.size(), 8);
        QVERIFY(!e.exam.examStarted());
    }
    e.clock.advance(500);
    e.attempt(61);
    QCOMPARE(e.exam.examTime(), QStringLiteral("01分01"));
}

void TestGraduationExam::openAgainAndMenu()
{
    Exam e;
    QCOMPARE(e.record.GraduationState, LessonState::Challenging);
    QVERIFY(e.openEffects.rowStateShown);
    QVERIFY(!e.openEffects.save); // it reaches the file with the next save
    QCOMPARE(e.openEffects.clearBoxes, (QStringList{"T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8"}));
    QCOMPARE(e.openEffects.focus, QStringLiteral("T1"));

    e.record.GraduationState = LessonState::Graduated;
    QVERIFY(!e.exam.open().rowStateShown);
    QCOMPARE(e.record.GraduationState, LessonState::Graduated);

    TypeText(e.exam.script().lines.mid(0, 3).join(QString()), 2, [&](char32_t c) { return e.key(c); });
    QCOMPARE(e.exam.line(), 3);
    const ScreenEffects again = e.exam.again();
    QCOMPARE(again.focus, QStringLiteral("T1"));
    QCOMPARE(e.exam.line(), 0);
    QCOMPARE(e.exam.misses(), 0);

    const ProgressRecord before = e.record;
    const ScreenEffects menu = e.exam.toMenu();
    QVERIFY(menu.close);
    QVERIFY(!menu.save);
    QVERIFY(e.record == before);
}

void TestGraduationExam::resultWindowLines()
{
    const QList<ResultLabel> ok = GraduationResultLabels(kOK, QStringLiteral("02分06"), QStringLiteral("01分59"));
    QStringList names;
    for (const ResultLabel& l : ok)
        names << l.name;
    QCOMPARE(names, (QStringList{"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"}));
    QCOMPARE(ok.at(0).text, QString(22, QChar(0x25CF)));
    QCOMPARE(ok.at(4).text, QStringLiteral("ただいまのタイムは02分06秒でした。"));
    QCOMPARE(ok.at(5).text, QStringLiteral("今までのベストタイムは01分59秒です。"));

    const QList<ResultLabel> ng = GraduationResultLabels(kNG, QStringLiteral("08分12"), QStringLiteral("08分12"));
    names.clear();
    for (const ResultLabel& l : ng)
        names << l.name;
    QCOMPARE(names, (QStringList{"Label1", "Label2", "Label3", "Label7"}));
    QCOMPARE(ng.at(0).text, QStringLiteral("ただいまのタイムは08分12秒でした。"));
    QCOMPARE(ng.at(1).text, QStringLiteral("今までのベストタイムは08分12秒です。"));
    QCOMPARE(ng.at(3).text, QStringLiteral("作者のベストタイムは 02分06秒です。"));
}

QTEST_GUILESS_MAIN(TestGraduationExam)
#include "tst_graduationexam.moc"
