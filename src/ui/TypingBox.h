#pragma once

#include "core/ScreenEffects.h"

#include <QLineEdit>

#include <functional>

namespace morvela {

// The one box every judged typing screen uses. Each character about to
// enter, from a key or from an input-method commit, is offered to the judge
// in order; only accepted characters are appended. Nothing else changes the
// text: no paste, cut, undo, Delete, caret move, selection, drop or context
// menu. So the box only ever holds correct text.
class TypingBox : public QLineEdit {
    Q_OBJECT
public:
    // The screen's judgement of one character; only `accepted` concerns
    // the box.
    using Judge = std::function<KeyOutcome(char32_t)>;

    explicit TypingBox(QWidget* parent = nullptr);

    void setJudge(Judge judge) { m_judge = std::move(judge); }

    // Whether the Japanese input method works in this box.
    void setInputMethodWanted(bool wanted);
    bool inputMethodWanted() const { return m_imeWanted; }

    // Called by a judge: the characters still to come of the current key or
    // commit go to `next`, as if typed there (a commit that runs past the end
    // of a line carries on into the next line's box).
    void handRestTo(TypingBox* next) { m_handOver = next; }

    // Offers each character of `text` to the judge, as typing would.
    void offer(const QString& text);

    // A flat border of the box's own instead of the style's frame, whole at
    // every scale of the screen; the text keeps clear of it.
    void setOwnBorder(bool on);
    bool ownBorder() const { return m_ownBorder; }
    static constexpr int OwnBorderWidth = 1;

    // The composition the input method is showing, not yet committed.
    QString preedit() const { return m_preedit; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void offerCodePoints(const QList<char32_t>& codePoints, qsizetype from);

    Judge m_judge;
    TypingBox* m_handOver = nullptr;
    QString m_preedit;
    bool m_imeWanted = true;
    bool m_ownBorder = false;
    QString m_lastCommit;
    QString m_lastOffered; // the last commit judged here, until a key is pressed
    bool m_focusLeftAfterOffer = false; // the focus left since that commit
    bool m_compositionJustCommitted = false;
    bool m_sawImeEventSinceFocus = false;
    bool m_judgingCommit = false; // an input-method commit is being judged
};

} // namespace morvela
