// The mock exam's rules: the exam text file and its model text, the line
// splitting rule, the comparison and its report, the time label, the
// screen's three states and the work files.

#include "exam/ExamCompare.h"
#include "exam/ExamSession.h"
#include "exam/ExamText.h"
#include "Unreadable.h"
#include "support/DiskFull.h"
#include "support/ManualClock.h"
#include "support/TestFolder.h"
#include "core/Cp932.h"

#include <QDir>
#include <QTest>

#include <optional>

using namespace morvela;
using morvela::test::ManualClock;
using morvela::test::TestFolder;

Q_DECLARE_METATYPE(morvela::ExamState)

namespace {

QByteArray cp932(const QString& text)
{
    bool ok = false;
    const QByteArray bytes = EncodeCp932(text, &ok);
    if (!ok)
        qFatal("not CP932");
    return bytes;
}

// Lines of a report, each ended by CR LF.
QString report(const QStringList& lines)
{
    QString r;
    for (const QString& l : lines)
        r += l + QStringLiteral("\r\n");
    return r;
}

const QString CRLF = QStringLiteral("\r\n");

} // namespace

class TestExamLogic : public QObject {
    Q_OBJECT
private slots:
    void splitting_data();
    void splitting();
    void editorLineBreaksCountAsCrLf();
    void comparison_data();
    void comparison();
    void everyLineIsComparedHoweverMany();
    void modelFromFileBytes_data();
    void modelFromFileBytes();
    void loadingFiles_data();
    void loadingFiles();
    void fileNameIgnoresCase();
    void unreadableFileSaysWhichAndWhy_data();
    void unreadableFileSaysWhichAndWhy();
    void timeLabel_data();
    void timeLabel();
    void states_data();
    void states();
    void clockSampledAtEachTick();
    void sharedResults();
    void aComparisonAfterTypingIsRecorded();
    void refusedFileMessage();
    void workFiles();
    void unwritableWorkFileDoesNotStopTheComparison_data();
    void unwritableWorkFileDoesNotStopTheComparison();
    void reportWindowText();
};

void TestExamLogic::splitting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty text: one empty line") << QString() << QStringList{QString()};
    QTest::newRow("no line break") << QStringLiteral("あいう") << QStringList{QStringLiteral("あいう")};
    QTest::newRow("CR LF") << QStringLiteral("ab\r\ncd") << QStringList{QStringLiteral("ab"), QStringLiteral("cd")};
    QTest::newRow("a final line break gives an empty last line")
        << QStringLiteral("ab\r\n") << QStringList{QStringLiteral("ab"), QString()};
    QTest::newRow("a lone CR ends a line") << QStringLiteral("ab\rcd") << QStringList{QStringLiteral("ab"), QStringLiteral("cd")};
    QTest::newRow("a lone LF is an ordinary character") << QStringLiteral("ab\ncd") << QStringList{QStringLiteral("ab\ncd")};
    QTest::newRow("LF before CR LF stays in the line")
        << QStringLiteral("ab\n\r\ncd") << QStringList{QStringLiteral("ab\n"), QStringLiteral("cd")};
    QTest::newRow("CR then CR LF: an empty line between")
        << QStringLiteral("ab\r\r\ncd") << QStringList{QStringLiteral("ab"), QString(), QStringLiteral("cd")};
    QTest::newRow("k breaks, k + 1 lines") << QStringLiteral("\r\n\r\n") << QStringList{QString(), QString(), QString()};
}

void TestExamLogic::splitting()
{
    QFETCH(QString, text);
    QTEST(SplitExamLines(text), "lines");
}

