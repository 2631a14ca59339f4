// The progress file and the game's score file: exact bytes, CP932 round
// trips, the rules on best times, pages and options, and damaged files.

#include "core/ProgressFile.h"
#include "app/Startup.h"
#include "core/GameScoreFile.h"
#include "exam/ExamText.h"
#include "support/DiskFull.h"
#include "support/TestFolder.h"
#include "core/Cp932.h"

#include <QFileInfo>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace morvela;
using morvela::test::DiskFull;
using morvela::test::TestFolder;

namespace {

QByteArray cp932(const char* utf8)
{
    return EncodeCp932(QString::fromUtf8(utf8));
}

QByteArray newFileBytes()
{
    QByteArray b = "\r\n" + cp932("99分99") + "\r\n" + cp932("99分99") + "\r\n";
    for (int i = 0; i < 11; ++i)
        b += cp932("未") + "\r\n";
    return b + "00-00\r\n 1 \r\n";
}

// A file of the earlier Windows program: line 1 holds byte pairs that CP932
// maps to one character twice over (0xED40 and 0xFA5C are both U+7E8A).
QByteArray earlierProgramFile()
{
    QByteArray b = QByteArray("\xED\x40\xFA\x5C memo \x87\x40\x81\x60") + "\r\n";
    b += cp932("01分23") + "\r\n" + cp932("99分99") + "\r\n";
    b += cp932("完了") + "\r\n" + cp932("完了") + "\r\n" + cp932("練習中") + "\r\n";
    for (int i = 0; i < 6; ++i)
        b += cp932("未") + "\r\n";
    b += cp932("未") + "\r\n";          // graduation
    b += cp932("①～") + "\r\n";         // spare line, carried through as read
    return b + "02-03\r\n 5 \r\n";
}

} // namespace

class TestProgressFile : public QObject {
    Q_OBJECT
private slots:
    void newFileHasTheSixteenNewValues();
    void existingFileIsNotTouched();
    void earlierProgramFileRoundTripsByteForByte();
    void parse_data();
    void parse();
    void damagedFileIsKeptAndRepaired();
    void failedSaveKeepsTheFile_data();
    void failedSaveKeepsTheFile();
    void bestTime_data();
    void bestTime();
    void formatBestTime_data();
    void formatBestTime();
    void raiseFurthestPage_data();
    void raiseFurthestPage();
    void pagePassed_data();
    void pagePassed();
    void applyOptionCode_data();
    void applyOptionCode();
    void clearPracticeRecordsKeepsBestTimesAndOption();
    void gameScore_data();
    void gameScore();
    void startupReportsBothRepairsInOneMessage();
    void startupChecksKeyboardPictureFirst();
    void examNamesDropTheExtension();
    void specialFilesAtStartUp();
    void examNamedInCp932IsListedAndOpens();
    void interruptedSavesAreClearedAtStartUp_data();
    void interruptedSavesAreClearedAtStartUp();
    void savesLeaveOnlyTheirFile();
    void unreadableFileIsLeftAlone_data();
    void unreadableFileIsLeftAlone();
    void overLongPathIsNotCalledMissing();
    void hugeDamagedFileIsKeptWithoutACopy_data();
    void hugeDamagedFileIsKeptWithoutACopy();
    void savedRecordReadsBackAsItWas_data();
    void savedRecordReadsBackAsItWas();
    void largeFileKeepsWhatCanBeRead_data();
    void largeFileKeepsWhatCanBeRead();
    void unwritableTextFailsTheSave();
};

void TestProgressFile::newFileHasTheSixteenNewValues()
{
    TestFolder folder;
    ProgressRecord record;
    record.BestSpeedTime = QStringLiteral("00分10"); // replaced by the new values
    QString error;
    QVERIFY(EnsureProgressFile(ProgramFolder(folder.path()), record, &error));
    QCOMPARE(folder.read(QStringLiteral("morvela.ini")), newFileBytes());
    QCOMPARE(record, ProgressRecord());

    QVERIFY(EnsureGameScoreFile(ProgramFolder(folder.path()), &error));
    QCOMPARE(folder.read(QStringLiteral("game.ini")), QByteArray(" 0 \r\n\r\n\r\n\r\n\r\n\r\n"));
}

