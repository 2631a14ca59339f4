#include "ui/TypingColumn.h"

#include "ui/NamedControls.h"
#include "ui/TypingBox.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace morvela {

namespace {

// QLineEdit keeps its text this many pixels inside its contents rectangle.
constexpr int LineEditTextMargin = 2;

// The box sits in a frame of its own with no frame or margin of its own, so
// its text starts at a known distance from the column's left edge.
void styleFrame(QFrame* frame)
{
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    frame->setLineWidth(1);
}

QFrame* framedBox(TypingBox* box, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    styleFrame(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    box->setParent(frame);
    box->setFrame(false);
    box->setTextMargins(0, 0, 0, 0);
    layout->addWidget(box);
    return frame;
}

} // namespace

TypingColumn MakeTypingColumn(const QStringList& labelNames, const QString& boxName, const QFont& font, int width,
                              QWidget* parent)
{
    TypingColumn column;
    column.box = new TypingBox;
    column.box->setObjectName(boxName);
    column.box->setFont(font);
    QFrame* frame = framedBox(column.box, parent);
    frame->setFixedWidth(width);

    column.layout = new QVBoxLayout;
    column.layout->setSpacing(2);
    const int textX = frame->frameWidth() + LineEditTextMargin;
    for (const QString& name : labelNames) {
        QLabel* label = NamedLabel(name, QString(), parent);
        label->setFont(font);
        label->setFixedWidth(width);
        label->setContentsMargins(textX, 0, 0, 0);
        label->setIndent(0);
        label->setMargin(0);
        column.labels << label;
        column.layout->addWidget(label);
    }
    column.layout->addWidget(frame);
    return column;
}

int TypingColumnWidth(const QFont& font, int halfWidthColumns)
{
    // Frame and text margin on both sides, and room for the caret.
    QFrame probe;
    styleFrame(&probe);
    return 2 * probe.frameWidth() + 2 * LineEditTextMargin + 2
        + QFontMetrics(font).horizontalAdvance(QString(halfWidthColumns, QLatin1Char('m')));
}

} // namespace morvela
