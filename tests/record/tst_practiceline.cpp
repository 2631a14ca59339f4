// The weakest-key practice line: which keys it is built round, which words
// it takes from the course, and that one record and seed give one line.

#include "record/PracticeLine.h"

#include <QRegularExpression>
#include <QTest>

using namespace morvela;

Q_DECLARE_METATYPE(morvela::PracticeLine::Basis)

namespace {

// "k 9/20, j 3/30": key, missed / expected.
QList<KeyCount> Totals(const QString& described)
{
    QList<KeyCount> totals;
    static const QRegularExpression entry(QStringLiteral("^(.) (\\d+)/(\\d+)$"));
    for (const QString& part : described.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const auto m = entry.match(part);
        Q_ASSERT(m.hasMatch());
        totals.append({m.captured(1).toUcs4().first(), m.captured(3).toInt(), m.captured(2).toInt()});
    }
    return totals;
}

QString WeakKeys(const PracticeLine& p)
{
    QString keys;
    for (const KeyCount& k : p.weakKeys)
        keys += QString::fromUcs4(&k.key, 1);
    return keys;
}

const QString HomeRow = QStringLiteral("jfjfkdkdlsls;a;a");

// A few words of the course's romaji.
const QStringList Words{QStringLiteral("kakikukeko"), QStringLiteral("sasisuseso"), QStringLiteral("suna"),
                        QStringLiteral("taki"),       QStringLiteral("neko"),       QStringLiteral("tuki"),
                        QStringLiteral("qpqpqpa;"),   QStringLiteral("z/z/z/a;"),   QStringLiteral("heya"),
                        QStringLiteral("ma-jann")};

} // namespace

class TestPracticeLine : public QObject {
    Q_OBJECT
private slots:
    void candidatesFromTheCourseTexts_data();
    void candidatesFromTheCourseTexts();
    void basisAndWeakestKeys_data();
    void basisAndWeakestKeys();
    void lineHoldsOnlyWordsWithWeakKeysAndFitsItsLength_data();
    void lineHoldsOnlyWordsWithWeakKeysAndFitsItsLength();
    void sameRecordAndSeedSameLine();
    void wordsAreDrawnByErrorRate();
    void oneLongWordStillMakesALine();
};

void TestPracticeLine::candidatesFromTheCourseTexts_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("candidates");
    QTest::newRow("a drill line repeating one piece")
        << QStringList{QStringLiteral("jfjfkdkdlsls;a;ajfjfkdkdlsls;a;ajfjfkdkdlsls;a;a")}
        << QStringList{QStringLiteral("jfjfkdkdlsls;a;a")};
    QTest::newRow("words at blanks, each once, in order")
        << QStringList{QStringLiteral("suna suna taki taki"), QStringLiteral("neko suna")}
        << QStringList{QStringLiteral("suna"), QStringLiteral("taki"), QStringLiteral("neko")};
    QTest::newRow("full-width blank separates too")
        << QStringList{QStringLiteral("heya\u3000mari")} << QStringList{QStringLiteral("heya"), QStringLiteral("mari")};
    QTest::newRow("kana and kanji cannot be typed with the input method off")
        << QStringList{QStringLiteral("ma-jann 麻雀 まーじゃん de-ta")}
        << QStringList{QStringLiteral("ma-jann"), QStringLiteral("de-ta")};
    QTest::newRow("single letters are no syllables") << QStringList{QStringLiteral("a ffff  i")}
                                                     << QStringList{QStringLiteral("ff")};
    QTest::newRow("nothing") << QStringList{QString()} << QStringList{};
}

void TestPracticeLine::candidatesFromTheCourseTexts()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, candidates);
    QCOMPARE(PracticeCandidates(texts), candidates);
}

void TestPracticeLine::basisAndWeakestKeys_data()
{
    QTest::addColumn<QString>("totals");
    QTest::addColumn<PracticeLine::Basis>("basis");
    QTest::addColumn<QString>("weakKeys");
    QTest::newRow("no record") << QString() << PracticeLine::Basis::TooLittleHistory << QString();
    QTest::newRow("49 keystrokes, misses and all")
        << QStringLiteral("k 9/40, j 3/9") << PracticeLine::Basis::TooLittleHistory << QString();
    QTest::newRow("50 keystrokes") << QStringLiteral("k 9/41, j 3/9") << PracticeLine::Basis::WeakKeys
                                   << QStringLiteral("jk");
    QTest::newRow("nothing missed") << QStringLiteral("k 0/400, j 0/300") << PracticeLine::Basis::NothingMissed
                                    << QString();
    QTest::newRow("only the blank missed")
        << QStringLiteral("k 0/400,   7/100") << PracticeLine::Basis::NothingMissed << QString();
    QTest::newRow("only keys no course word holds")
        << QStringLiteral("k 0/400, あ 5/20, 7 2/10") << PracticeLine::Basis::NothingMissed << QString();
    QTest::newRow("by error rate, not by misses")
        << QStringLiteral("k 10/20, j 30/100, q 1/1") << PracticeLine::Basis::WeakKeys << QStringLiteral("qkj");
    QTest::newRow("equal rates: more misses first")
        << QStringLiteral("s 2/10, n 4/20, t 4/20, u 1/5") << PracticeLine::Basis::WeakKeys << QStringLiteral("ntsu");
    QTest::newRow("the five weakest only")
        << QStringLiteral("a 1/100, e 2/100, i 3/100, k 4/100, n 5/100, o 6/100, s 7/100")
        << PracticeLine::Basis::WeakKeys << QStringLiteral("sonki");
    QTest::newRow("one key counted in two entries")
        << QStringLiteral("k 1/50, j 3/50, k 4/50") << PracticeLine::Basis::WeakKeys << QStringLiteral("jk");
}