void TestProgressFile::existingFileIsNotTouched()
{
    TestFolder folder;
    folder.write(QStringLiteral("MORVELA.INI"), earlierProgramFile());
    ProgressRecord record;
    QVERIFY(EnsureProgressFile(ProgramFolder(folder.path()), record, nullptr));
    QVERIFY(!folder.exists(QStringLiteral("morvela.ini")));
    QCOMPARE(folder.read(QStringLiteral("MORVELA.INI")), earlierProgramFile());
}

void TestProgressFile::earlierProgramFileRoundTripsByteForByte()
{
    TestFolder folder;
    folder.write(QStringLiteral("morvela.ini"), earlierProgramFile());
    const ProgramFolder pf(folder.path());
    ProgressRecord record;
    const ProgressLoad load = LoadProgress(pf, record);
    QVERIFY(!load.repaired);
    QCOMPARE(record.BestSpeedTime, QStringLiteral("01分23"));
    QCOMPARE(record.LessonStates[2], QStringLiteral("練習中"));
    QCOMPARE(record.SpareState, QStringLiteral("①～"));
    QCOMPARE(record.SpareState.at(1).unicode(), char16_t(0xFF5E));
    QCOMPARE(record.optionCodeValue(), 5.0);

    QVERIFY(SaveProgress(pf, record, nullptr));
    QCOMPARE(folder.read(QStringLiteral("morvela.ini")), earlierProgramFile());
}

void TestProgressFile::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<QString>("lesson2State");
    QTest::addColumn<QString>("furthestPage");

    QByteArray crOnly = earlierProgramFile();
    crOnly.replace("\r\n", "\r");
    QByteArray lfOnly = earlierProgramFile();
    lfOnly.replace("\r\n", "\n");
    QTest::newRow("lines ended by a lone CR read as usual") << crOnly << false << "練習中" << "02-03";
    QTest::newRow("lines ended by LF alone read as usual") << lfOnly << false << "練習中" << "02-03";

    const QByteArray full = earlierProgramFile();
    const QByteArray sixLines = full.left(full.indexOf(cp932("未")));
    QTest::newRow("a short file keeps what it has, new values for the rest")
        << sixLines << true << "練習中" << "00-00";
    QTest::newRow("an empty file is all new values") << QByteArray() << true << "未" << "00-00";

    const QByteArray utf8("\r\n99分99\r\n99分99\r\n完了\r\n完了\r\n練習中\r\n未\r\n未\r\n未\r\n未\r\n未\r\n未\r\n未\r\n未\r\n03-01\r\n 1 \r\n");
    QTest::newRow("a file saved as UTF-8 keeps the learner's progress") << utf8 << true << "練習中" << "03-01";

    QByteArray binary;
    for (int i = 0; i < 600; ++i)
        binary += char((i * 37 + 11) % 256);
    QTest::newRow("binary garbage is damage") << binary << true << "未" << "00-00";

    QTest::newRow("text after the sixteenth line is damage") << full + "extra\r\n" << true << "練習中" << "02-03";

    QByteArray oddValue = full;
    oddValue.replace(cp932("練習中"), "?");
    QTest::newRow("a value of another form is accepted as read") << oddValue << false << "?" << "02-03";
}

void TestProgressFile::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, damaged);
    QFETCH(QString, lesson2State);
    QFETCH(QString, furthestPage);
    const ParsedProgress parsed = ParseProgress(bytes);
    QCOMPARE(parsed.damaged, damaged);
    QCOMPARE(parsed.record.LessonStates[2], lesson2State);
    QCOMPARE(parsed.record.FurthestPage, furthestPage);
}

