// Every screen under the learner's theme, the standard light one and a dark
// one: wherever a screen draws text, on a colour of its own (Lesson 7's
// panel, the game's sky and score) or on the theme's, the text stands out
// from what lies behind it; the chosen speed in the options shows.

#include "app/F_Option.h"
#include "app/F_hint.h"
#include "app/F_mokuji.h"
#include "exam/F_kentei.h"
#include "exam/F_miss.h"
#include "game/F_game.h"
#include "game/GameDoubles.h"
#include "intro/F_Position.h"
#include "intro/F_hantei.h"
#include "intro/F_welcome.h"
#include "lessons/GraduationWindows.h"
#include "lessons/RhythmLessonWindow.h"
#include "lessons/SentenceLessonWindow.h"
#include "lessons/WordDrillWindow.h"
#include "support/Harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>

#include <cmath>
#include <memory>

using namespace morvela;
using morvela::test::Harness;

namespace {

// A dark theme as desktops ship them: light text on dark grey.
QPalette darkPalette()
{
    QPalette p;
    const QColor text(0xf0, 0xf0, 0xf0), faint(0x80, 0x80, 0x80);
    p.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::PlaceholderText, faint);
    p.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    p.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
    p.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x30));
    p.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0x3c, 0x3c, 0x3c));
    p.setColor(QPalette::ToolTipText, text);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, faint);
    return p;
}

// WCAG's relative luminance and contrast ratio (1 to 21).
double luminance(const QColor& c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour that covers most of `area`: what the text stands on.
QColor commonest(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000u];
    QRgb best = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            best = it.key(), most = it.value();
    return QColor(best);
}

// How far the text of `area` stands out: the contrast of its most distinct
// pixel with the colour behind it.
double inkContrast(const QImage& image, const QRect& area)
{
    const QColor ground = commonest(image, area);
    double best = 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, contrast(QColor(image.pixel(x, y)), ground));
    return best;
}

// What a control shows as text, and where: "" for a control that shows none.
QString shownText(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (const auto* box = qobject_cast<const QLineEdit*>(w))
        return box->text();
    if (const auto* area = qobject_cast<const QPlainTextEdit*>(w))
        return area->toPlainText();
    if (const auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->currentText();
    if (const auto* group = qobject_cast<const QGroupBox*>(w))
        return group->title();
    return {};
}

QRect textArea(const QWidget* w)
{
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        return group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
    }
    return w->rect();
}

// The learner's theme for one test: the style and palette the desktop
// would give every window.
struct Theme {
    explicit Theme(bool dark)
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    }
    ~Theme() { QApplication::setPalette(QApplication::style()->standardPalette()); }
};

