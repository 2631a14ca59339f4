// The help the screens give after a miss, seen in their windows: the key
// marked over the keyboard picture, and the line of the keys missed most,
// which must fit in the room it has without moving anything else.

#include "core/MissedKeys.h"
#include "intro/F_Position.h"
#include "lessons/RhythmLessonWindow.h"
#include "lessons/WordDrillWindow.h"
#include "support/Controls.h"
#include "support/Harness.h"
#include "ui/PictureBox.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLayout>
#include <QTest>

#include <memory>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::typingBox;

namespace {

// The keyboard picture the build drew, beside the program.
QString builtPicture()
{
    return QDir(qEnvironmentVariable("MORVELA_DATA_DIR")).filePath(QStringLiteral("Keyboard.bmp"));
}

// The screens that keep the input method out, opened on `h`; 6 is Lesson 6,
// which converts, and 0 Lesson 0's home-position page.
std::unique_ptr<QDialog> openScreen(Harness& h, int lesson)
{
    h.state.progress.LessonStates[0] = LessonState::Completed;
    h.state.progress.FurthestPage = QStringLiteral("04-07");
    std::unique_ptr<QDialog> screen;
    if (lesson == 0) {
        auto* page = new F_Position(h.ctx);
        page->Form_Load();
        screen.reset(page);
    } else if (lesson <= 4) {
        auto* window = new RhythmLessonWindow(h.ctx, lesson);
        window->Form_Load();
        screen.reset(window);
    } else {
        auto* window = new WordDrillWindow(h.ctx, lesson);
        window->Form_Load();
        screen.reset(window);
    }
    screen->show();
    return screen;
}

// Whether the ring of a mark runs through `at` of the picture as shown (or
// a pixel next to it: a scaled ring is thin and smoothed).
bool ringAt(PictureBox& picture, QPoint at)
{
    const QImage shown = picture.grab().toImage();
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const QRgb c = shown.pixel(at + QPoint(dx, dy));
            if (qRed(c) > 170 && qGreen(c) < 90 && qBlue(c) < 90)
                return true;
        }
    }
    return false;
}

// Where every control lies in its window, the window's size first.
QList<QPair<QString, QRect>> controlPlaces(QDialog& window)
{
    QList<QPair<QString, QRect>> places{{QStringLiteral("(window)"), QRect(QPoint(0, 0), window.size())}};
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->objectName() != QLatin1String("MissedKeys"))
            places.append({w->objectName(), QRect(w->mapTo(&window, QPoint(0, 0)), w->size())});
    }
    return places;
}

} // namespace

class TestKeyHelp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void aMissMarksTheExpectedKeyOverThePicture_data();
    void aMissMarksTheExpectedKeyOverThePicture();
    void mostMissedLineAfterEachJudgement_data();
    void mostMissedLineAfterEachJudgement();
    void theLongestLineFitsAndMovesNothing_data();
    void theLongestLineFitsAndMovesNothing();
};

void TestKeyHelp::initTestCase()
{
    QVERIFY2(QFile::exists(builtPicture()), qPrintable(builtPicture()));
}

void TestKeyHelp::aMissMarksTheExpectedKeyOverThePicture_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("wrong");
    QTest::addColumn<QString>("legend");
    QTest::newRow("Lesson 0's home row") << 0 << 1.0 << "j" << "F";
    QTest::newRow("Lesson 1") << 1 << 1.0 << "x" << "F";
    QTest::newRow("Lesson 1, a picture half the size") << 1 << 0.5 << "x" << "F";
    QTest::newRow("Lesson 3") << 3 << 1.0 << "a" << "H";
    QTest::newRow("Lesson 5") << 5 << 1.0 << "j" << "H";
}