void TestProgressFile::damagedFileIsKeptAndRepaired()
{
    TestFolder folder;
    const QByteArray full = earlierProgramFile();
    const QByteArray damaged = full.left(full.size() / 2);
    folder.write(QStringLiteral("morvela.ini"), damaged);
    folder.write(QStringLiteral("morvela.ini.bak"), "an older backup");

    ProgressRecord record;
    const ProgressLoad load = LoadProgress(ProgramFolder(folder.path()), record);
    QVERIFY(load.repaired);
    QVERIFY(load.error.isEmpty());
    QCOMPARE(load.backupPath, folder.file(QStringLiteral("morvela.ini.1.bak")));
    QCOMPARE(folder.read(QStringLiteral("morvela.ini.1.bak")), damaged);
    QCOMPARE(folder.read(QStringLiteral("morvela.ini.bak")), QByteArray("an older backup"));
    QCOMPARE(record.BestSpeedTime, QStringLiteral("01分23"));
    QCOMPARE(record.FurthestPage, NoPagePassed);
    QCOMPARE(folder.read(QStringLiteral("morvela.ini")), SerializeProgress(record));
    QCOMPARE(SplitLines(folder.read(QStringLiteral("morvela.ini")), false).size(), 16);
}

void TestProgressFile::failedSaveKeepsTheFile_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("disk full") << false;
    QTest::newRow("read-only folder") << true;
}

void TestProgressFile::failedSaveKeepsTheFile()
{
    QFETCH(bool, readOnlyFolder);
    TestFolder folder;
    folder.write(QStringLiteral("morvela.ini"), earlierProgramFile());
    ProgressRecord record = ParseProgress(earlierProgramFile()).record;
    record.Reserved = QByteArray(4000, 'x'); // larger than the disk allows
    record.FurthestPage = QStringLiteral("04-07");
    QString error;
    bool saved = false;
    if (readOnlyFolder) {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        saved = SaveProgress(ProgramFolder(folder.path()), record, &error);
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    } else {
        DiskFull full(1024);
        saved = SaveProgress(ProgramFolder(folder.path()), record, &error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(folder.read(QStringLiteral("morvela.ini")), earlierProgramFile());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 3); // no leftovers
}

void TestProgressFile::bestTime_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("newTime");
    QTest::addColumn<QString>("kept");
    QTest::newRow("a slower time leaves the best") << "00分59" << "01分00" << "00分59";
    QTest::newRow("a faster time replaces it") << "00分59" << "00分58" << "00分58";
    QTest::newRow("no time yet: any real time wins") << "99分99" << "59分59" << "59分59";
    QTest::newRow("an equal time changes nothing") << "01分23" << "01分23" << "01分23";
}

void TestProgressFile::bestTime()
{
    QFETCH(QString, stored);
    QFETCH(QString, newTime);
    QFETCH(QString, kept);
    ApplyBestTime(stored, newTime);
    QCOMPARE(stored, kept);
}

void TestProgressFile::formatBestTime_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("83 seconds") << qint64(83) << "01分23";
    QTest::newRow("no time at all") << qint64(0) << "00分00";
    QTest::newRow("just under an hour") << qint64(3599) << "59分59";
    QTest::newRow("an hour or more never looks fast") << qint64(3723) << "59分59";
}

void TestProgressFile::formatBestTime()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(FormatBestTime(seconds), text);
}

void TestProgressFile::raiseFurthestPage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("raised");
    QTest::addColumn<QString>("after");
    QTest::newRow("a later page raises it") << "00-00" << "00-01" << true << "00-01";
    QTest::newRow("an earlier page leaves it") << "03-04" << "00-02" << false << "03-04";
    QTest::newRow("the same page leaves it") << "01-07" << "01-07" << false << "01-07";
    QTest::newRow("the next lesson is later than page 7") << "01-07" << "02-01" << true << "02-01";
}

void TestProgressFile::raiseFurthestPage()
{
    QFETCH(QString, stored);
    QFETCH(QString, page);
    QFETCH(bool, raised);
    QFETCH(QString, after);
    ProgressRecord record;
    record.FurthestPage = stored;
    QCOMPARE(RaiseFurthestPage(record, page), raised);
    QCOMPARE(record.FurthestPage, after);
}

// The gate of every "次ページ>>": open on a page the learner has reached.
void TestProgressFile::pagePassed_data()
{
    QTest::addColumn<QString>("furthest");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("passed");
    QTest::newRow("nothing passed") << "00-00" << "01-01" << false;
    QTest::newRow("after Lesson 0, Lesson 1's first page is still ahead") << "00-03" << "01-01" << false;
    QTest::newRow("the page itself was passed") << "01-01" << "01-01" << true;
    QTest::newRow("a later lesson passes every page before it") << "02-05" << "01-07" << true;
    QTest::newRow("page 7 is below the next lesson's page 1") << "01-07" << "02-01" << false;
}