// A screen as the learner first sees it, with everything it shows while
// in use shown too: the rhythm lesson's beat lit, the game under way, the
// mistake report filled, a hint page open.
std::unique_ptr<QWidget> openScreen(Harness& h, const QString& screen)
{
    std::unique_ptr<QWidget> w;
    if (screen == QLatin1String("F_mokuji")) {
        auto menu = std::make_unique<F_mokuji>(h.ctx);
        menu->Form_Load();
        w = std::move(menu);
    } else if (screen == QLatin1String("F_Option")) {
        auto options = std::make_unique<F_Option>(h.ctx);
        options->Form_Load();
        w = std::move(options);
    } else if (screen == QLatin1String("F_hint")) {
        auto hint = std::make_unique<F_hint>(h.ctx);
        hint->showHint(5);
        w = std::move(hint);
    } else if (screen == QLatin1String("F_welcome")) {
        auto page = std::make_unique<F_welcome>(h.ctx);
        page->Form_Load();
        w = std::move(page);
    } else if (screen == QLatin1String("F_hantei")) {
        auto page = std::make_unique<F_hantei>(h.ctx);
        page->Form_Load();
        w = std::move(page);
    } else if (screen == QLatin1String("F_Position")) {
        auto page = std::make_unique<F_Position>(h.ctx);
        page->Form_Load();
        w = std::move(page);
    } else if (screen == QLatin1String("F_les1_1")) {
        auto lesson = std::make_unique<RhythmLessonWindow>(h.ctx, 1);
        lesson->Form_Load();
        lesson->Timer1_Timer();
        w = std::move(lesson);
    } else if (screen == QLatin1String("F_les5_1")) {
        auto lesson = std::make_unique<WordDrillWindow>(h.ctx, 5);
        lesson->Form_Load();
        w = std::move(lesson);
    } else if (screen == QLatin1String("F_les7_1") || screen == QLatin1String("F_les8_1")) {
        auto lesson = std::make_unique<SentenceLessonWindow>(h.ctx, screen == QLatin1String("F_les7_1") ? 7 : 8);
        lesson->Form_Load();
        w = std::move(lesson);
    } else if (screen == QLatin1String("F_les9_1")) {
        auto exam = std::make_unique<GraduationExamWindow>(h.ctx);
        exam->Form_Load();
        w = std::move(exam);
    } else if (screen.startsWith(QLatin1String("F_sotu_"))) {
        auto result = std::make_unique<GraduationResultWindow>(h.ctx, screen, QStringLiteral("06分30"),
                                                               QStringLiteral("05分12"));
        result->Form_Load();
        w = std::move(result);
    } else if (screen == QLatin1String("F_kentei")) {
        auto exam = std::make_unique<F_kentei>(h.ctx, ExamText{QStringLiteral("あいう\r\nかきく"), false, {}});
        exam->Form_Load();
        w = std::move(exam);
    } else if (screen == QLatin1String("F_miss")) {
        h.state.MistakeCount = 2;
        h.state.MistakeReport = QStringLiteral("1行目の文字数が違います。\r\n2行目3文字目\r\n");
        auto report = std::make_unique<F_miss>(h.ctx);
        report->Form_Load();
        w = std::move(report);
    }
    return w;
}

} // namespace

class TestThemeColours : public QObject {
    Q_OBJECT
private slots:
    void textStandsOutFromWhatIsBehindIt_data();
    void textStandsOutFromWhatIsBehindIt();
    void gameWordsReadOnTheSky_data();
    void gameWordsReadOnTheSky();
    void chosenSpeedShows_data();
    void chosenSpeedShows();
    void beatIsFaintUntilLit_data();
    void beatIsFaintUntilLit();
};

void TestThemeColours::textStandsOutFromWhatIsBehindIt_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<bool>("dark");
    for (const char* screen : {"F_mokuji", "F_Option", "F_hint", "F_welcome", "F_hantei", "F_Position", "F_les1_1",
                               "F_les5_1", "F_les7_1", "F_les8_1", "F_les9_1", "F_sotu_OK", "F_sotu_NG", "F_kentei",
                               "F_miss"}) {
        for (const bool dark : {false, true})
            QTest::addRow("%s %s", screen, dark ? "dark" : "light") << QString::fromLatin1(screen) << dark;
    }
}

void TestThemeColours::textStandsOutFromWhatIsBehindIt()
{
    QFETCH(QString, screen);
    QFETCH(bool, dark);
    Theme theme(dark);
    Harness h;
    const std::unique_ptr<QWidget> w = openScreen(h, screen);
    QVERIFY(w);
    w->show();
    const QImage shot = w->grab().toImage();
    int looked = 0;
    for (const QWidget* control : w->findChildren<QWidget*>()) {
        const QString text = shownText(control);
        // A disabled control is faint on purpose, as the theme draws it.
        if (!control->isVisibleTo(w.get()) || !control->isEnabled() || text.trimmed().isEmpty())
            continue;
        const QRect local = textArea(control);
        const QRect area = local.translated(control->mapTo(w.get(), QPoint(0, 0))).intersected(shot.rect());
        const double ratio = inkContrast(shot, area);
        if (ratio < 3)
            QFAIL(qPrintable(QStringLiteral("%1 \"%2\": contrast %3")
                                 .arg(control->objectName(), text.left(12))
                                 .arg(ratio, 0, 'f', 2)));
        ++looked;
    }
    QVERIFY(looked > 0);
}

