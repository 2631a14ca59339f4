#include "ui/NamedControls.h"

#include <QLabel>
#include <QPushButton>

namespace morvela {

QLabel* NamedLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    // Its text is what a screen reader reads; its name finds it however the
    // text changes.
    l->setAccessibleDescription(name);
    return l;
}

QLabel* MissedKeysLabel(QWidget* parent)
{
    QLabel* l = NamedLabel(QStringLiteral("MissedKeys"), QString(), parent);
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return l;
}

QPushButton* NamedButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter presses the focused button, as on every desktop: after a pass
    // the focus is on "次ページ>>" so the learner goes on without the mouse.
    // Enter in a typing box stays a key to judge: the box takes it itself.
    b->setAutoDefault(true);
    return b;
}

} // namespace morvela