void TestProgressFile::pagePassed()
{
    ProgressRecord record;
    QFETCH(QString, furthest);
    QFETCH(QString, page);
    record.FurthestPage = furthest;
    QTEST(PagePassed(record, page), "passed");
}

void TestProgressFile::applyOptionCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QList<int>>("intervals");
    QTest::addColumn<QString>("wordList1");
    const QString full = QStringLiteral("搭載　搭載　高速　高速　最大　最大　性能　性能　部分　部分");
    const QString half = QStringLiteral("搭載 搭載 高速 高速 最大 最大 性能 性能 部分 部分");
    const QList<int> normal{1300, 1000, 800, 600, 500};
    const QList<int> fast{900, 700, 550, 400, 330};
    const QList<int> veryFast{650, 500, 400, 300, 250};
    QTest::newRow("1 normal, full-width") << " 1 " << normal << full;
    QTest::newRow("2 fast, full-width") << " 2 " << fast << full;
    QTest::newRow("3 very fast, full-width") << " 3 " << veryFast << full;
    QTest::newRow("4 normal, half-width") << " 4 " << normal << half;
    QTest::newRow("5 fast, half-width") << "5" << fast << half;
    QTest::newRow("6 very fast, half-width") << " 6 " << veryFast << half;
    QTest::newRow("0 keeps the normal tempo, never 0 ms") << " 0 " << normal << full;
    QTest::newRow("7 keeps the normal tempo, half-width") << " 7 " << normal << half;
    QTest::newRow("no number at all") << "abc" << normal << full;
}

void TestProgressFile::applyOptionCode()
{
    QFETCH(QString, code);
    QFETCH(QList<int>, intervals);
    QFETCH(QString, wordList1);
    ProgressRecord record;
    record.OptionCode = code;
    DerivedSettings settings;
    ApplyOptionCode(settings, record.optionCodeValue());
    QCOMPARE(QList<int>(settings.RhythmInterval.begin(), settings.RhythmInterval.end()), intervals);
    QCOMPARE(settings.WordList[0], wordList1);
    QCOMPARE(settings.WordList[0].size(), 29);
    QCOMPARE(settings.WordList[5].size(), 31);
}

void TestProgressFile::clearPracticeRecordsKeepsBestTimesAndOption()
{
    ProgressRecord record = ParseProgress(earlierProgramFile()).record;
    record.clearPracticeRecords();
    QCOMPARE(record.BestSpeedTime, QStringLiteral("01分23"));
    QCOMPARE(record.OptionCode, QStringLiteral(" 5 "));
    QCOMPARE(record.LessonStates[1], LessonState::NotStarted);
    QCOMPARE(record.SpareState, LessonState::NotStarted);
    QCOMPARE(record.FurthestPage, NoPagePassed);
    QCOMPARE(record.Reserved, ParseProgress(earlierProgramFile()).record.Reserved);
}

void TestProgressFile::gameScore_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("highScore");
    QTest::addColumn<bool>("repaired");
    QTest::addColumn<bool>("rewritten");
    QTest::newRow("as written") << QByteArray(" 1200 \r\n\r\n\r\n\r\n\r\n\r\n") << qint64(1200) << false << false;
    QTest::newRow("trailing text after the number")
        << QByteArray("  350points\r\n\r\n\r\n\r\n\r\n\r\n") << qint64(350) << false << true;
    QTest::newRow("an empty line 1 counts as 0") << QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n") << qint64(0) << false << true;
    QTest::newRow("fewer than six lines") << QByteArray(" 420 \r\n") << qint64(420) << false << true;
    QTest::newRow("junk on line 1 is repaired") << QByteArray("high\r\n\r\n\r\n\r\n\r\n\r\n") << qint64(0) << true << false;
    QTest::newRow("an empty file is repaired") << QByteArray() << qint64(0) << true << false;
    QTest::newRow("binary is repaired") << QByteArray("\x00\x01\x02 99", 6) << qint64(0) << true << false;
    // No game reaches these: the file is kept, not silently reset.
    QTest::newRow("a negative score is repaired") << QByteArray(" -50 \r\n\r\n\r\n\r\n\r\n\r\n") << qint64(0) << true << false;
    QTest::newRow("sixteen digits are repaired")
        << QByteArray(" 1234567890123456 \r\n\r\n\r\n\r\n\r\n\r\n") << qint64(0) << true << false;
}

