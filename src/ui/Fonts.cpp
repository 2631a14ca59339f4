#include "ui/Fonts.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintDevice>

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

bool FullWidthIsTwoHalfWidths(const QFont& font, const QPaintDevice* drawnOn)
{
    const QFontMetricsF m = drawnOn ? QFontMetricsF(font, drawnOn) : QFontMetricsF(font);
    const qreal half = m.horizontalAdvance(QLatin1Char('a'));
    const qreal full = m.horizontalAdvance(QStringLiteral("砂"));
    const qreal space = m.horizontalAdvance(QChar(0x3000));
    // A whole number of pixels, too: at a fractional advance a label and a
    // line edit place the same glyphs a pixel apart.
    return half > 0 && qAbs(half - qRound(half)) < 0.01 && qAbs(full - 2 * half) < 0.01
        && qAbs(space - 2 * half) < 0.01
        && qAbs(m.horizontalAdvance(QLatin1Char(';')) - half) < 0.01;
}

QFont AlignedDrillFont(const QPaintDevice* drawnOn, qreal pointSize)
{
    QFont font = DrillFont(pointSize);
    const int pixels = drawnOn ? qRound(pointSize * drawnOn->logicalDpiY() / 72.0) : QFontInfo(font).pixelSize();
    font.setPixelSize(pixels);
    // Some sizes round a full-width advance off two half-widths; then the
    // captions drift off their romaji. Try the sizes around it.
    for (int delta : {0, 1, -1, 2, -2, 3, -3, 4, -4}) {
        QFont sized = font;
        sized.setPixelSize(pixels + delta);
        if (FullWidthIsTwoHalfWidths(sized, drawnOn))
            return sized;
    }
    return font;
}

} // namespace morvela
