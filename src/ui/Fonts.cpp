#include "ui/Fonts.h"

#include <QApplication>
#include <QFontMetricsF>

namespace morvela {

void ApplyJapaneseFont(QApplication& app)
{
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                      font.family()});
    app.setFont(font);
}

QFont DrillFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAGothic"),
                      QStringLiteral("VL Gothic"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    font.setKerning(false);
    return font;
}

bool FullWidthIsTwoHalfWidths(const QFont& font)
{
    const QFontMetricsF m(font);
    const qreal half = m.horizontalAdvance(QLatin1Char('a'));
    const qreal full = m.horizontalAdvance(QStringLiteral("砂"));
    const qreal space = m.horizontalAdvance(QChar(0x3000));
    return half > 0 && qAbs(full - 2 * half) < 0.01 && qAbs(space - 2 * half) < 0.01
        && qAbs(m.horizontalAdvance(QLatin1Char(';')) - half) < 0.01;
}

} // namespace morvela
