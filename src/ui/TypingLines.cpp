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
        connect(column.box, &QLineEdit::textChanged, this, [this, i](const QString& text) {
            if (text.isEmpty())
                lineEmptied(i);
        });
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

KeyOutcome TypingLines::keyPress(int line, char32_t typed)
{
    KeyOutcome k = m_judge ? m_judge(line, typed) : KeyOutcome{false, m_turn, {}};
    if (k.line != m_turn && k.line >= 0 && k.line < count()) {
        // The rest of this key or commit goes to the next line's box.
        m_boxes[line]->handRestTo(m_boxes[k.line]);
        showTurn(k.line);
    }
    return k;
}

void TypingLines::lineEmptied(int line)
{
    showTurn(qMin(m_turn, line));
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
    showTurn(0); // boxes that were empty already say nothing
}

} // namespace morvela