void TestExamLogic::editorLineBreaksCountAsCrLf()
{
    QCOMPARE(TypedTextFromEditor(QStringLiteral("あえう\nかき\n")), QStringLiteral("あえう\r\nかき\r\n"));
    QCOMPARE(SplitExamLines(TypedTextFromEditor(QStringLiteral("a\nb"))),
             (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

void TestExamLogic::comparison_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("report");

    QTest::newRow("a wrong character in line 1, a short line 2")
        << QStringLiteral("あいう\r\nかきく") << QStringLiteral("あえう\r\nかき") << 2
        << QStringLiteral("1行2文字目の『い』が違います。\r\n2行目の文字数が違います。\r\n");
    QTest::newRow("the same text: no mistakes") << QStringLiteral("あいう\r\nかきく") << QStringLiteral("あいう\r\nかきく")
                                                 << 0 << QString();
    QTest::newRow("fewer typed lines: each non-empty missing line is one mistake, an empty one matches")
        << QStringLiteral("あい\r\n\r\nう\r\nえお") << QStringLiteral("あい") << 2
        << report({QStringLiteral("3行目の文字数が違います。"), QStringLiteral("4行目の文字数が違います。")});
    QTest::newRow("nothing typed against one line") << QStringLiteral("あ") << QString() << 1
                                                     << report({QStringLiteral("1行目の文字数が違います。")});
    QTest::newRow("extra typed lines are not looked at")
        << QStringLiteral("abc") << QStringLiteral("abc\r\nxyz\r\nmore") << 0 << QString();
    QTest::newRow("a trailing line break after the last line is ignored")
        << QStringLiteral("abc\r\ndef") << QStringLiteral("abc\r\ndef\r\n") << 0 << QString();
    QTest::newRow("a short line counts one mistake however many characters differ")
        << QStringLiteral("あいうえお") << QStringLiteral("かきくけ") << 1
        << report({QStringLiteral("1行目の文字数が違います。")});
    QTest::newRow("a long line counts one mistake too") << QStringLiteral("あい") << QStringLiteral("あいう") << 1
                                                         << report({QStringLiteral("1行目の文字数が違います。")});
    QTest::newRow("three wrong characters in a line of the right length count three")
        << QStringLiteral("あいうえお") << QStringLiteral("あイうエオ") << 3
        << report({QStringLiteral("1行2文字目の『い』が違います。"), QStringLiteral("1行4文字目の『え』が違います。"),
                   QStringLiteral("1行5文字目の『お』が違います。")});
    QTest::newRow("a lone LF inside a model line: the editor's break is another line")
        << QStringLiteral("ab\ncd\r\nef") << QStringLiteral("ab\r\ncd\r\nef") << 3
        << report({QStringLiteral("1行目の文字数が違います。"), QStringLiteral("2行1文字目の『e』が違います。"),
                   QStringLiteral("2行2文字目の『f』が違います。")});
    QTest::newRow("a lone LF inside a model line matches a lone LF typed")
        << QStringLiteral("ab\ncd\r\nef") << QStringLiteral("ab\ncd\r\nef") << 0 << QString();
    QTest::newRow("a lone LF is a character of the line's length")
        << QStringLiteral("a\nb") << QStringLiteral("axb") << 1 << report({QStringLiteral("1行2文字目の『\n』が違います。")});
    QTest::newRow("a lone CR typed ends a line like CR LF")
        << QStringLiteral("ab\r\ncd") << QStringLiteral("ab\rcd") << 0 << QString();
    QTest::newRow("exact characters: case, width, the two spaces")
        << QStringLiteral("Aa１　") << QStringLiteral("aA1 ") << 4
        << report({QStringLiteral("1行1文字目の『A』が違います。"), QStringLiteral("1行2文字目の『a』が違います。"),
                   QStringLiteral("1行3文字目の『１』が違います。"), QStringLiteral("1行4文字目の『　』が違います。")});
    QTest::newRow("an empty model: one empty line, so typing counts one mistake")
        << QString() << QStringLiteral("abc") << 1 << report({QStringLiteral("1行目の文字数が違います。")});
    QTest::newRow("an empty model and nothing typed") << QString() << QString() << 0 << QString();
    QTest::newRow("a character beyond the BMP is one character")
        << QStringLiteral("あい") << QStringLiteral("あ😀") << 1 << report({QStringLiteral("1行2文字目の『い』が違います。")});
    QTest::newRow("a replacement character compares as such")
        << QStringLiteral("a\uFFFDb\r\na\uFFFDb") << QStringLiteral("a\uFFFDb\r\naxb") << 1
        << report({QStringLiteral("2行2文字目の『\uFFFD』が違います。")});
    {
        QString model, typed;
        for (int i = 1; i <= 12; ++i) {
            model += QStringLiteral("0123456789あ") + CRLF;
            typed += (i == 12 ? QStringLiteral("012345678Xあ") : QStringLiteral("0123456789あ")) + CRLF;
        }
        QTest::newRow("numbers in decimal without leading zeros or spaces")
            << model << typed << 1 << report({QStringLiteral("12行10文字目の『9』が違います。")});
    }
}

void TestExamLogic::comparison()
{
    QFETCH(QString, model);
    QFETCH(QString, typed);
    const ExamResult r = CompareExam(model, typed);
    QTEST(r.mistakeCount, "count");
    QTEST(r.mistakeReport, "report");
}

void TestExamLogic::everyLineIsComparedHoweverMany()
{
    // No 500-line cap: line 501 and line 1200 are compared like line 1.
    QStringList model, typed;
    for (int i = 1; i <= 1200; ++i) {
        model << QStringLiteral("行%1").arg(i);
        typed << (i == 501 || i == 1200 ? QStringLiteral("列%1").arg(i) : QStringLiteral("行%1").arg(i));
    }
    const ExamResult r = CompareExam(model.join(CRLF), typed.join(CRLF) + CRLF + QStringLiteral("extra"));
    QCOMPARE(r.mistakeCount, 2);
    QCOMPARE(r.mistakeReport, report({QStringLiteral("501行1文字目の『行』が違います。"),
                                      QStringLiteral("1200行1文字目の『行』が違います。")}));
    // A missing line 1201 onwards of the typed text counts as empty.
    model << QStringLiteral("最後");
    QCOMPARE(CompareExamLines(model, typed).mistakeReport,
             report({QStringLiteral("501行1文字目の『行』が違います。"), QStringLiteral("1200行1文字目の『行』が違います。"),
                     QStringLiteral("1201行目の文字数が違います。")}));
}

void TestExamLogic::modelFromFileBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("model");
    QTest::newRow("no bytes: an empty model") << QByteArray() << QString();
    QTest::newRow("one byte: an empty model") << QByteArray("a") << QString();
    QTest::newRow("exactly 2 bytes: an empty model") << QByteArray("\r\n") << QString();
    QTest::newRow("the final CR LF is dropped") << cp932(QStringLiteral("あい\r\nう\r\n")) << QStringLiteral("あい\r\nう");
    QTest::newRow("a final empty line keeps one CR LF")
        << cp932(QStringLiteral("あい\r\n\r\n")) << QStringLiteral("あい\r\n");
    QTest::newRow("a file without a final CR LF loses its last two bytes")
        << QByteArray("abcd") << QStringLiteral("ab");
    QTest::newRow("... which is one full-width character")
        << cp932(QStringLiteral("あいう")) << QStringLiteral("あい");
    QTest::newRow("... or half of one, which shows as the replacement character")
        << (QByteArray("a") + cp932(QStringLiteral("あ")) + QByteArray("b")) << QStringLiteral("a\uFFFD");
    QTest::newRow("CP932, not strict Shift_JIS: 0x8160 and the circled digits")
        << QByteArray("\x81\x60\x87\x40\r\n") << QStringLiteral("～①");
    QTest::newRow("half-width katakana") << QByteArray("\xB1\xB2\r\n") << QStringLiteral("ｱｲ");
    QTest::newRow("a byte CP932 never uses") << QByteArray("a\x80" "b\xFF" "c\r\n") << QStringLiteral("a\uFFFDb\uFFFDc");
    QTest::newRow("a lead byte without its trail byte")
        << QByteArray("\x82 z\r\n") << QStringLiteral("\uFFFD z");
    QTest::newRow("an unassigned double-byte code") << QByteArray("x\x85\x40y\r\n") << QStringLiteral("x\uFFFDy");
    QTest::newRow("good text around a bad byte stays as it is")
        << (cp932(QStringLiteral("漢字")) + QByteArray("\xA0") + cp932(QStringLiteral("かな\r\n")))
        << QStringLiteral("漢字\uFFFDかな");
}

void TestExamLogic::modelFromFileBytes()
{
    QFETCH(QByteArray, bytes);
    QTEST(ExamModelFromBytes(bytes), "model");
}

void TestExamLogic::loadingFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("tooLarge");
    QTest::addColumn<int>("modelLength");

    QTest::newRow("exactly 2 bytes") << QByteArray("\r\n") << false << 0;
    QTest::newRow("exactly 32,000 bytes: shown") << QByteArray(31998, 'a') + "\r\n" << false << 31998;
    QTest::newRow("32,000 bytes of full-width text")
        << cp932(QString(15999, QChar(u'あ'))) + "\r\n" << false << 15999;
    QTest::newRow("32,001 bytes: refused") << QByteArray(31999, 'a') + "\r\n" << true << 0;
    QTest::newRow("32,768 bytes: refused") << QByteArray(32768, 'a') << true << 0;
    QTest::newRow("an empty file") << QByteArray() << false << 0;
}

