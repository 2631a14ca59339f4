#include "ui/TypingLines.h"

#include "ui/TypingColumn.h"

#include <QLabel>
#include <QVBoxLayout>

namespace morvela {

TypingLines::TypingLines(const QList<Names>& names, const QFont& font, int width, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (int i = 0; i < names.size(); ++i) {
        const TypingColumn column = MakeTypingColumn({names[i].label}, names[i].box, font, width, this);
        layout->addLayout(column.layout);
        m_labels << column.labels.first();
        m_boxes << column.box;
        column.box->setJudge([this, i](char32_t typed) { return keyPress(i, typed); });
    }
    showTurn(0);
}

void TypingLines::setTexts(const QStringList& texts)
{
    for (int i = 0; i < count(); ++i) {
        m_labels[i]->setText(texts.value(i));
        // A screen reader names each box by the line typed into it.
        m_boxes[i]->setAccessibleName(texts.value(i));
    }
}

void TypingLines::setInputMethodWanted(bool wanted)
{
    for (TypingBox* box : m_boxes)
        box->setInputMethodWanted(wanted);
}

TypingBox::Verdict TypingLines::keyPress(int line, char32_t typed)
{
    const Verdict v = m_judge ? m_judge(line, typed) : Verdict{};
    if (v.turn != m_turn && v.turn >= 0 && v.turn < count()) {
        // The rest of this key or commit goes to the next line's box.
        m_boxes[line]->handRestTo(m_boxes[v.turn]);
        showTurn(v.turn);
    }
    return v.accepted ? TypingBox::Verdict::Accept : TypingBox::Verdict::Refuse;
}

void TypingLines::showTurn(int line)
{
    m_turn = line;
    for (int i = 0; i < count(); ++i) {
        TypingBox* box = m_boxes[i];
        box->setEnabled(i <= line || !box->text().isEmpty());
        box->setFocusPolicy(i == line ? Qt::StrongFocus : Qt::NoFocus);
    }
    m_boxes[line]->setFocus();
}

void TypingLines::clear()
{
    for (TypingBox* box : m_boxes)
        box->clear();
    showTurn(0);
}

} // namespace morvela
