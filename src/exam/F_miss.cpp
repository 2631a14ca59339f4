#include "exam/F_miss.h"

#include "ui/AppContext.h"
#include "exam/ExamSession.h"
#include "ui/NamedControls.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

F_miss::F_miss(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("F_miss"));
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize); // like every window of the course
    m_text1 = new QPlainTextEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setAccessibleName(QStringLiteral("間違い箇所の一覧"));
    m_text1->setAccessibleDescription(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFontMetrics m = m_text1->fontMetrics();
    // Room for "100行20文字目の『漢』が違います。" and about a dozen lines.
    m_text1->setMinimumSize(m.horizontalAdvance(QStringLiteral("1000行40文字目の『漢』が違います。")) + 48,
                            m.lineSpacing() * 12 + 12);
    outer->addWidget(m_text1);

    auto* buttons = new QHBoxLayout;
    auto* command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("閉じる"), this);
    connect(command1, &QPushButton::clicked, this, &F_miss::Command1_Click);
    buttons->addStretch(1);
    buttons->addWidget(command1);
    outer->addLayout(buttons);
}

void F_miss::Form_Load()
{
    setWindowTitle(QStringLiteral("間違い箇所"));
    // Over the exam window, at its top-left corner; the size stays.
    if (QWidget* exam = parentWidget() ? parentWidget()->window() : nullptr)
        move(exam->pos());
    m_text1->setPlainText(MistakeListText(m_ctx.state.MistakeCount, m_ctx.state.MistakeReport));
    findChild<QPushButton*>(QStringLiteral("Command1"))->setFocus();
}

void F_miss::Command1_Click()
{
    accept();
}

} // namespace morvela