void TestProgressFile::gameScore()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, highScore);
    QFETCH(bool, repaired);
    QFETCH(bool, rewritten);
    TestFolder folder;
    folder.write(QStringLiteral("game.ini"), bytes);
    const GameScoreLoad load = LoadGameScore(ProgramFolder(folder.path()));
    QCOMPARE(load.highScore, highScore);
    QCOMPARE(load.repaired, repaired);
    QCOMPARE(load.rewritten, rewritten);
    QCOMPARE(folder.exists(QStringLiteral("game.ini.bak")), repaired);
    if (repaired)
        QCOMPARE(folder.read(QStringLiteral("game.ini.bak")), bytes);
    // Whatever was read, the file has its six lines afterwards.
    QCOMPARE(folder.read(QStringLiteral("game.ini")), SerializeGameScore(highScore));
}

void TestProgressFile::startupReportsBothRepairsInOneMessage()
{
    TestFolder folder;
    folder.write(QStringLiteral("morvela.ini"), "\x81\xff\x00 not a progress file");
    folder.write(QStringLiteral("game.ini"), "");
    AppState state(folder.path());
    const QString notice = PrepareRecords(state);
    QVERIFY(notice.contains(QStringLiteral("morvela.ini")));
    QVERIFY(notice.contains(QStringLiteral("game.ini")));
    QVERIFY(folder.exists(QStringLiteral("morvela.ini.bak")));
    QVERIFY(folder.exists(QStringLiteral("game.ini.bak")));
    QVERIFY(state.LoadedOnce);
    QCOMPARE(state.progress.LessonStates[0], LessonState::NotStarted);

    // Read once per run: a second pass neither reads nor reports again.
    folder.write(QStringLiteral("game.ini"), "");
    QVERIFY(PrepareRecords(state).isEmpty());
}

void TestProgressFile::startupChecksKeyboardPictureFirst()
{
    TestFolder folder(false);
    QCOMPARE(MissingDataFileMessage(ProgramFolder(folder.path())), QStringLiteral("Keyboard.bmpファイルがありません"));
    folder.write(QStringLiteral("keyboard.BMP"), TestFolder::tinyBmp());
    QCOMPARE(MissingDataFileMessage(ProgramFolder(folder.path())), QStringLiteral("game.datファイルがありません"));
    folder.write(QStringLiteral("game.dat"), "");
    QVERIFY(MissingDataFileMessage(ProgramFolder(folder.path())).isEmpty());
}