void TestThemeColours::gameWordsReadOnTheSky_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

// The sky has stars, so a word's own colour is weighed against the sky
// around it rather than its brightest pixel.
void TestThemeColours::gameWordsReadOnTheSky()
{
    QFETCH(bool, dark);
    Theme theme(dark);
    Harness h;
    GameRun run(std::make_unique<test::ScriptedRandom>(test::ScriptedRandom::wordsInOrder(10)));
    F_game w(h.ctx, run, test::TenWords());
    w.Form_Load();
    w.show();
    w.Command1_Click();
    const QImage shot = w.grab().toImage();
    int words = 0;
    for (const QLabel* invader : w.findChildren<QLabel*>(QStringLiteral("invader"))) {
        if (!invader->isVisible())
            continue;
        const QRect area = invader->geometry().intersected(shot.rect());
        if (area.isEmpty())
            continue; // still above the field
        const QColor ink = invader->palette().color(QPalette::WindowText);
        QVERIFY2(contrast(ink, commonest(shot, area)) >= 3, qPrintable(invader->text()));
        ++words;
    }
    QVERIFY(words > 1); // the target and at least one other word
}

void TestThemeColours::chosenSpeedShows_data()
{
    gameWordsReadOnTheSky_data();
}

// The chosen speed button's mark differs clearly from the same place of a
// button not chosen.
void TestThemeColours::chosenSpeedShows()
{
    QFETCH(bool, dark);
    Theme theme(dark);
    Harness h;
    F_Option options(h.ctx);
    options.Form_Load();
    options.show();
    auto* chosen = options.findChild<QRadioButton*>(QStringLiteral("Option1"));
    auto* other = options.findChild<QRadioButton*>(QStringLiteral("Option2"));
    QVERIFY(chosen && other);
    chosen->setChecked(true);
    QVERIFY(!other->isChecked());

    QStyleOptionButton option;
    option.initFrom(chosen);
    const QRect mark = chosen->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, chosen);
    const QImage on = chosen->grab(mark).toImage();
    const QImage off = other->grab(mark).toImage();
    QCOMPARE(on.size(), off.size());
    double most = 1;
    for (int y = 0; y < on.height(); ++y)
        for (int x = 0; x < on.width(); ++x)
            most = std::max(most, contrast(QColor(on.pixel(x, y)), QColor(off.pixel(x, y))));
    QVERIFY2(most >= 3, qPrintable(QString::number(most)));
}

void TestThemeColours::beatIsFaintUntilLit_data()
{
    gameWordsReadOnTheSky_data();
}

// The rhythm lesson's beat lamp: lit it stands out, unlit it stands out
// less, so a dark theme does not show it lit between the beats.
void TestThemeColours::beatIsFaintUntilLit()
{
    QFETCH(bool, dark);
    Theme theme(dark);
    Harness h;
    RhythmLessonWindow w(h.ctx, 1);
    w.Form_Load();
    w.show();
    auto* beat = w.findChild<QLabel*>(QStringLiteral("Beat"));
    QVERIFY(beat);
    const QImage unlit = beat->grab().toImage();
    w.Timer1_Timer();
    const QImage lit = beat->grab().toImage();
    const double litContrast = inkContrast(lit, lit.rect());
    const double unlitContrast = inkContrast(unlit, unlit.rect());
    QVERIFY2(litContrast >= 3, qPrintable(QString::number(litContrast)));
    QVERIFY2(unlitContrast < litContrast,
             qPrintable(QStringLiteral("%1 unlit, %2 lit").arg(unlitContrast).arg(litContrast)));
}

QTEST_MAIN(TestThemeColours)
#include "tst_themecolours.moc"
