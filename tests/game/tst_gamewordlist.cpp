// game.dat: fields back to characters, the Word/Hint split, the writer
// reading back to its source, and the table the game loads from the folder.

#include "game/GameWordList.h"
#include "game/WordTable.h"
#include "support/TestFolder.h"
#include "core/SafeFile.h"

#include <QRandomGenerator>
#include <QTest>

using namespace morvela;

namespace {

QByteArray encoded(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        EncodeGameLine(line, &bytes);
    return bytes;
}

// The field that stands for the CP932 code `code`.
QByteArray field(int code)
{
    return QByteArray::number(14 * code - 13).append('\t');
}

} // namespace

class TestGameWordList : public QObject {
    Q_OBJECT
private slots:
    void decodeLine_data();
    void decodeLine();
    void splitsAtTheFirstComma_data();
    void splitsAtTheFirstComma();
    void wholeFileOneEntryPerLine();
    void encodeReadsBack_data();
    void encodeReadsBack();
    void encodeRefusesWhatCp932CannotHold();
    void untypeableLinesAreLeftOut_data();
    void untypeableLinesAreLeftOut();
    void tableFromTheFolder_data();
    void tableFromTheFolder();
    void tableThatCannotBePlayed_data();
    void tableThatCannotBePlayed();
};

void TestGameWordList::decodeLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("text");
    QTest::newRow("a, comma and b") << QByteArray("1345\t603\t1359\t") << QStringLiteral("a,b");
    QTest::newRow("a double-byte character: 猫 is 0x944C") << QByteArray::number(14 * 0x944C - 13).append('\t')
                                                          << QStringLiteral("猫");
    QTest::newRow("a last field without its TAB is dropped") << QByteArray("1345\t603\t1359") << QStringLiteral("a,");
    QTest::newRow("blanks around a number are ignored") << QByteArray(" 1345 \t") << QStringLiteral("a");
    QTest::newRow("no digits decode to code 1") << QByteArray("x\t\t") << QString(2, QChar(1));
    QTest::newRow("rounded to the nearest code") << QByteArray("1350\t") << QStringLiteral("a"); // 97.36
    // (v + 13) / 14 = 97.5 rounds to the even 98 (b), 98.5 to 98 as well.
    QTest::newRow("a half rounds to even, up") << QByteArray("1352\t") << QStringLiteral("b");
    QTest::newRow("a half rounds to even, down") << QByteArray("1366\t") << QStringLiteral("b");
    // Codes that stand for no CP932 character are dropped from the word.
    QTest::newRow("an unassigned pair is dropped") << field(0x61) + field(0xFFFF) << QStringLiteral("a");
    QTest::newRow("a lone lead byte is dropped") << field(0x81) + field(0x61) << QStringLiteral("a");
    QTest::newRow("two single bytes are no pair") << field(0x4141) << QString();
    QTest::newRow("a huge number is dropped") << QByteArray("99999999999999999999\t1345\t") << QStringLiteral("a");
    QTest::newRow("a negative code is dropped") << QByteArray("-100\t") << QString();
}

void TestGameWordList::decodeLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, text);
    QCOMPARE(DecodeGameLine(line), text);
}

void TestGameWordList::splitsAtTheFirstComma_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("hint");
    QTest::newRow("word and hint") << QStringLiteral("猫,ねこ") << QStringLiteral("猫") << QStringLiteral("ねこ");
    QTest::newRow("the hint keeps later commas") << QStringLiteral("a,b,c") << QStringLiteral("a") << QStringLiteral("b,c");
    QTest::newRow("a leading comma leaves the word empty") << QStringLiteral(",x") << QString() << QStringLiteral("x");
    QTest::newRow("no comma: all word, no hint") << QStringLiteral("abc") << QStringLiteral("abc") << QString();
}

void TestGameWordList::splitsAtTheFirstComma()
{
    QFETCH(QString, line);
    QFETCH(QString, word);
    QFETCH(QString, hint);
    const WordEntry e = SplitWordEntry(line);
    QCOMPARE(e.Word, word);
    QCOMPARE(e.Hint, hint);
}

void TestGameWordList::wholeFileOneEntryPerLine()
{
    const QByteArray file = "1345\t603\t1359\t\r\n1359\t603\t1345\t\r1345\t\r\n";
    const QList<WordEntry> entries = DecodeGameWordList(file);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0], (WordEntry{QStringLiteral("a"), QStringLiteral("b")}));
    QCOMPARE(entries[1], (WordEntry{QStringLiteral("b"), QStringLiteral("a")}));
    QCOMPARE(entries[2], (WordEntry{QStringLiteral("a"), QString()}));
}

void TestGameWordList::encodeReadsBack_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("ASCII") << QStringLiteral("a,b");
    QTest::newRow("kanji and kana") << QStringLiteral("自転車,じてんしゃ");
    QTest::newRow("half-width katakana") << QStringLiteral("ﾊｲｽｺｱ,はいすこあ");
    QTest::newRow("CP932 only: wave dash and circled digit") << QStringLiteral("～①,なみ");
}

void TestGameWordList::encodeReadsBack()
{
    QFETCH(QString, line);
    QByteArray bytes;
    QVERIFY(EncodeGameLine(line, &bytes));
    QVERIFY(bytes.endsWith("\t\r\n"));
    const QList<WordEntry> entries = DecodeGameWordList(bytes);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].Word + QLatin1Char(',') + entries[0].Hint, line);
}

