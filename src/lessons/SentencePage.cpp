#include "lessons/SentencePage.h"

#include "core/AppState.h"
#include "lessons/SentenceScripts.h"
#include "ui/Fonts.h"
#include "ui/LiveStrip.h"
#include "ui/NamedControls.h"
#include "ui/TypingColumn.h"
#include "ui/WindowPlacement.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

namespace {

// Half-width columns of the longest line (35 full-width characters), with
// room for the caret.
constexpr int LineColumns = 72;

// Lesson 7's panel is light green whatever the learner's theme, so the lines
// written on it are dark whatever the theme too: a dark theme's white text
// would vanish into it.
const QColor PanelColour(0xdc, 0xeb, 0xd2);
const QColor PanelInk(Qt::black);

} // namespace

SentencePage BuildSentencePage(QDialog& window, const SentenceScript& script, const QString& instruction,
                               bool panel, LiveStrip* strip)
{
    SentencePage page;
    const QFont font = AlignedDrillFont(&window);
    const int width = TypingColumnWidth(font, LineColumns);

    auto* outer = new QVBoxLayout(&window);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setContentsMargins(16, 14, 16, 14);

    page.label1 = NamedLabel(QStringLiteral("Label1"), instruction, &window);
    page.label1->setWordWrap(true);
    page.label1->setFixedWidth(width);
    outer->addWidget(page.label1);
    outer->addSpacing(8);

    QList<TypingLines::Names> names;
    for (int line = 0; line < script.lines.size(); ++line)
        names.append({script.labelName(line), script.boxName(line)});
    page.lines = new TypingLines(names, font, width, &window);
    page.lines->setInputMethodWanted(true); // kana and kanji come from the input method
    if (panel) {
        // The panel and the lines share one cell; the panel lies behind
        // them and takes the cell's size.
        QLabel* label9 = NamedLabel(QStringLiteral("Label9"), QString(), &window);
        label9->setStyleSheet(QStringLiteral("QLabel#Label9 { background-color: %1; border-radius: 4px; }")
                                  .arg(PanelColour.name()));
        for (int line = 0; line < page.lines->count(); ++line) {
            QLabel* onPanel = page.lines->label(line);
            QPalette ink = onPanel->palette();
            ink.setColor(QPalette::WindowText, PanelInk);
            onPanel->setPalette(ink);
        }
        page.lines->setContentsMargins(10, 8, 10, 8);
        auto* cell = new QGridLayout;
        cell->addWidget(label9, 0, 0);
        cell->addWidget(page.lines, 0, 0);
        outer->addLayout(cell);
        label9->lower();
    } else {
        outer->addWidget(page.lines);
    }

    page.command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("もう一度"), &window);
    page.command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("目次へ"), &window);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(page.command3);
    PlaceLiveStrip(*buttons, strip);
    buttons->addWidget(page.command1);
    outer->addSpacing(8);
    outer->addLayout(buttons);
    return page;
}

void LoadSentencePage(QDialog& window, const SentencePage& page, const SentenceScript& script,
                      const QString& titleTag)
{
    window.setWindowTitle(CourseTitle(titleTag));
    page.lines->setTexts(script.lines);
    window.adjustSize();
    CentreOnScreen(&window);
}

} // namespace morvela