void TestProgressFile::examNamesDropTheExtension()
{
    TestFolder folder;
    folder.write(QStringLiteral("a.ken"), "x\r\n");
    folder.write(QStringLiteral("b.KEN"), "y\r\n");
    folder.write(QStringLiteral("notes.txt"), "z");
    QStringList names;
    for (const FolderEntry& file : ExamFiles(ProgramFolder(folder.path())))
        names << ExamName(file);
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

void TestProgressFile::savedRecordReadsBackAsItWas_data()
{
    // Inputs the fuzzer found, among others.
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("two byte-order marks before line 1")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF");
    QTest::newRow("the file of the earlier program") << earlierProgramFile();
}

void TestProgressFile::savedRecordReadsBackAsItWas()
{
    QFETCH(QByteArray, bytes);
    const ProgressRecord record = ParseProgress(bytes).record;
    const QByteArray written = SerializeProgress(record);
    QVERIFY(!written.isEmpty());
    QCOMPARE(ParseProgress(written).record, record);
    QVERIFY(!ParseProgress(written).damaged);
}

void TestProgressFile::interruptedSavesAreClearedAtStartUp_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removed");
    // What a save killed while it wrote leaves: its file under the name of
    // a save in progress, or QSaveFile's temporary of that.
    QTest::newRow("a whole save not yet in place") << SaveInProgressName(QStringLiteral("morvela.ini")) << true;
    QTest::newRow("QSaveFile's temporary of it") << SaveInProgressName(QStringLiteral("game.ini")) + ".dlPjBx" << true;
    QTest::newRow("an exam work file's") << SaveInProgressName(QStringLiteral("kentei.wk2")) + ".a1B2c3" << true;
    QTest::newRow("a backup's") << SaveInProgressName(QStringLiteral("morvela.ini.1.bak")) << true;
    QTest::newRow("an unnumbered backup's, in QSaveFile's temporary")
        << SaveInProgressName(QStringLiteral("morvela.ini.bak")) + ".Zz9aA0" << true;
    QTest::newRow("a file the name was matched on in another case")
        << SaveInProgressName(QStringLiteral("MORVELA.INI")) << true;
    // The learner's own files, whatever they look like.
    QTest::newRow("a learner's backup") << "morvela.ini.backup" << false;
    QTest::newRow("a learner's copy of an exam work file") << "kentei.wk2.saved1" << false;
    QTest::newRow("a backup the program made") << "morvela.ini.bak" << false;
    QTest::newRow("a numbered backup the program made") << "morvela.ini.1.bak" << false;
    QTest::newRow("notes beside the file") << "morvela.ini.notes" << false;
    QTest::newRow("another program's file") << "other.ini.abcdef" << false;
    QTest::newRow("a save in progress of a file not the program's")
        << SaveInProgressName(QStringLiteral("notes.txt")) << false;
    QTest::newRow("more after a save's name") << SaveInProgressName(QStringLiteral("morvela.ini")) + ".mine" << false;
    QTest::newRow("a temporary's tail too short") << SaveInProgressName(QStringLiteral("morvela.ini")) + ".abcde" << false;
    QTest::newRow("a temporary's tail not letters") << SaveInProgressName(QStringLiteral("morvela.ini")) + ".abc-de" << false;
    QTest::newRow("a backup numbered without digits")
        << SaveInProgressName(QStringLiteral("morvela.ini..bak")) << false;
    // Earlier versions named their temporaries so; a learner may too. Left
    // alone: a stale file is better than a lost one.
    QTest::newRow("an earlier version's temporary") << "morvela.ini.bcOprp" << false;
}

void TestProgressFile::interruptedSavesAreClearedAtStartUp()
{
    QFETCH(QString, name);
    QFETCH(bool, removed);
    TestFolder folder;
    folder.write(name, "half a save or the learner's");
    AppState state(folder.path());
    PrepareRecords(state);
    QCOMPARE(folder.exists(name), !removed);
    QVERIFY(folder.exists(QStringLiteral("morvela.ini")));
}

void TestProgressFile::savesLeaveOnlyTheirFile()
{
    // A stale save in progress of an earlier crash does not stand in the way.
    TestFolder folder;
    folder.write(SaveInProgressName(QStringLiteral("morvela.ini")), "stale");
    ProgressRecord record;
    record.FurthestPage = QStringLiteral("03-02");
    QString error;
    QVERIFY2(SaveProgress(ProgramFolder(folder.path()), record, &error), qPrintable(error));
    QCOMPARE(folder.read(QStringLiteral("morvela.ini")), SerializeProgress(record));
    QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    QCOMPARE(left, (QStringList{"Keyboard.bmp", "game.dat", "morvela.ini"}));
}

void TestProgressFile::examNamedInCp932IsListedAndOpens()
{
    // Unpacked from a Windows archive, the name is CP932 bytes, no UTF-8.
    TestFolder folder;
    const QByteArray native = QFile::encodeName(folder.path()) + '/' + EncodeCp932(QStringLiteral("試験問題")) + ".KEN";
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "abc\r\n", 5), ssize_t(5));
    ::close(fd);

    const ProgramFolder programFolder(folder.path());
    const QList<FolderEntry> files = ExamFiles(programFolder);
    QCOMPARE(files.size(), 1);
    QCOMPARE(ExamName(files[0]), QStringLiteral("試験問題"));
    QVERIFY(MissingExamMessage(files[0], QStringLiteral("試験問題")).isEmpty());
    const ExamText exam = LoadExamText(files[0]);
    QCOMPARE(exam.problem, QString());
    QCOMPARE(exam.model, QStringLiteral("abc"));
    ::unlink(native.constData()); // the temporary folder cannot list it to clean up
}

