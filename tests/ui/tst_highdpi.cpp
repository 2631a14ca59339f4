// The screens on high-DPI screens: every typing box (and the mock exam's
// two text boxes) keeps all four edges of its border at every scale a desktop offers, and the pictures are drawn
// with as many pixels as the screen has, so they are as sharp as the text.
//
// The process runs at scale 2 (set before the application starts); the
// borders are rendered at each scale into an image of that pixel ratio, as
// the window's backing store is.

#include "core/ProgramFolder.h"
#include "exam/F_kentei.h"
#include "game/F_game.h"
#include "game/GameRandom.h"
#include "game/GamePixmaps.h"
#include "intro/F_Position.h"
#include "intro/F_welcome.h"
#include "lessons/GraduationWindows.h"
#include "lessons/RhythmLessonWindow.h"
#include "lessons/SentenceLessonWindow.h"
#include "lessons/WordDrillWindow.h"
#include "support/Harness.h"
#include "ui/KeyboardPicture.h"
#include "ui/PictureBox.h"
#include "ui/TypingBox.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

using namespace morvela;
using morvela::test::Harness;

namespace {

using ScreenMaker = std::function<std::unique_ptr<QDialog>(Harness&)>;

template <typename Screen, typename... Args>
ScreenMaker screen(Args... args)
{
    return [=](Harness& h) -> std::unique_ptr<QDialog> {
        auto window = std::make_unique<Screen>(h.ctx, args...);
        window->Form_Load();
        return window;
    };
}

// The window as its backing store holds it at `scale`.
QImage renderAt(QWidget& window, qreal scale)
{
    QImage image((QSizeF(window.size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::magenta);
    QPainter p(&image);
    window.render(&p);
    p.end();
    return image;
}

// A border pixel: clearly darker than the box's base, the window and the
// panels the boxes stand on.
bool isBorder(QRgb c)
{
    return qGray(c) <= 210;
}

// Which edges of `r` (in device pixels) have a line of border pixels within
// two pixels of them, along at least 90 % of their length: "LTRB", with "-"
// for each edge that has none.
QString edgesFound(const QImage& image, const QRectF& r)
{
    const auto lineIsBorder = [&](bool vertical, int at) {
        const int from = int(std::ceil(vertical ? r.top() : r.left())) + 3;
        const int to = int(std::floor(vertical ? r.bottom() : r.right())) - 3;
        int border = 0;
        for (int i = from; i < to; ++i)
            border += isBorder(vertical ? image.pixel(at, i) : image.pixel(i, at));
        return to > from && border >= 0.9 * (to - from);
    };
    const auto edge = [&](bool vertical, double at) {
        for (int d = -2; d <= 2; ++d) {
            const int line = int(std::floor(at)) + d;
            if (line >= 0 && line < (vertical ? image.width() : image.height()) && lineIsBorder(vertical, line))
                return true;
        }
        return false;
    };
    QString found;
    found += edge(true, r.left()) ? QLatin1Char('L') : QLatin1Char('-');
    found += edge(false, r.top()) ? QLatin1Char('T') : QLatin1Char('-');
    found += edge(true, r.right() - 1) ? QLatin1Char('R') : QLatin1Char('-');
    found += edge(false, r.bottom() - 1) ? QLatin1Char('B') : QLatin1Char('-');
    return found;
}

QString builtKeyboardPicture()
{
    return QDir(qEnvironmentVariable("MORVELA_DATA_DIR")).filePath(QStringLiteral("Keyboard.bmp"));
}

} // namespace

class TestHighDpi : public QObject {
    Q_OBJECT
private slots:
    void typingBoxBordersAreWholeAtEveryScale_data();
    void typingBoxBordersAreWholeAtEveryScale();
    void builtKeyboardPictureIsDrawnAtTheScreensRatio();
    void learnersOwnPictureIsShownAsItIs_data();
    void learnersOwnPictureIsShownAsItIs();
    void gamePicturesHaveTheScreensPixels_data();
    void gamePicturesHaveTheScreensPixels();
    void gameWindowShowsItsPicturesAtTheScreensRatio();
};

void TestHighDpi::typingBoxBordersAreWholeAtEveryScale_data()
{
    QTest::addColumn<ScreenMaker>("make");
    QTest::addColumn<qreal>("scale");
    const QList<std::pair<const char*, ScreenMaker>> screens{
        {"speed test", screen<F_welcome>()},
        {"home position", screen<F_Position>()},
        {"Lesson 1", screen<RhythmLessonWindow>(1)},
        {"Lesson 5", screen<WordDrillWindow>(5)},
        {"Lesson 6", screen<WordDrillWindow>(6)},
        {"Lesson 7", screen<SentenceLessonWindow>(7)},
        {"Lesson 8", screen<SentenceLessonWindow>(8)},
        {"graduation exam", screen<GraduationExamWindow>()},
        {"mock exam", screen<F_kentei>(ExamText{QStringLiteral("あいうえお"), false, {}})},
    };
    for (const auto& [name, make] : screens) {
        for (const qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0})
            QTest::addRow("%s at %g", name, scale) << make << scale;
    }
}

void TestHighDpi::typingBoxBordersAreWholeAtEveryScale()
{
    QFETCH(ScreenMaker, make);
    QFETCH(qreal, scale);
    Harness h;
    h.state.progress.LessonStates[0] = LessonState::Completed;
    h.state.progress.FurthestPage = QStringLiteral("08-07");
    const std::unique_ptr<QDialog> window = make(h);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QImage image = renderAt(*window, scale);
    QList<QWidget*> boxes;
    for (TypingBox* box : window->findChildren<TypingBox*>())
        boxes << box;
    for (QPlainTextEdit* box : window->findChildren<QPlainTextEdit*>())
        boxes << box;
    QVERIFY(!boxes.isEmpty());
    for (QWidget* box : std::as_const(boxes)) {
        if (!box->isVisibleTo(window.get()))
            continue;
        const QRectF onDevice(QPointF(box->mapTo(window.get(), QPoint(0, 0))) * scale, QSizeF(box->size()) * scale);
        QCOMPARE(box->objectName() + QLatin1Char(' ') + edgesFound(image, onDevice),
                 box->objectName() + QStringLiteral(" LTRB"));
    }
}

void TestHighDpi::builtKeyboardPictureIsDrawnAtTheScreensRatio()
{
    Harness h;
    QFile::remove(h.folder.file(QStringLiteral("Keyboard.bmp")));
    QVERIFY(QFile::copy(builtKeyboardPicture(), h.folder.file(QStringLiteral("Keyboard.bmp"))));
    PictureBox box;
    QVERIFY(box.loadPicture(ProgramFolder(h.folder.path()), QStringLiteral("keyboard.bmp")));
    QCOMPARE(box.devicePixelRatioF(), 2.0);
    QVERIFY(box.drawsKeyboard());
    QCOMPARE(box.size(), KeyboardPictureSize);
    QCOMPARE(box.pixmap().devicePixelRatio(), 2.0);
    QCOMPARE(box.pixmap().size(), KeyboardPictureSize * 2);

    // The same picture as the file, only finer: brought down to the file's
    // size it differs from it by no more than smoothing does.
    const QImage file(builtKeyboardPicture());
    const QImage halved = box.pixmap()
                              .toImage()
                              .scaled(file.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(file.format());
    qint64 difference = 0;
    for (int y = 0; y < file.height(); ++y) {
        for (int x = 0; x < file.width(); ++x)
            difference += qAbs(qGray(file.pixel(x, y)) - qGray(halved.pixel(x, y)));
    }
    QVERIFY2(difference < 12LL * file.width() * file.height(),
             qPrintable(QStringLiteral("mean difference %1").arg(double(difference) / (file.width() * file.height()))));
}

void TestHighDpi::learnersOwnPictureIsShownAsItIs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray built;
    {
        QFile file(builtKeyboardPicture());
        QVERIFY(file.open(QIODevice::ReadOnly));
        built = file.readAll();
    }
    // The built picture with its last pixel changed: same size, another picture.
    QByteArray touched = built;
    touched[touched.size() - 4] = char(~touched[touched.size() - 4]);
    QTest::newRow("another picture of the same size") << touched;
    QTest::newRow("a small picture") << test::TestFolder::tinyBmp();
}

void TestHighDpi::learnersOwnPictureIsShownAsItIs()
{
    QFETCH(QByteArray, bytes);
    Harness h;
    h.folder.write(QStringLiteral("Keyboard.bmp"), bytes);
    const QImage file = QImage::fromData(bytes);
    PictureBox box;
    QVERIFY(box.loadPicture(ProgramFolder(h.folder.path()), QStringLiteral("Keyboard.bmp")));
    QVERIFY(!box.drawsKeyboard());
    QCOMPARE(box.pixmap().size(), file.size());
    QCOMPARE(box.pixmap().toImage().convertToFormat(QImage::Format_RGB32),
             file.convertToFormat(QImage::Format_RGB32));
}

void TestHighDpi::gamePicturesHaveTheScreensPixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("background") << QStringLiteral("background") << QSize(539, 414);
    QTest::newRow("beam") << QStringLiteral("beam") << QSize(11, 402);
    QTest::newRow("explosion") << QStringLiteral("explosion") << QSize(84, 44);
}