void TestGameWordList::encodeRefusesWhatCp932CannotHold()
{
    QByteArray bytes = "kept";
    qsizetype badChar = -1;
    QVERIFY(!EncodeGameLine(QStringLiteral("a😀,b"), &bytes, &badChar));
    QCOMPARE(bytes, QByteArray("kept"));
    QCOMPARE(badChar, 1);
}

void TestGameWordList::untypeableLinesAreLeftOut_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("kept");
    QTest::newRow("a field without digits: code 1") << QByteArray("x\t1345\t") << false;
    QTest::newRow("a TAB in the hint") << field(0x61) + field(',') + field('\t') << false;
    QTest::newRow("a carriage return") << field(0x61) + field('\r') << false;
    QTest::newRow("Backspace") << field(0x08) + field(0x61) << false;
    QTest::newRow("DEL") << field(0x61) + field(0x7F) << false;
    QTest::newRow("a user-defined character (private use)") << field(0xF040) << false;
    QTest::newRow("a space") << field(0x61) + field(' ') + field(0x62) << true;
    QTest::newRow("a full-width space") << field(0x8140) << true;
    QTest::newRow("half-width katakana") << field(0xB1) << true;
    QTest::newRow("a circled digit") << field(0x8740) << true;
}

void TestGameWordList::untypeableLinesAreLeftOut()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, kept);
    const QList<WordEntry> entries = DecodeGameWordList(line + "\r\n");
    QCOMPARE(entries.size(), kept ? 1 : 0);
    const QList<WordListLine> lines = DecodeGameWordLines(line);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].untypeable >= 0, !kept);
}

void TestGameWordList::tableFromTheFolder_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<WordEntry>>("words");
    QStringList many;
    QList<WordEntry> manyWords;
    for (int i = 1; i <= 301; ++i) {
        many << QStringLiteral("w%1,h").arg(i);
        manyWords << WordEntry{QStringLiteral("w%1").arg(i), QStringLiteral("h")};
    }
    QTest::newRow("more than 300 lines load whole") << encoded(many) << manyWords;
    QTest::newRow("no comma: a word without a hint")
        << encoded({QStringLiteral("猫")}) << QList<WordEntry>{{QStringLiteral("猫"), QString()}};
    QTest::newRow("a leading comma: an empty word stays an entry")
        << encoded({QStringLiteral(",から"), QStringLiteral("a,b")})
        << QList<WordEntry>{{QString(), QStringLiteral("から")}, {QStringLiteral("a"), QStringLiteral("b")}};
    // Every line is an entry: one without fields (blank, or no TAB) is an
    // empty word, as a leading comma gives one.
    QTest::newRow("a line without fields: an empty word")
        << QByteArray("\r\n") + encoded({QStringLiteral("a,b")}) + "no tab\r\n"
        << QList<WordEntry>{{}, {QStringLiteral("a"), QStringLiteral("b")}, {}};
    // A line of damaged fields only holds nothing the list's maker wrote.
    QTest::newRow("a line whose fields all stand for nothing is left out")
        << QByteArray("917477\t99999999999\t\r\n") + encoded({QStringLiteral("a,b")})
        << QList<WordEntry>{{QStringLiteral("a"), QStringLiteral("b")}};
    // Nor does the game offer a word no one can type.
    QTest::newRow("a line with a control character is left out")
        << encoded({QStringLiteral("猫,ねこ")}) + field(0x01) + field(0x61) + "\r\n"
        << QList<WordEntry>{{QStringLiteral("猫"), QStringLiteral("ねこ")}};
}

void TestGameWordList::tableFromTheFolder()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<WordEntry>, words);
    morvela::test::TestFolder folder(false);
    folder.write(QStringLiteral("GAME.DAT"), file); // any letter case
    const WordTable table = LoadWordTable(ProgramFolder(folder.path()));
    QCOMPARE(table.problem, QString());
    QCOMPARE(table.words, words);
}

void TestGameWordList::tableThatCannotBePlayed_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("problem");
    QTest::newRow("empty") << true << QByteArray() << QStringLiteral("game.datに単語がありません。");
    QTest::newRow("blank lines only") << true << QByteArray("\r\n\r\n") << QStringLiteral("game.datに単語がありません。");
    QTest::newRow("gone since the start") << false << QByteArray() << QStringLiteral("game.datを読み込めませんでした。");
    QTest::newRow("empty words only") << true << QByteArray(",\r\n") + field(',') + field('a') + "\r\n"
                                      << QStringLiteral("game.datに単語がありません。");
    QTest::newRow("control characters only") << true << QByteArray("1\t1\t\r\nx\t\r\n")
                                              << QStringLiteral("game.datに単語がありません。");
    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator random(20261211);
    random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    QTest::newRow("random bytes") << true << noise << QStringLiteral("game.datに単語がありません。");
}

void TestGameWordList::tableThatCannotBePlayed()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, file);
    QFETCH(QString, problem);
    morvela::test::TestFolder folder(false);
    if (present)
        folder.write(QStringLiteral("game.dat"), file);
    const WordTable table = LoadWordTable(ProgramFolder(folder.path()));
    QVERIFY(table.words.isEmpty());
    QVERIFY2(table.problem.startsWith(problem), qPrintable(table.problem));
    QVERIFY(table.problem.endsWith(QStringLiteral("ゲームを始められません。")));
}

QTEST_GUILESS_MAIN(TestGameWordList)
#include "tst_gamewordlist.moc"