void TestExamLogic::loadingFiles()
{
    QFETCH(QByteArray, bytes);
    TestFolder folder(false);
    folder.write(QStringLiteral("exam.ken"), bytes);
    const ExamText exam = LoadExamText(ProgramFolder(folder.path()), QStringLiteral("exam"));
    QTEST(exam.tooLarge, "tooLarge");
    QCOMPARE(exam.problem, QString());
    QTEST(int(exam.model.size()), "modelLength");
}

void TestExamLogic::fileNameIgnoresCase()
{
    TestFolder folder(false);
    folder.write(QStringLiteral("Mokushi.KEN"), cp932(QStringLiteral("春\r\n")));
    const ExamText exam = LoadExamText(ProgramFolder(folder.path()), QStringLiteral("mokushi"));
    QCOMPARE(exam.problem, QString());
    QCOMPARE(exam.model, QStringLiteral("春"));

    const ExamText missing = LoadExamText(ProgramFolder(folder.path()), QStringLiteral("other"));
    QVERIFY(!missing.problem.isEmpty());
    QVERIFY(!missing.tooLarge);
    QCOMPARE(missing.model, QString());
}

void TestExamLogic::unreadableFileSaysWhichAndWhy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no read permission") << "denied" << QStringLiteral("読み取りの権限がありません。（詳細：");
    QTest::newRow("a folder in its place") << "folder" << NotARegularFileReason;
    QTest::newRow("gone since it was listed") << "gone" << QStringLiteral("ファイルが見つかりません。");
}