void TestPracticeLine::basisAndWeakestKeys()
{
    QFETCH(QString, totals);
    QFETCH(PracticeLine::Basis, basis);
    QFETCH(QString, weakKeys);
    const QStringList words = Words + QStringList{QStringLiteral("jfjfkdkdlsls;a;a")};
    const PracticeLine p = MakePracticeLine(Totals(totals), words, HomeRow, 1);
    QCOMPARE(p.basis, basis);
    QCOMPARE(WeakKeys(p), weakKeys);
    if (basis != PracticeLine::Basis::WeakKeys)
        QCOMPARE(p.line, HomeRow);
}

void TestPracticeLine::lineHoldsOnlyWordsWithWeakKeysAndFitsItsLength_data()
{
    QTest::addColumn<QString>("totals");
    QTest::addColumn<int>("length");
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<QString>("practised"); // the weak keys the line holds
    QTest::newRow("one weak key") << QStringLiteral("k 5/100") << 60 << quint64(1) << QStringLiteral("k");
    QTest::newRow("three weak keys") << QStringLiteral("k 5/100, q 3/10, z 1/40, a 0/400") << 60 << quint64(7)
                                     << QStringLiteral("qkz");
    QTest::newRow("five weak keys, room for four")
        << QStringLiteral("k 5/100, q 3/10, z 1/40, h 2/30, - 1/9") << 30 << quint64(99) << QStringLiteral("q-hk");
    QTest::newRow("large seed") << QStringLiteral("n 5/100, u 2/10") << 60 << ~quint64(0) << QStringLiteral("un");
}

void TestPracticeLine::lineHoldsOnlyWordsWithWeakKeysAndFitsItsLength()
{
    QFETCH(QString, totals);
    QFETCH(int, length);
    QFETCH(quint64, seed);
    QFETCH(QString, practised);
    const PracticeLine p = MakePracticeLine(Totals(totals), Words, HomeRow, seed, length);
    QCOMPARE(p.basis, PracticeLine::Basis::WeakKeys);
    QVERIFY2(p.line.size() <= length, qPrintable(p.line));
    // The line is full: no word of the pool would still fit.
    QVERIFY2(p.line.size() > length - 1 - 10, qPrintable(p.line));
    const QStringList words = p.line.split(QLatin1Char(' '));
    for (const QString& word : words) {
        QVERIFY2(Words.contains(word), qPrintable(word));
        QVERIFY2(std::any_of(p.weakKeys.cbegin(), p.weakKeys.cend(),
                             [&](const KeyCount& k) { return word.contains(QChar(char16_t(k.key))); }),
                 qPrintable(word));
    }
    // The weakest keys are taken up first, as far as the room goes.
    QString held;
    for (const KeyCount& k : p.weakKeys) {
        if (p.line.contains(QChar(char16_t(k.key))))
            held += QChar(char16_t(k.key));
    }
    QVERIFY2(held == practised, qPrintable(p.line));
    // No word twice in a row.
    for (qsizetype i = 1; i < words.size(); ++i)
        QVERIFY2(words[i] != words[i - 1], qPrintable(p.line));
}

void TestPracticeLine::sameRecordAndSeedSameLine()
{
    const QList<KeyCount> totals = Totals(QStringLiteral("k 5/100, q 3/10, z 1/40, u 2/30, a 0/400"));
    QList<KeyCount> reversed = totals;
    std::reverse(reversed.begin(), reversed.end());
    const QString line = MakePracticeLine(totals, Words, HomeRow, 42).line;
    QCOMPARE(MakePracticeLine(totals, Words, HomeRow, 42).line, line);
    QCOMPARE(MakePracticeLine(reversed, Words, HomeRow, 42).line, line);
    // The generator is our own, so the line is the same wherever the
    // program is built.
    QCOMPARE(line, QStringLiteral("qpqpqpa; tuki z/z/z/a; tuki qpqpqpa; z/z/z/a; qpqpqpa; tuki"));
    QStringList others;
    for (quint64 seed = 1; seed <= 8; ++seed)
        others << MakePracticeLine(totals, Words, HomeRow, seed).line;
    others.removeDuplicates();
    QVERIFY2(others.size() > 4, qPrintable(others.join(QLatin1Char('\n'))));
}

void TestPracticeLine::wordsAreDrawnByErrorRate()
{
    // k missed nine times as often as j: after the first two words (one for
    // each key) the words with k are drawn about nine times as often.
    const QList<KeyCount> totals = Totals(QStringLiteral("k 90/100, j 10/100"));
    const QStringList words{QStringLiteral("kiki"), QStringLiteral("koko"), QStringLiteral("kaka"),
                            QStringLiteral("juju")};
    int withK = 0, withJ = 0;
    for (quint64 seed = 0; seed < 200; ++seed) {
        const QStringList drawn = MakePracticeLine(totals, words, HomeRow, seed).line.split(QLatin1Char(' ')).mid(2);
        withJ += int(drawn.count(QStringLiteral("juju")));
        withK += int(drawn.size() - drawn.count(QStringLiteral("juju")));
    }
    QVERIFY2(withK > 5 * withJ, qPrintable(QStringLiteral("%1 with k, %2 with j").arg(withK).arg(withJ)));
    QVERIFY(withJ > 0);
}

void TestPracticeLine::oneLongWordStillMakesALine()
{
    const PracticeLine p = MakePracticeLine(Totals(QStringLiteral("o 5/100")), {QStringLiteral("tyounouryoku")},
                                            HomeRow, 3, 8);
    QCOMPARE(p.basis, PracticeLine::Basis::WeakKeys);
    QCOMPARE(p.line, QStringLiteral("tyounouryoku"));
}

QTEST_APPLESS_MAIN(TestPracticeLine)
#include "tst_practiceline.moc"
