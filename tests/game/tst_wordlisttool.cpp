// morvela-wordlist, run as the people who prepare word lists run it: text to
// game.dat and back through the game's own loader, the refusals that name
// line and character, and the list the program ships with.

#include "game/WordTable.h"
#include "support/TestFolder.h"
#include "core/SafeFile.h"

#include <QProcess>
#include <QTest>

using namespace morvela;
using morvela::test::TestFolder;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run wordlist(const QStringList& args)
{
    QProcess p;
    p.start(qEnvironmentVariable("MORVELA_DATA_DIR") + QStringLiteral("/morvela-wordlist"), args);
    if (!p.waitForFinished(20000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

bool isReading(const QString& hint)
{
    for (const QChar c : hint)
        if (!((c >= QChar(0x3041) && c <= QChar(0x3093)) || c == QChar(0x30FC))) // hiragana, ー
            return false;
    return !hint.isEmpty();
}

} // namespace

class TestWordListTool : public QObject {
    Q_OBJECT
private slots:
    void helpAndUsage();
    void textToGameDatAndBack();
    void refusesWhatWouldPlayWrong_data();
    void refusesWhatWouldPlayWrong();
    void decodeNamesWhatItLeavesOut();
    void shippedList();
};

void TestWordListTool::helpAndUsage()
{
    const Run help = wordlist({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains(QStringLiteral("morvela-wordlist encode WORDS.txt GAME.DAT")));
    QVERIFY(help.out.contains(QStringLiteral("morvela-wordlist decode GAME.DAT")));
    QCOMPARE(wordlist({}).exitCode, 2);
    QCOMPARE(wordlist({QStringLiteral("encode"), QStringLiteral("only-one")}).exitCode, 2);
}

void TestWordListTool::textToGameDatAndBack()
{
    TestFolder folder(false);
    // A BOM and CR LF from a Windows editor, a blank line, a hint with a
    // comma, a word without a hint, and characters only CP932 has.
    const QString text = QStringLiteral("猫,ねこ\n自転車,じてんしゃ\nｶﾀｶﾅ,はんかく\n①～,まる,なみ\nhint-less\n");
    folder.write(QStringLiteral("words.txt"), "\xEF\xBB\xBF" + text.toUtf8().replace("\n", "\r\n") + "\r\n");
    const Run encode = wordlist({QStringLiteral("encode"), folder.file(QStringLiteral("words.txt")),
                                 folder.file(QStringLiteral("game.dat"))});
    QCOMPARE(encode.exitCode, 0);
    QCOMPARE(encode.err, QString());

    const WordTable table = LoadWordTable(ProgramFolder(folder.path()));
    QCOMPARE(table.problem, QString());
    QCOMPARE(table.words, (QList<WordEntry>{{QStringLiteral("猫"), QStringLiteral("ねこ")},
                                            {QStringLiteral("自転車"), QStringLiteral("じてんしゃ")},
                                            {QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("はんかく")},
                                            {QStringLiteral("①～"), QStringLiteral("まる,なみ")},
                                            {QStringLiteral("hint-less"), QString()}}));

    const Run decode = wordlist({QStringLiteral("decode"), folder.file(QStringLiteral("game.dat"))});
    QCOMPARE(decode.exitCode, 0);
    QCOMPARE(decode.out, text);
}

void TestWordListTool::refusesWhatWouldPlayWrong_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("problem");
    QTest::newRow("no CP932 form") << QStringLiteral("猫,ねこ\nab😀,x\n").toUtf8()
                                   << QStringLiteral("words.txt:2: character 3, \"😀\" (U+1F600), has no form");
    QTest::newRow("an empty word") << QByteArray(",から\n") << QStringLiteral("words.txt:1: the word before the comma is empty");
    QTest::newRow("not UTF-8") << QByteArray("a,b\n\x94\x4c,\x82\xcb\n") << QStringLiteral("words.txt:2: not UTF-8 text");
    QTest::newRow("no words") << QByteArray("\n  \n") << QStringLiteral("words.txt: no words");
    QTest::newRow("a TAB inside a word") << QByteArray("a\tb,x\n")
                                         << QStringLiteral("words.txt:1: character 2, \"\t\" (U+0009), is typed by no key");
    QTest::newRow("a control character in a hint") << QByteArray("a,\x1b\n")
                                                    << QStringLiteral("words.txt:1: character 3, \"\x1b\" (U+001B), is typed by no key");
}

void TestWordListTool::refusesWhatWouldPlayWrong()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, problem);
    TestFolder folder(false);
    folder.write(QStringLiteral("words.txt"), text);
    folder.write(QStringLiteral("game.dat"), "the list before");
    const Run run = wordlist({QStringLiteral("encode"), folder.file(QStringLiteral("words.txt")),
                              folder.file(QStringLiteral("game.dat"))});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(problem), qPrintable(run.err));
    QVERIFY(run.err.contains(QStringLiteral("not written")));
    QCOMPARE(folder.read(QStringLiteral("game.dat")), QByteArray("the list before"));
}

