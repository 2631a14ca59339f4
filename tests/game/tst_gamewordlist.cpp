// game.dat: fields back to characters, the Word/Hint split, and the writer
// that makes the file at build time reading back to its source.

#include "game/GameWordList.h"

#include <QTest>

using namespace morvela;

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
    QTest::newRow("a code that is no character") << QByteArray::number(14 * 0xFFFF - 13).append('\t')
                                                 << QString(QChar::ReplacementCharacter);
    QTest::newRow("a huge number") << QByteArray("99999999999999999999\t") << QString(QChar::ReplacementCharacter);
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
    QVERIFY(!EncodeGameLine(QStringLiteral("a😀,b"), &bytes));
    QCOMPARE(bytes, QByteArray("kept"));
}

QTEST_GUILESS_MAIN(TestGameWordList)
#include "tst_gamewordlist.moc"