void TestExamLogic::unreadableFileSaysWhichAndWhy()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
    TestFolder folder(false);
    folder.write(QStringLiteral("Mokushi.ken"), cp932(QStringLiteral("春\r\n")));
    const FolderEntry file = *ProgramFolder(folder.path()).entry(QStringLiteral("mokushi.ken"));
    std::optional<morvela::test::Unreadable> unreadable;
    if (how == QLatin1String("denied"))
        unreadable.emplace(folder.path(), folder.file(file.name));
    else
        QVERIFY(QFile::remove(folder.file(file.name)));
    if (how == QLatin1String("folder"))
        QVERIFY(QDir(folder.path()).mkdir(file.name));

    const ExamText exam = LoadExamText(file);
    QCOMPARE(exam.model, QString());
    QVERIFY(!exam.tooLarge);
    const QString shownPath = QDir::toNativeSeparators(QDir(folder.path()).filePath(file.name));
    QVERIFY2(exam.problem.startsWith(QStringLiteral("試験問題のファイル「Mokushi.ken」を読み込めませんでした。\n")
                                     + shownPath + QStringLiteral("\n") + reason),
             qPrintable(exam.problem));
    QVERIFY(exam.problem.endsWith(QStringLiteral("模擬試験を始められません。")));
}

void TestExamLogic::timeLabel_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("label");
    QTest::newRow("start") << qint64(0) << QStringLiteral("時間：00分00秒(合格=10分以内)");
    QTest::newRow("59 s") << qint64(59) << QStringLiteral("時間：00分59秒(合格=10分以内)");
    QTest::newRow("1 min") << qint64(60) << QStringLiteral("時間：01分00秒(合格=10分以内)");
    QTest::newRow("the 10-minute limit") << qint64(600) << QStringLiteral("時間：10分00秒(合格=10分以内)");
    QTest::newRow("59 min 59 s") << qint64(3599) << QStringLiteral("時間：59分59秒(合格=10分以内)");
    QTest::newRow("61 min 5 s: whole minutes, not 01分05秒") << qint64(61 * 60 + 5)
                                                          << QStringLiteral("時間：61分05秒(合格=10分以内)");
    QTest::newRow("100 min") << qint64(6000) << QStringLiteral("時間：100分00秒(合格=10分以内)");
    QTest::newRow("a clock gone back shows zero") << qint64(-3) << QStringLiteral("時間：00分00秒(合格=10分以内)");
}

