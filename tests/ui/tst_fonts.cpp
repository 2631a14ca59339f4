// The aligned drill font is sized for the window that draws it: a device of
// another resolution than the one a bare font is measured at gets its own
// pixel size, and the font measures the same on that device as on its own.

#include "ui/Fonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTest>

using namespace morvela;

namespace {

// A paint device that draws at `dpi` dots per inch.
QImage deviceAt(int dpi)
{
    QImage image(8, 8, QImage::Format_ARGB32);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

} // namespace

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void alignedFontFollowsTheDeviceThatDrawsIt_data();
    void alignedFontFollowsTheDeviceThatDrawsIt();
};

void TestFonts::alignedFontFollowsTheDeviceThatDrawsIt_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<qreal>("points");
    // 96 is what widgets draw at on X11 and Wayland alike; 100 is what a
    // bare font took on Wayland; 120 and 144 are far enough off that a
    // size taken from anywhere else is caught.
    QTest::newRow("lesson 0 lines at 96 dpi") << 96 << 13.5;
    QTest::newRow("lesson 0 lines at 100 dpi") << 100 << 13.5;
    QTest::newRow("lesson 0 lines at 120 dpi") << 120 << 13.5;
    QTest::newRow("drill lines at 144 dpi") << 144 << 15.0;
    QTest::newRow("hint examples at 120 dpi") << 120 << 11.0;
}

void TestFonts::alignedFontFollowsTheDeviceThatDrawsIt()
{
    QFETCH(int, dpi);
    QFETCH(qreal, points);
    const QImage device = deviceAt(dpi);
    QCOMPARE(device.logicalDpiY(), dpi);

    const QFont font = AlignedDrillFont(&device, points);
    // Near the size the points make on this device: the search for an
    // aligned size moves at most four pixels from it.
    QVERIFY2(font.pixelSize() > 0, "the font carries a pixel size");
    QVERIFY2(qAbs(font.pixelSize() - points * dpi / 72.0) <= 4.5,
             qPrintable(QStringLiteral("%1 px for %2 pt at %3 dpi").arg(font.pixelSize()).arg(points).arg(dpi)));
    // The promise holds where it is drawn, and the font measures the same
    // there as anywhere else (a column width taken without the window).
    QVERIFY(FullWidthIsTwoHalfWidths(font, &device));
    QCOMPARE(QFontMetricsF(font, &device).height(), QFontMetricsF(font).height());
    QCOMPARE(QFontMetricsF(font, &device).horizontalAdvance(QStringLiteral("砂a")),
             QFontMetricsF(font).horizontalAdvance(QStringLiteral("砂a")));
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
