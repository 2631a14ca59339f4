#include "core/MissedKeys.h"

#include <QStringList>

namespace morvela {

namespace {

// "１２" for 12, as the course writes numbers in its messages.
QString wideNumber(int n)
{
    QString digits = QString::number(n);
    for (QChar& c : digits)
        c = QChar(c.unicode() - u'0' + 0xFF10);
    return digits;
}

} // namespace

QString KeyCaption(char32_t c)
{
    switch (c) {
    case U' ': return QStringLiteral("スペース");
    case U'\u3000': return QStringLiteral("全角スペース");
    case U'\r': return QStringLiteral("Enter");
    case U'\t': return QStringLiteral("Tab");
    case U'\b': return QStringLiteral("BS");
    default: return QString::fromUcs4(&c, 1);
    }
}

QString MostMissedLine(const QList<MissTally>& most)
{
    QStringList keys;
    for (const MissTally& t : most) {
        if (t.count > 0)
            keys << QStringLiteral("［%1］%2回").arg(KeyCaption(t.expected), wideNumber(t.count));
    }
    if (keys.isEmpty())
        return {};
    return QStringLiteral("よく間違えたキー：") + keys.join(QStringLiteral("、"));
}

} // namespace morvela
