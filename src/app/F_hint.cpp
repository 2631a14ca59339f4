#include "app/F_hint.h"

#include "app/Hints.h"
#include "app/WebLinks.h"
#include "ui/AppContext.h"
#include "ui/Fonts.h"
#include "ui/NamedControls.h"
#include "ui/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace morvela {

F_hint::F_hint(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("F_hint"));
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setContentsMargins(18, 16, 18, 14);
    outer->setSpacing(2);
    // The examples line up in columns set by full-width spaces, so every
    // character takes its full or half cell.
    const QFont font = AlignedDrillFont(this, 11);
    for (int i = 0; i < 12; ++i) {
        m_labels[size_t(i)] = NamedLabel(QStringLiteral("Label%1").arg(i + 1), QString(), this);
        m_labels[size_t(i)]->setFont(font);
        m_labels[size_t(i)]->setMinimumHeight(m_labels[size_t(i)]->fontMetrics().lineSpacing());
        outer->addWidget(m_labels[size_t(i)]);
    }
    auto* command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("閉じる"), this);
    m_command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("サイトを開く"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_command2);
    buttons->addStretch(1);
    buttons->addWidget(command1);
    outer->addSpacing(10);
    outer->addLayout(buttons);
    connect(command1, &QPushButton::clicked, this, &F_hint::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &F_hint::Command2_Click);
}

void F_hint::showHint(int hint)
{
    const HintPage& page = HintPages()[size_t(qBound(1, hint, 10) - 1)];
    setWindowTitle(page.title);
    for (size_t i = 0; i < m_labels.size(); ++i)
        m_labels[i]->setText(page.lines[i]);
    m_command2->setVisible(hint == ToolHint);
    findChild<QPushButton*>(QStringLiteral("Command1"))->setFocus();
    // The page's lines set the window's size, so it is centred once they
    // are in, each time it opens, as a window made afresh would be.
    layout()->activate();
    CentreOnScreen(this);
}

void F_hint::Command1_Click()
{
    accept();
}

void F_hint::Command2_Click()
{
    if (m_ctx.links.open(QUrl(ToolDownloadAddress)))
        return;
    m_ctx.messages.beep();
    m_ctx.showMessage(this, NoInternetMessage, MessageIcon::None, NoInternetTitle);
}

} // namespace morvela