void TestExamLogic::timeLabel()
{
    QFETCH(qint64, seconds);
    QTEST(ElapsedLabel(seconds), "label");
}

// The exam screen's three states, reached by events: o = opening,
// k = a key press, c = "入力完了".
void TestExamLogic::states_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<ExamState>("state");
    QTest::addColumn<bool>("command1");
    QTest::addColumn<bool>("command2");
    QTest::addColumn<bool>("command3");
    QTest::addColumn<bool>("clock");
    QTest::addColumn<QString>("label3");

    const QString ready = QStringLiteral("間違い：－(合格=4以内)");
    const QString typing = QStringLiteral("間違い：入力中(合格=4以内)");
    QTest::newRow("Ready: opening") << "o" << ExamState::Ready << true << false << true << false << ready;
    QTest::newRow("Typing: first key press") << "ok" << ExamState::Typing << true << false << false << true << typing;
    QTest::newRow("Typing: later key presses change nothing")
        << "okkk" << ExamState::Typing << true << false << false << true << typing;
    QTest::newRow("Checked: 入力完了 while typing")
        << "okc" << ExamState::Checked << true << true << true << false << QStringLiteral("間違い：1(合格=4以内)");
    QTest::newRow("Checked: 入力完了 in Ready compares what there is")
        << "oc" << ExamState::Checked << true << true << true << false << QStringLiteral("間違い：1(合格=4以内)");
    QTest::newRow("Checked: 入力完了 again") << "okcc" << ExamState::Checked << true << true << true << false
                                          << QStringLiteral("間違い：1(合格=4以内)");
    QTest::newRow("Typing: a key press after a comparison starts a new attempt")
        << "okck" << ExamState::Typing << true << false << false << true << typing;
    QTest::newRow("Ready again: opening anew") << "okco" << ExamState::Ready << true << false << true << false << ready;
}

void TestExamLogic::states()
{
    QFETCH(QString, events);
    TestFolder folder(false);
    AppState state(folder.path());
    ManualClock clock;
    ExamSession session(state, clock);
    qint64 now = 100;
    for (const QChar e : events) {
        if (e == u'o')
            session.open(ExamText{QStringLiteral("あいう"), false, {}});
        else if (e == u'k') {
            clock.setSeconds(now++);
            session.keyPress();
        }
        else if (e == u'c')
            session.complete(QStringLiteral("あ"));
    }
    const ExamScreen& s = session.screen();
    QTEST(s.state, "state");
    QTEST(s.completeEnabled, "command1");
    QTEST(s.mistakeListEnabled, "command2");
    QTEST(s.menuEnabled, "command3");
    QTEST(s.clockRunning, "clock");
    QTEST(s.mistakesText, "label3");
    QCOMPARE(session.started(), s.state == ExamState::Typing);
}

void TestExamLogic::clockSampledAtEachTick()
{
    TestFolder folder(false);
    AppState state(folder.path());
    ManualClock clock;
    ExamSession session(state, clock);
    session.open(ExamText{QStringLiteral("a"), false, {}});
    const QString initial = QStringLiteral("時間：00分00秒(合格=10分以内)");
    QCOMPARE(session.screen().elapsedText, initial);
    clock.setSeconds(5000);
    session.tick(); // no clock yet: nothing changes
    QCOMPARE(session.screen().elapsedText, initial);

    clock.setSeconds(1000);
    session.keyPress();
    QCOMPARE(session.screen().elapsedText, initial); // first shown at the first tick
    clock.setSeconds(1001);
    session.tick();
    QCOMPARE(session.screen().elapsedText, QStringLiteral("時間：00分01秒(合格=10分以内)"));
    clock.setSeconds(1030);
    session.keyPress(); // not a new start
    clock.setSeconds(1065);
    session.tick();
    QCOMPARE(session.screen().elapsedText, QStringLiteral("時間：01分05秒(合格=10分以内)"));
    // Late or missed ticks do not matter: the time is now - start.
    clock.setSeconds(1000 + 61 * 60 + 5);
    session.tick();
    QCOMPARE(session.screen().elapsedText, QStringLiteral("時間：61分05秒(合格=10分以内)"));

    session.complete(QStringLiteral("a"));
    clock.setSeconds(9000);
    session.tick(); // the clock is off: the label keeps the last time shown
    QCOMPARE(session.screen().elapsedText, QStringLiteral("時間：61分05秒(合格=10分以内)"));

    // A new attempt: the clock from zero, the old time shown until its first tick.
    clock.setSeconds(10000);
    session.keyPress();
    QCOMPARE(session.screen().elapsedText, QStringLiteral("時間：61分05秒(合格=10分以内)"));
    clock.setSeconds(10002);
    session.tick();
    QCOMPARE(session.screen().elapsedText, QStringLiteral("時間：00分02秒(合格=10分以内)"));
    session.close();
    QVERIFY(!session.screen().clockRunning);
}

