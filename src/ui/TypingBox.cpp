#include "ui/TypingBox.h"

#include "ui/ForeignText.h"
#include "ui/WholeBorder.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

namespace morvela {

namespace {

// With ibus, moving the focus while a composition is open commits it to the
// box that lost the focus and once more to the box that gained it. The box
// that loses the focus notes the composition on its window, so the box of
// that window that gains the focus (the next line, or the same box once a
// message box has closed) can drop the copy.
class CompositionLeftBehind final : public QObject {
public:
    explicit CompositionLeftBehind(QWidget* window) : QObject(window) { setObjectName(Name); }
    static inline const QString Name = QStringLiteral("CompositionLeftBehind");
    QString text;
};

QString& compositionLeftBehind(QWidget* box)
{
    QWidget* window = box->window();
    auto* note = dynamic_cast<CompositionLeftBehind*>(
        window->findChild<QObject*>(CompositionLeftBehind::Name, Qt::FindDirectChildrenOnly));
    if (!note)
        note = new CompositionLeftBehind(window);
    return note->text;
}

bool isEditingShortcut(const QKeyEvent* e)
{
    return e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

TypingBox::TypingBox(QWidget* parent) : QLineEdit(parent)
{
    RefuseDropsAndContextMenu(this);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

void TypingBox::setInputMethodWanted(bool wanted)
{
    m_imeWanted = wanted;
    setAttribute(Qt::WA_InputMethodEnabled, wanted);
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

void TypingBox::setOwnBorder(bool on)
{
    m_ownBorder = on;
    setFrame(!on);
    const int margin = on ? OwnBorderWidth : 0;
    setTextMargins(margin, margin, margin, margin);
    update();
}

void TypingBox::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    if (m_ownBorder) {
        QPainter p(this);
        PaintWholeBorder(p, size(), palette().color(QPalette::Mid));
    }
}

void TypingBox::offer(const QString& text)
{
    QList<char32_t> codePoints;
    for (const char32_t c : text.toUcs4())
        codePoints << c;
    offerCodePoints(codePoints, 0);
}

void TypingBox::offerCodePoints(const QList<char32_t>& codePoints, qsizetype from)
{
    for (qsizetype i = from; i < codePoints.size(); ++i) {
        m_handOver = nullptr;
        if (m_judge && m_judge(codePoints[i]).accepted) {
            deselect();
            end(false);
            insert(QString::fromUcs4(&codePoints[i], 1));
        }
        if (TypingBox* next = std::exchange(m_handOver, nullptr); next && next != this) {
            next->offerCodePoints(codePoints, i + 1);
            return;
        }
    }
}

bool TypingBox::event(QEvent* e)
{
    // Keep editing shortcuts (paste, undo, select all...) from reaching the
    // window as shortcuts; keyPressEvent refuses them.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (isEditingShortcut(key) || !key->text().isEmpty()) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TypingBox::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    m_compositionJustCommitted = false;
    m_lastOffered.clear();
    if (hasFocus())
        compositionLeftBehind(this).clear();
    if (isEditingShortcut(e) || IsPasteKey(e))
        return;
    switch (e->key()) {
    case Qt::Key_Delete: // deletes nothing; it is no character to type
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return;
    default:
        break;
    }
    // Backspace arrives as U+0008 and Enter as U+000D: judged like any key.
    if (!e->text().isEmpty())
        offer(e->text());
}

void TypingBox::inputMethodEvent(QInputMethodEvent* e)
{
    // A judgement that moves the focus (the end of a line or of a test)
    // makes Qt ask the input method to commit what it holds; ibus still
    // holds the commit being judged and delivers it here again at once.
    // Judged a second time it would meet a cursor already moved on: the
    // end of the speed test would take its first character once more.
    if (m_judgingCommit) {
        e->accept();
        return;
    }
    const QString commit = e->commitString();
    if (commit.isEmpty() && e->preeditString().isEmpty() && m_preedit.isEmpty()) {
        e->accept(); // the empty events after commits and focus changes
        return;
    }

    bool duplicateFromFocusMove = false;
    if (hasFocus()) {
        duplicateFromFocusMove = !m_sawImeEventSinceFocus && !commit.isEmpty()
            && commit == compositionLeftBehind(this) && e->preeditString().isEmpty();
        m_sawImeEventSinceFocus = true;
        compositionLeftBehind(this).clear();
    } else if (!commit.isEmpty()) {
        // ibus sends the commit that moved the focus away (the end of a line)
        // to this box once more: with no composition left here, it is a copy.
        if (m_focusLeftAfterOffer && m_preedit.isEmpty() && commit == m_lastOffered) {
            m_lastOffered.clear(); // one copy only
            e->accept();
            return;
        }
        compositionLeftBehind(this) = commit; // committed here after the focus left
    }
    m_compositionJustCommitted = !commit.isEmpty() && !m_preedit.isEmpty() && e->preeditString().isEmpty();
    if (m_compositionJustCommitted)
        m_lastCommit = commit;

    // Let the line edit draw the composition, but never let the event edit
    // the text: commits are judged, replacements and selections ignored.
    QList<QInputMethodEvent::Attribute> shown;
    for (const auto& a : e->attributes()) {
        if (a.type == QInputMethodEvent::TextFormat || a.type == QInputMethodEvent::Cursor)
            shown << a;
    }
    m_preedit = e->preeditString();
    QInputMethodEvent preeditOnly(m_preedit, shown);
    QLineEdit::inputMethodEvent(&preeditOnly);
    e->accept();

    if (!commit.isEmpty() && !duplicateFromFocusMove) {
        m_lastOffered = commit;
        const QScopedValueRollback judging(m_judgingCommit, true);
        offer(commit);
    }
}

QVariant TypingBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // WA_InputMethodEnabled alone does not keep the input method out of a
    // line edit; it must also hear "not enabled" here.
    if (query == Qt::ImEnabled)
        return m_imeWanted && isEnabled();
    if (query == Qt::ImHints)
        return QVariant(int(QLineEdit::inputMethodQuery(query).toInt() | Qt::ImhNoPredictiveText));
    return QLineEdit::inputMethodQuery(query);
}

void TypingBox::focusInEvent(QFocusEvent* e)
{
    m_focusLeftAfterOffer = false;
    m_sawImeEventSinceFocus = false;
    QLineEdit::focusInEvent(e);
    deselect();
    end(false);
}

void TypingBox::focusOutEvent(QFocusEvent* e)
{
    m_focusLeftAfterOffer = !m_lastOffered.isEmpty();
    // The input method may already have committed the open composition
    // to this box as the focus began to move.
    if (!m_preedit.isEmpty())
        compositionLeftBehind(this) = m_preedit;
    else if (m_compositionJustCommitted)
        compositionLeftBehind(this) = m_lastCommit;
    QLineEdit::focusOutEvent(e);
}

// A click only gives the focus: the caret stays at the end, nothing is
// selected, and the middle button pastes nothing.
void TypingBox::mousePressEvent(QMouseEvent* e)
{
    e->accept();
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
}

void TypingBox::mouseMoveEvent(QMouseEvent* e) { e->accept(); }
void TypingBox::mouseReleaseEvent(QMouseEvent* e) { e->accept(); }
void TypingBox::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

} // namespace morvela
