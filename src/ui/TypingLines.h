#pragma once

#include "ui/TypingBox.h"

#include <QWidget>

#include <functional>

class QFont;
class QLabel;

namespace morvela {

// Screens of several lines to type in turn (the speed test, the sentence
// lessons, the graduation exam): N × (line label over its typing box) in the
// aligned font. The widget holds the focus in the box whose turn it is, so
// a click elsewhere changes nothing; when a line is complete the turn moves
// on and the rest of an input-method commit carries on into the next box,
// as if typed there after the focus moved.
class TypingLines : public QWidget {
    Q_OBJECT
public:
    struct Names {
        QString label; // "L1", "Label5"
        QString box;   // "T1", "Text1"
    };
    // The screen's judgement of a character typed into `line`: whether it
    // goes in, and (KeyOutcome::line) the line whose turn it is now.
    using Judge = std::function<KeyOutcome(int line, char32_t typed)>;

    // `width` is the width of each line's column in pixels.
    TypingLines(const QList<Names>& names, const QFont& font, int width, QWidget* parent = nullptr);

    void setJudge(Judge judge) { m_judge = std::move(judge); }
    void setTexts(const QStringList& texts);
    void setInputMethodWanted(bool wanted);

    int count() const { return int(m_boxes.size()); }
    TypingBox* box(int line) const { return m_boxes[line]; }
    QLabel* label(int line) const { return m_labels[line]; }
    int turn() const { return m_turn; }

    // The turn goes to `line`: only its box takes the focus (and gets it);
    // boxes after it that hold nothing wait disabled, typed boxes stay in
    // plain sight.
    void showTurn(int line);
    // Every box emptied, the turn back at the first line. However a box is
    // emptied (here, or by name through a screen's effects), the lines keep
    // their turn: it goes back to the first line emptied, and emptied boxes
    // after it wait disabled again.
    void clear();

private:
    KeyOutcome keyPress(int line, char32_t typed);
    void lineEmptied(int line);

    QList<TypingBox*> m_boxes;
    QList<QLabel*> m_labels;
    Judge m_judge;
    int m_turn = 0;
};

} // namespace morvela