void TestExamLogic::sharedResults()
{
    TestFolder folder(false);
    AppState state(folder.path());
    ManualClock clock;
    ExamSession session(state, clock);
    session.open(ExamText{QStringLiteral("あいう\r\nかきく"), false, {}});
    session.complete(QStringLiteral("あえう\r\nかき"));
    QCOMPARE(state.MistakeCount, 2);
    QCOMPARE(state.MistakeReport, QStringLiteral("1行2文字目の『い』が違います。\r\n2行目の文字数が違います。\r\n"));
    QCOMPARE(session.screen().mistakesText, QStringLiteral("間違い：2(合格=4以内)"));

    // Typing under way: 0 and "".
    clock.setSeconds(1);
    session.keyPress();
    QCOMPARE(state.MistakeCount, 0);
    QCOMPARE(state.MistakeReport, QString());

    session.complete(QStringLiteral("あいう\r\nかきく\r\n"));
    QCOMPARE(state.MistakeCount, 0);
    QCOMPARE(state.MistakeReport, QString());
    QCOMPARE(session.screen().mistakesText, QStringLiteral("間違い：0(合格=4以内)"));
}

void TestExamLogic::aComparisonAfterTypingIsRecorded()
{
    TestFolder folder(false);
    AppState state(folder.path());
    ManualClock clock;
    ExamSession session(state, clock);
    session.open(ExamText{QStringLiteral("あいう\r\nかきく"), false, {}});
    // Nothing typed yet: a comparison ends no attempt.
    QVERIFY(!session.complete(QString()).finishedAttempt);

    clock.setSeconds(100);
    session.keyPress();
    clock.advanceMs(95500);
    const ScreenEffects effects = session.complete(QStringLiteral("あえう\r\nかき"));
    QVERIFY(effects.finishedAttempt);
    const AttemptRecord& r = *effects.finishedAttempt;
    QCOMPARE(r.screen, QStringLiteral("F_kentei"));
    QCOMPARE(r.pageId, QStringLiteral("F_kentei"));
    QCOMPARE(r.durationMs, qint64(95500));
    QCOMPARE(r.accepted, 5); // line breaks are no characters typed
    QCOMPARE(r.misses, 2);
    QCOMPARE(r.outcome, QStringLiteral("間違い：2(合格=4以内)"));
    QVERIFY(r.inputMethod);

    // Pressing 入力完了 again over the same text compares it again but is
    // no new attempt.
    QVERIFY(!session.complete(QStringLiteral("あえう\r\nかき")).finishedAttempt);
}

void TestExamLogic::refusedFileMessage()
{
    TestFolder folder(false);
    AppState state(folder.path());
    ManualClock clock;
    ExamSession session(state, clock);
    ScreenEffects e = session.open(ExamText{QString(), true, {}});
    QCOMPARE(e.message, QStringLiteral("データが３２ｋＢを超えているので表示できません"));
    QCOMPARE(e.messageIcon, MessageIcon::Error);
    QCOMPARE(e.focus, QStringLiteral("Text2"));
    QCOMPARE(session.model(), QString());
    // The screen still opens, with one empty model line.
    session.complete(QString());
    QCOMPARE(state.MistakeCount, 0);

    e = session.open(ExamText{QStringLiteral("a"), false, {}});
    QCOMPARE(e.message, QString());
}

