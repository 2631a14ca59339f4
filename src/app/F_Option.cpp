#include "app/F_Option.h"

#include "ui/AppContext.h"
#include "ui/ApplyEffects.h"
#include "ui/NamedControls.h"
#include "ui/WindowPlacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace morvela {

namespace {

template <class Box>
Box* named(const QString& name, const QString& caption, QWidget* parent)
{
    auto* box = new Box(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

F_Option::F_Option(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("F_Option"));
    buildControls();
}

void F_Option::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setContentsMargins(16, 14, 16, 14);

    auto* frame1 = new QGroupBox(QStringLiteral("リズムのスピード"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* speeds = new QHBoxLayout(frame1);
    // The speed buttons exclude one another but may all be clear: a code
    // outside the table selects none.
    auto* group = new QButtonGroup(this);
    const char* captions[] = {nullptr, "普通", "速い", "すごく速い"};
    for (int i = 1; i <= 3; ++i) {
        m_option[i] = named<QRadioButton>(QStringLiteral("Option%1").arg(i), QString::fromUtf8(captions[i]), frame1);
        group->addButton(m_option[i]);
        speeds->addWidget(m_option[i]);
    }
    outer->addWidget(frame1);

    m_check2 = named<QCheckBox>(QStringLiteral("Check2"), QStringLiteral("全角ｽﾍﾟｰｽを使わない"), this);
    m_check1 = named<QCheckBox>(QStringLiteral("Check1"), QStringLiteral("練習記録をクリヤする"), this);
    outer->addWidget(m_check2);
    outer->addWidget(m_check1);

    auto* command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("OK"), this);
    auto* command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command1);
    buttons->addWidget(command2);
    outer->addSpacing(6);
    outer->addLayout(buttons);
    connect(command1, &QPushButton::clicked, this, &F_Option::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &F_Option::Command2_Click);

    // Cancel first, so that Enter on opening changes nothing.
    setTabOrder(command2, m_option[1]);
    setTabOrder(m_option[1], m_option[2]);
    setTabOrder(m_option[2], m_option[3]);
    setTabOrder(m_option[3], m_check1);
    setTabOrder(m_check1, command1);
    setTabOrder(command1, m_check2);
    command2->setFocus();
}

void F_Option::Form_Load()
{
    setWindowTitle(ProgramTitle);
    const OptionChoice choice = OptionChoiceFor(m_ctx.state.progress.optionCodeValue());
    m_check1->setChecked(choice.clearRecords);
    m_check2->setChecked(choice.halfWidthSpaces);
    for (int i = 1; i <= 3; ++i)
        m_option[i]->setChecked(choice.speed == i);
    adjustSize();
    CentreOnScreen(this);
}

OptionChoice F_Option::choice() const
{
    OptionChoice choice;
    for (int i = 1; i <= 3; ++i) {
        if (m_option[i]->isChecked())
            choice.speed = i;
    }
    choice.halfWidthSpaces = m_check2->isChecked();
    choice.clearRecords = m_check1->isChecked();
    return choice;
}

void F_Option::Command1_Click()
{
    ApplyEffects(m_ctx, *this, 0, ConfirmOptions(m_ctx.state, choice()));
}

void F_Option::Command2_Click()
{
    reject(); // nothing in memory or on disk changes
}

} // namespace morvela