void TestProgressFile::specialFilesAtStartUp()
{
    TestFolder folder;
    QFile::remove(folder.file(QStringLiteral("Keyboard.bmp")));
    QVERIFY(mkfifo(QFile::encodeName(folder.file(QStringLiteral("Keyboard.bmp"))).constData(), 0600) == 0);
    QCOMPARE(MissingDataFileMessage(ProgramFolder(folder.path())),
             QStringLiteral("Keyboard.bmpは") + NotARegularFileReason);

    // A FIFO in the progress file's place: start-up runs to its end (it
    // would wait in open() for ever), says why, and leaves the FIFO be.
    const QString ini = folder.file(QStringLiteral("morvela.ini"));
    QVERIFY(mkfifo(QFile::encodeName(ini).constData(), 0600) == 0);
    AppState state(folder.path());
    const QString notice = PrepareRecords(state);
    QVERIFY2(notice.contains(NotARegularFileReason), qPrintable(notice));
    QVERIFY2(!notice.contains(QStringLiteral("壊れて")), qPrintable(notice)); // unreadable, not damaged
    QVERIFY(state.LoadedOnce);
    QCOMPARE(state.progress, ProgressRecord());
    QVERIFY(!SaveProgress(state.folder, state.progress, nullptr));
    QVERIFY(!QFileInfo(ini).isFile() && QFileInfo::exists(ini));
}

void TestProgressFile::unreadableFileIsLeftAlone_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("what");
    QTest::newRow("progress file") << QStringLiteral("morvela.ini") << QStringLiteral("進捗ファイル");
    QTest::newRow("score file") << QStringLiteral("game.ini") << QStringLiteral("ゲームの得点ファイル");
}

void TestProgressFile::unreadableFileIsLeftAlone()
{
    QFETCH(QString, name);
    QFETCH(QString, what);
    if (geteuid() == 0)
        QSKIP("root reads files without read permission");
    TestFolder folder;
    const QByteArray bytes = name == ProgressFileName ? earlierProgramFile() : QByteArray(" 700 \r\n\r\n\r\n\r\n\r\n\r\n");
    folder.write(name, bytes);
    QFile::setPermissions(folder.file(name), QFileDevice::WriteOwner);
    AppState state(folder.path());
    const QString notice = PrepareRecords(state);
    QFile::setPermissions(folder.file(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    QVERIFY2(notice.contains(what + QStringLiteral("（%1）を読み込めません").arg(name)), qPrintable(notice));
    QVERIFY2(notice.contains(QStringLiteral("権限がありません")), qPrintable(notice));
    QVERIFY2(!notice.contains(QStringLiteral("壊れて")) && !notice.contains(QStringLiteral("Cannot")), qPrintable(notice));
    QCOMPARE(folder.read(name), bytes);
    QVERIFY(!folder.exists(name + QStringLiteral(".bak")));
    // Never replaced before a backup of it exists: once it can be read
    // again, the backup comes first.
    bool& owed = name == ProgressFileName ? state.ProgressBackupOwed : state.GameScoreBackupOwed;
    QVERIFY(owed);
    QString error;
    QVERIFY(PayOwedBackup(folder.file(name), owed, &error));
    QCOMPARE(folder.read(name + QStringLiteral(".bak")), bytes);
}

void TestProgressFile::overLongPathIsNotCalledMissing()
{
    // A folder name longer than any the file system takes: whether the
    // picture is there cannot be known, and the message says why.
    const ProgramFolder folder(QDir::tempPath() + QLatin1Char('/') + QString(300, u'm'));
    const QString message = MissingDataFileMessage(folder);
    QVERIFY2(message.startsWith(QStringLiteral("Keyboard.bmpファイルを確かめられません。")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("パスが長すぎます")), qPrintable(message));
}

void TestProgressFile::hugeDamagedFileIsKeptWithoutACopy_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("the file itself") << false;
    QTest::newRow("a link to it") << true;
}

void TestProgressFile::hugeDamagedFileIsKeptWithoutACopy()
{
    QFETCH(bool, throughLink);
    // A gibibyte of holes after a damaged start: a copy would take its
    // size in real disk, and long.
    TestFolder folder;
    const qint64 size = qint64(1) << 30;
    const QString file = folder.file(throughLink ? QStringLiteral("elsewhere.ini") : QStringLiteral("morvela.ini"));
    folder.write(QFileInfo(file).fileName(), earlierProgramFile().left(40));
    QVERIFY(QFile::resize(file, size));
    if (throughLink)
        QVERIFY(QFile::link(file, folder.file(QStringLiteral("morvela.ini"))));

    ProgressRecord record;
    const ProgressLoad load = LoadProgress(ProgramFolder(folder.path()), record);
    QVERIFY(load.repaired);
    QCOMPARE(load.backupPath, folder.file(QStringLiteral("morvela.ini.bak")));
    struct stat backup {};
    QCOMPARE(::stat(QFile::encodeName(load.backupPath).constData(), &backup), 0);
    QCOMPARE(qint64(backup.st_size), size);                // the whole file kept
    QVERIFY(qint64(backup.st_blocks) * 512 < 1024 * 1024); // without copying its holes
    QCOMPARE(ReadFileStart(load.backupPath, 40).bytes, earlierProgramFile().left(40));
    QCOMPARE(record.BestSpeedTime, QStringLiteral("01分23"));
    QCOMPARE(folder.read(QStringLiteral("morvela.ini")), SerializeProgress(record));
    QCOMPARE(QFileInfo(folder.file(QStringLiteral("morvela.ini"))).isSymLink(), throughLink);
}

void TestProgressFile::largeFileKeepsWhatCanBeRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("reserved");
    QTest::addColumn<bool>("repaired");
    const QByteArray good = earlierProgramFile();
    const QByteArray longLine(100 * 1024, 'm');
    QTest::newRow("junk after the sixteen lines")
        << good + QByteArray(200 * 1024, 'j') + "\r\n" << good.left(good.indexOf('\r')) << true;
    // Nothing wrong but its length: read as it is, and left as it is.
    QTest::newRow("a long first line") << longLine + good.mid(good.indexOf('\r')) << longLine << false;
}

