#include "intro/Lesson0PageLayout.h"

#include "ui/AppContext.h"
#include "ui/ApplyEffects.h"
#include "ui/Fonts.h"
#include "ui/LiveStrip.h"
#include "ui/NamedControls.h"
#include "ui/WindowPlacement.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

QLabel* Lesson0Label(const QString& name, const QString& text, QWidget* parent, int wrapWidth)
{
    QLabel* l = NamedLabel(name, text, parent);
    if (wrapWidth > 0) {
        l->setWordWrap(true);
        l->setFixedWidth(wrapWidth);
    }
    return l;
}

QFont Bold(QFont font)
{
    font.setBold(true);
    return font;
}

QVBoxLayout* Lesson0PageLayout(QDialog* page)
{
    auto* outer = new QVBoxLayout(page);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setContentsMargins(16, 14, 16, 14);
    return outer;
}

void AddLesson0PageButtons(QBoxLayout* into, QPushButton* previous, QPushButton* next, QPushButton* menu,
                           LiveStrip* strip)
{
    auto* row = new QHBoxLayout;
    if (previous)
        row->addWidget(previous);
    row->addWidget(next);
    if (strip)
        PlaceLiveStrip(*row, strip);
    else
        row->addStretch(1);
    row->addWidget(menu);
    into->addSpacing(6);
    into->addLayout(row);
}

void LoadLesson0Page(QDialog* page)
{
    page->setWindowTitle(CourseTitle(QStringLiteral(" ● Lesson0 ●")));
    page->adjustSize();
    CentreOnScreen(page);
}

void CloseLesson0Page(AppContext& ctx, QDialog& window, Lesson0Page page, Lesson0Turn turn)
{
    const Lesson0Leave leave = LeaveLesson0Page(ctx.state.progress, page, turn);
    ApplyEffects(ctx, window, 0, leave.effects);
    window.done(int(leave.next));
}

} // namespace morvela
