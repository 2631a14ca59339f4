// The code page's plain-ASCII shortcut must give exactly what ICU's
// converter gives, byte for byte and character for character.
#include "core/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace morvela;

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void decodesAsTheCodePageDoes_data();
    void decodesAsTheCodePageDoes();
    void encodesAsTheCodePageDoes();
};

void TestCp932::decodesAsTheCodePageDoes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (int b = 0; b < 256; ++b)
        QTest::addRow("byte %02x", b) << QByteArray(1, char(b));
    QTest::addRow("ascii line") << QByteArray("Lesson1=12.5\r\n");
    QTest::addRow("ascii with end-of-file mark") << QByteArray("0\r\n\x1a");
    QTest::addRow("kana") << QByteArray("\x82\xa0\x82\xa2");
    QTest::addRow("wave dash") << QByteArray("a\x81\x60z");
    QTest::addRow("cut lead byte") << QByteArray("abc\x82");
    QTest::addRow("empty") << QByteArray();
}

void TestCp932::decodesAsTheCodePageDoes()
{
    QFETCH(QByteArray, bytes);
    QStringDecoder icu(Cp932CodecName, QStringConverter::Flag::Stateless);
    QVERIFY(icu.isValid());
    const QString expected = icu.decode(bytes);
    const Decoded d = DecodeCp932(bytes);
    QCOMPARE(d.text, expected);
    QCOMPARE(d.ok, !icu.hasError());
}

void TestCp932::encodesAsTheCodePageDoes()
{
    for (char16_t c = 0; c < 0x100; ++c) {
        const QString text = QStringLiteral("x") + QChar(c) + QStringLiteral("y");
        QStringEncoder icu(Cp932CodecName, QStringConverter::Flag::Stateless);
        const QByteArray expected = icu.encode(text);
        bool ok = false;
        const QByteArray bytes = EncodeCp932(text, &ok);
        QCOMPARE(bytes, expected);
        if (c < 0x80)
            QVERIFY2(ok, qPrintable(QString::number(c, 16)));
    }
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