void TestWordListTool::decodeNamesWhatItLeavesOut()
{
    TestFolder folder(false);
    // a, a code that is no character, b; then a line of nothing; a, a
    // control character, b; a code that is no character alone; c.
    folder.write(QStringLiteral("game.dat"),
                 QByteArray("1345\t917477\t1359\t\r\n\r\n1345\t1\t1359\t\r\n917477\t\r\n1373\t\r\n"));
    const Run run = wordlist({QStringLiteral("decode"), folder.file(QStringLiteral("game.dat")),
                              folder.file(QStringLiteral("words.txt"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(folder.read(QStringLiteral("words.txt")), QByteArray("ab\nc\n"));
    QVERIFY(run.err.contains(QStringLiteral("game.dat:1: field 2 stands for no character")));
    QVERIFY(run.err.contains(QStringLiteral("game.dat:2: no word")));
    QVERIFY2(run.err.contains(QStringLiteral("game.dat:3: character 2, \"\u0001\" (U+0001), is typed by no key and no "
                                             "input method; the game leaves the line out")),
             qPrintable(run.err));
    QVERIFY(run.err.contains(QStringLiteral("game.dat:4: no character at all; the game leaves the line out")));

    // The tool reads the list as the game does: what it writes out is what
    // the game plays, and the line of nothing is the game's empty word.
    const WordTable table = LoadWordTable(ProgramFolder(folder.path()));
    QCOMPARE(table.words, (QList<WordEntry>{{QStringLiteral("ab"), QString()}, {}, {QStringLiteral("c"), QString()}}));
}

void TestWordListTool::shippedList()
{
    const WordTable table = LoadWordTable(ProgramFolder(qEnvironmentVariable("MORVELA_DATA_DIR")));
    QCOMPARE(table.problem, QString());
    QVERIFY(table.words.size() >= 150);
    QSet<QString> words;
    bool kanji = false, katakana = false, hiragana = false;
    for (const WordEntry& e : table.words) {
        QVERIFY2(isReading(e.Hint), qPrintable(e.Word + QLatin1Char(',') + e.Hint));
        QVERIFY2(!words.contains(e.Word), qPrintable(e.Word));
        QVERIFY2(e.Word.size() >= 1 && e.Word.size() <= 7, qPrintable(e.Word)); // fits across the field
        words << e.Word;
        kanji |= e.Word.front() >= QChar(0x4E00) && e.Word.front() <= QChar(0x9FFF);
        katakana |= e.Word.front() >= QChar(0x30A1) && e.Word.front() <= QChar(0x30FA);
        hiragana |= e.Word == e.Hint;
    }
    QVERIFY(kanji && katakana && hiragana);
}

QTEST_GUILESS_MAIN(TestWordListTool)
#include "tst_wordlisttool.moc"