void TestExamLogic::workFiles()
{
    TestFolder folder(false);
    AppState state(folder.path());
    ManualClock clock;
    ExamSession session(state, clock);
    session.open(ExamText{QStringLiteral("あいう\r\n～①ｱ"), false, {}});
    QCOMPARE(session.complete(QStringLiteral("あえう\r\nかき")).message, QString());
    QCOMPARE(folder.read(QStringLiteral("kentei.wk1")), QByteArray("\x82\xA0\x82\xA2\x82\xA4\r\n\x81\x60\x87\x40\xB1\r\n"));
    QCOMPARE(folder.read(QStringLiteral("kentei.wk2")), QByteArray("\x82\xA0\x82\xA6\x82\xA4\r\n\x82\xA9\x82\xAB\r\n"));

    // Each comparison rewrites them; a character with no CP932 form is '?'.
    QCOMPARE(session.complete(QStringLiteral("a😀\u301Cb")).message, QString());
    QCOMPARE(folder.read(QStringLiteral("kentei.wk2")), QByteArray("a??b\r\n"));
    QCOMPARE(session.complete(QString()).message, QString());
    QCOMPARE(folder.read(QStringLiteral("kentei.wk2")), QByteArray("\r\n"));

    // An existing work file of another letter case is the one rewritten.
    QFile::remove(folder.file(QStringLiteral("kentei.wk1")));
    folder.write(QStringLiteral("KENTEI.WK1"), "old");
    QCOMPARE(session.complete(QString()).message, QString());
    QCOMPARE(folder.read(QStringLiteral("KENTEI.WK1")), WorkFileBytes(session.model()));
    QVERIFY(!folder.exists(QStringLiteral("kentei.wk1")));
}

void TestExamLogic::unwritableWorkFileDoesNotStopTheComparison_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("named");
    // A folder where the work file would go cannot be written, even as root.
    QTest::newRow("a folder in the place of kentei.wk1") << "folder wk1" << "kentei.wk1";
    QTest::newRow("a folder in the place of kentei.wk2") << "folder wk2" << "kentei.wk2";
    QTest::newRow("a full disk") << "full" << "kentei.wk2";
}

void TestExamLogic::unwritableWorkFileDoesNotStopTheComparison()
{
    QFETCH(QString, how);
    QFETCH(QString, named);
    TestFolder folder(false);
    if (how.startsWith(QLatin1String("folder")))
        QVERIFY(QDir(folder.path()).mkdir(named));
    AppState state(folder.path());
    ManualClock clock;
    ExamSession session(state, clock);
    session.open(ExamText{QStringLiteral("あいう\r\nかきく"), false, {}});
    ScreenEffects effects;
    {
        std::optional<morvela::test::DiskFull> full;
        if (how == QLatin1String("full"))
            full.emplace(0);
        effects = session.complete(QStringLiteral("あえう\r\nかき"));
    }
    QCOMPARE(state.MistakeCount, 2);
    QCOMPARE(state.MistakeReport, QStringLiteral("1行2文字目の『い』が違います。\r\n2行目の文字数が違います。\r\n"));
    QCOMPARE(session.screen().state, ExamState::Checked);
    QCOMPARE(session.screen().mistakesText, QStringLiteral("間違い：2(合格=4以内)"));
    QVERIFY(session.screen().mistakeListEnabled);

    // The message names the file, where it is and why it was not written.
    const QString path = QDir::toNativeSeparators(QDir(folder.path()).filePath(named));
    QVERIFY2(effects.message.contains(QStringLiteral("作業ファイル %1 を書き込めませんでした。\n%2\n").arg(named, path)),
             qPrintable(effects.message));
    if (how.startsWith(QLatin1String("folder")))
        QVERIFY(effects.message.contains(NotARegularFileReason));
    QVERIFY(effects.message.endsWith(QStringLiteral("入力した文章の照合はできており、間違いの数は画面のとおりです。")));
    QCOMPARE(effects.messageIcon, MessageIcon::Warning);
}

void TestExamLogic::reportWindowText()
{
    QCOMPARE(MistakeListText(0, QString()), QStringLiteral("間違った箇所はありません。"));
    const QString r = QStringLiteral("1行2文字目の『い』が違います。\r\n2行目の文字数が違います。\r\n");
    QCOMPARE(MistakeListText(2, r), r);
}

QTEST_GUILESS_MAIN(TestExamLogic)
#include "tst_examlogic.moc"