void TestProgressFile::largeFileKeepsWhatCanBeRead()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, reserved);
    TestFolder folder;
    folder.write(QStringLiteral("morvela.ini"), file);
    ProgressRecord record;
    const ProgressLoad load = LoadProgress(ProgramFolder(folder.path()), record);
    QTEST(load.repaired, "repaired");
    if (load.repaired)
        QCOMPARE(folder.read(QStringLiteral("morvela.ini.bak")), file); // kept whole
    QCOMPARE(record.Reserved, reserved);
    QCOMPARE(record.BestSpeedTime, QStringLiteral("01分23"));
    QCOMPARE(record.LessonStates[2], QStringLiteral("練習中"));
    QCOMPARE(record.FurthestPage, QStringLiteral("02-03"));
    QCOMPARE(record.OptionCode, QStringLiteral(" 5 "));
    QCOMPARE(ParseProgress(folder.read(QStringLiteral("morvela.ini"))).record, record);
}

void TestProgressFile::unwritableTextFailsTheSave()
{
    TestFolder folder;
    folder.write(QStringLiteral("morvela.ini"), earlierProgramFile());
    ProgressRecord record;
    QString error;

    // A converter that fails, as where Qt has no CP932: nothing is written.
    const TextEncoder broken = [](const QString&, bool* ok) {
        *ok = false;
        return QByteArray();
    };
    QVERIFY(SerializeProgress(record, &error, broken).isEmpty());
    QVERIFY(!SaveProgress(ProgramFolder(folder.path()), record, &error, broken));
    QVERIFY(!error.isEmpty());
    QCOMPARE(folder.read(QStringLiteral("morvela.ini")), earlierProgramFile());

    // A character CP932 has no form for: never written as '?' or dropped.
    record.SpareState = QStringLiteral("😀");
    error.clear();
    QVERIFY(!SaveProgress(ProgramFolder(folder.path()), record, &error));
    QVERIFY(error.contains(QStringLiteral("14行目")));
    QCOMPARE(folder.read(QStringLiteral("morvela.ini")), earlierProgramFile());
}

QTEST_GUILESS_MAIN(TestProgressFile)
#include "tst_progressfile.moc"