void TestHighDpi::gamePicturesHaveTheScreensPixels()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    for (const qreal ratio : {1.0, 1.25, 2.0}) {
        const QPixmap picture = GamePixmap(name, ratio);
        QCOMPARE(picture.deviceIndependentSize(), QSizeF(size));
        QCOMPARE(picture.size(), size * (ratio > 1 ? 2 : 1));
    }
    // The finer drawing is the same picture: brought down to the plain
    // one's size it differs from it by no more than smoothing does.
    // Compared as shown over black, so a transparent pixel has no colour.
    const QImage plain = GamePixmap(name).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage halved = GamePixmap(name, 2)
                              .toImage()
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 difference = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            difference += qAbs(qGray(plain.pixel(x, y)) - qGray(halved.pixel(x, y)));
    }
    QVERIFY2(difference < 16LL * size.width() * size.height(),
             qPrintable(QStringLiteral("mean difference %1").arg(double(difference) / (size.width() * size.height()))));
}

void TestHighDpi::gameWindowShowsItsPicturesAtTheScreensRatio()
{
    Harness h;
    GameRun run;
    F_game w(h.ctx, run, {{QStringLiteral("ねこ"), QStringLiteral("猫")}});
    for (const char* name : {"Picture2", "Picture3"}) {
        auto* picture = w.findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY(picture);
        QCOMPARE(picture->pixmap().devicePixelRatio(), 2.0);
    }
    // The explosion at the field's scale, in the screen's pixels.
    auto* explosion = w.findChild<QLabel*>(QStringLiteral("Picture3"));
    const double zoom = w.logicalDpiY() / 96.0;
    QCOMPARE(explosion->pixmap().size(), (QSizeF(84, 44) * zoom * 2).toSize());
}

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
