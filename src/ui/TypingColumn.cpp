#include "ui/TypingColumn.h"

#include "ui/NamedControls.h"
#include "ui/TypingBox.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

namespace morvela {

namespace {

// QLineEdit keeps its text this many pixels inside its contents rectangle.
constexpr int LineEditTextMargin = 2;

// The box draws its own border and keeps its text clear of it, so its text
// starts at a known distance from the column's left edge.
constexpr int TextX = TypingBox::OwnBorderWidth + LineEditTextMargin;

} // namespace

TypingColumn MakeTypingColumn(const QStringList& labelNames, const QString& boxName, const QFont& font, int width,
                              QWidget* parent)
{
    TypingColumn column;
    column.box = new TypingBox;
    column.box->setObjectName(boxName);
    column.box->setFont(font);
    column.box->setParent(parent);
    column.box->setOwnBorder(true);
    column.box->setFixedWidth(width);

    column.layout = new QVBoxLayout;
    column.layout->setSpacing(2);
    for (const QString& name : labelNames) {
        QLabel* label = NamedLabel(name, QString(), parent);
        label->setFont(font);
        label->setFixedWidth(width);
        label->setContentsMargins(TextX, 0, 0, 0);
        label->setIndent(0);
        label->setMargin(0);
        column.labels << label;
        column.layout->addWidget(label);
    }
    column.layout->addWidget(column.box);
    return column;
}

int TypingColumnWidth(const QFont& font, int halfWidthColumns)
{
    // Border and text margin on both sides, and room for the caret.
    return 2 * TextX + 2
        + QFontMetrics(font).horizontalAdvance(QString(halfWidthColumns, QLatin1Char('m')));
}

} // namespace morvela