void TestKeyHelp::aMissMarksTheExpectedKeyOverThePicture()
{
    QFETCH(int, lesson);
    QFETCH(double, scale);
    QFETCH(QString, wrong);
    QFETCH(QString, legend);
    Harness h;
    QImage drawn(builtPicture());
    QVERIFY(!drawn.isNull());
    if (scale != 1.0)
        drawn = drawn.scaled((QSizeF(drawn.size()) * scale).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(drawn.save(h.folder.file(QStringLiteral("Keyboard.bmp")), "BMP"));
    std::unique_ptr<QDialog> screen = openScreen(h, lesson);
    auto* picture = screen->findChild<PictureBox*>(QStringLiteral("Picture1"));
    TypingBox* box = typingBox(*screen, 1);

    const KeyCap* key = MarkFor(legend.toLower().toUcs4().first()).key;
    // The left edge of the key's face, midway down, where the ring runs.
    const QPoint onRing = (QPointF(key->face.left(), key->face.center().y()) * scale).toPoint();
    QVERIFY(!ringAt(*picture, onRing));

    box->offer(wrong);
    QVERIFY(box->text().isEmpty());
    QVERIFY(picture->keyMark());
    QCOMPARE(picture->keyMark().key->legend, legend);
    QVERIFY(ringAt(*picture, onRing));

    // The next accepted key takes the mark away.
    box->offer(legend.toLower());
    QCOMPARE(box->text(), legend.toLower());
    QVERIFY(!picture->keyMark());
    QVERIFY(!ringAt(*picture, onRing));
}

void TestKeyHelp::mostMissedLineAfterEachJudgement_data()
{
    QTest::addColumn<int>("lesson");
    QTest::newRow("Lesson 0's home row") << 0;
    QTest::newRow("Lesson 2") << 2;
    QTest::newRow("Lesson 5") << 5;
}

void TestKeyHelp::mostMissedLineAfterEachJudgement()
{
    QFETCH(int, lesson);
    Harness h;
    std::unique_ptr<QDialog> screen = openScreen(h, lesson);
    auto* line = screen->findChild<QLabel*>(QStringLiteral("MissedKeys"));
    QVERIFY(line);
    TypingBox* box = typingBox(*screen, 1);
    QString text = lesson == 0 ? HomeRowSequence : morvela::test::label(*screen, 4)->text();
    // Two misses on the first character, one on the last.
    box->offer(QStringLiteral("QQ"));
    box->offer(text.left(text.size() - 1));
    QCOMPARE(line->text(), QString());
    box->offer(QStringLiteral("Q") + text.right(1));
    const QString first = KeyCaption(text.toUcs4().first());
    const QString last = KeyCaption(text.toUcs4().last());
    QCOMPARE(line->text(), QStringLiteral("よく間違えたキー：［%1］２回、［%2］１回").arg(first, last));
    QVERIFY(line->isVisible());
}

void TestKeyHelp::theLongestLineFitsAndMovesNothing_data()
{
    QTest::addColumn<int>("lesson");
    for (const int lesson : {0, 1, 2, 4, 5, 6})
        QTest::newRow(qPrintable(QStringLiteral("Lesson %1").arg(lesson))) << lesson;
}

void TestKeyHelp::theLongestLineFitsAndMovesNothing()
{
    QFETCH(int, lesson);
    Harness h;
    QFile::remove(h.folder.file(QStringLiteral("Keyboard.bmp")));
    QVERIFY(QFile::copy(builtPicture(), h.folder.file(QStringLiteral("Keyboard.bmp"))));
    std::unique_ptr<QDialog> screen = openScreen(h, lesson);
    auto* line = screen->findChild<QLabel*>(QStringLiteral("MissedKeys"));
    if (lesson == 6) {
        QVERIFY(!line); // the input method's keys are its own
        return;
    }
    QVERIFY(line);
    const QList<QPair<QString, QRect>> before = controlPlaces(*screen);
    // The widest line a page can bring: the space and the two widest
    // letters, missed ten times each.
    const QString longest = MostMissedLine({{U' ', 10}, {U'w', 10}, {U'm', 10}});
    line->setText(longest);
    if (lesson == 5) // the live strip yields this row's room to the line, as the window does when it shows
        screen->findChild<QWidget*>(QStringLiteral("LiveStrip"))->hide();
    screen->layout()->activate();
    QCoreApplication::processEvents();
    QCOMPARE(controlPlaces(*screen), before);
    QVERIFY2(line->width() >= line->fontMetrics().horizontalAdvance(longest),
             qPrintable(QStringLiteral("%1 px for %2 px").arg(line->width()).arg(line->fontMetrics().horizontalAdvance(longest))));
    QVERIFY(line->height() >= line->fontMetrics().height());
}

QTEST_MAIN(TestKeyHelp)
#include "tst_keyhelp.moc"
