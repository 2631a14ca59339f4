#include "core/KeyLayout.h"

#include <vector>

namespace morvela {

QString FingerName(Finger finger)
{
    switch (finger) {
    case Finger::LeftLittle: return QStringLiteral("左小指");
    case Finger::LeftRing: return QStringLiteral("左薬指");
    case Finger::LeftMiddle: return QStringLiteral("左中指");
    case Finger::LeftIndex: return QStringLiteral("左人差し指");
    case Finger::RightIndex: return QStringLiteral("右人差し指");
    case Finger::RightMiddle: return QStringLiteral("右中指");
    case Finger::RightRing: return QStringLiteral("右薬指");
    case Finger::RightLittle: return QStringLiteral("右小指");
    case Finger::Thumb: return QStringLiteral("親指");
    }
    return {};
}

unsigned FingerColour(Finger finger)
{
    // Soft hues spread round the colour wheel (HSL lightness 0.82, saturation
    // 0.75), so that neighbouring fingers never look alike; the thumbs get a
    // cool grey, apart from the warm frame.
    switch (finger) {
    case Finger::LeftLittle: return 0xF4AFC0;  // hue 345
    case Finger::LeftRing: return 0xF4CFAF;    // hue 28
    case Finger::LeftMiddle: return 0xF4EAAF;  // hue 52
    case Finger::LeftIndex: return 0xC6F4AF;   // hue 100
    case Finger::RightIndex: return 0xAFF4E8;  // hue 170
    case Finger::RightMiddle: return 0xAFCFF4; // hue 212
    case Finger::RightRing: return 0xC8AFF4;   // hue 262
    case Finger::RightLittle: return 0xF4AFEE; // hue 305
    case Finger::Thumb: return 0xD2D7DE;
    }
    return 0xFFFFFF;
}

bool IsLeftHand(Finger finger)
{
    return finger <= Finger::LeftIndex;
}

namespace JisKeyboard {

namespace {

// Key pitch and row height in pixels, the gap between two keys, and the
// top left corner of the first key's cell.
constexpr double Unit = 46.0, RowHeight = 41.0, Gap = 3.0;
constexpr double OriginX = 15.0, OriginY = 8.0;

QRectF cell(double x, int row, double units)
{
    return QRectF(OriginX + x * Unit + Gap / 2, OriginY + row * RowHeight + Gap / 2, units * Unit - Gap,
                  RowHeight - Gap);
}

struct Entry {
    const char* legend;
    const char* shiftLegend;
    char32_t plain;
    char32_t shifted;
    double units;
    Finger finger;
    bool home = false;
    bool bump = false;
};

using F = Finger;

Entry letter(char l, F f, bool home = false, bool bump = false)
{
    static const char* const capitals[26] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                             "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
    return {capitals[l - 'a'], "", char32_t(l), char32_t(l - 'a' + 'A'), 1.0, f, home, bump};
}

Entry symbol(const char* legend, const char* shiftLegend, char32_t plain, char32_t shifted, F f, bool home = false)
{
    return {legend, shiftLegend, plain, shifted, 1.0, f, home, false};
}

Entry wide(const char* legend, double units, F f, char32_t plain = 0)
{
    return {legend, "", plain, 0, units, f};
}

// 無変換, Space (no legend), 変換 and カタカナ/ひらがな are all struck with
// the thumbs. The Enter key spans the Tab and Caps rows and comes last.
QList<KeyCap> build()
{
    const std::vector<std::vector<Entry>> rows = {
        {wide("半角/\n全角", 1, F::LeftLittle), symbol("1", "!", U'1', U'!', F::LeftLittle),
         symbol("2", "\"", U'2', U'"', F::LeftRing), symbol("3", "#", U'3', U'#', F::LeftMiddle),
         symbol("4", "$", U'4', U'$', F::LeftIndex), symbol("5", "%", U'5', U'%', F::LeftIndex),
         symbol("6", "&", U'6', U'&', F::RightIndex), symbol("7", "'", U'7', U'\'', F::RightIndex),
         symbol("8", "(", U'8', U'(', F::RightMiddle), symbol("9", ")", U'9', U')', F::RightRing),
         symbol("0", "", U'0', 0, F::RightLittle), symbol("-", "=", U'-', U'=', F::RightLittle),
         symbol("^", "~", U'^', U'~', F::RightLittle), symbol("¥", "|", U'¥', U'|', F::RightLittle),
         wide("BS", 1, F::RightLittle, U'\b')},
        {wide("Tab", 1.5, F::LeftLittle, U'\t'), letter('q', F::LeftLittle), letter('w', F::LeftRing),
         letter('e', F::LeftMiddle), letter('r', F::LeftIndex), letter('t', F::LeftIndex),
         letter('y', F::RightIndex), letter('u', F::RightIndex), letter('i', F::RightMiddle),
         letter('o', F::RightRing), letter('p', F::RightLittle), symbol("@", "`", U'@', U'`', F::RightLittle),
         symbol("[", "{", U'[', U'{', F::RightLittle)},
        {wide("Caps\nLock", 1.75, F::LeftLittle), letter('a', F::LeftLittle, true), letter('s', F::LeftRing, true),
         letter('d', F::LeftMiddle, true), letter('f', F::LeftIndex, true, true), letter('g', F::LeftIndex),
         letter('h', F::RightIndex), letter('j', F::RightIndex, true, true), letter('k', F::RightMiddle, true),
         letter('l', F::RightRing, true), symbol(";", "+", U';', U'+', F::RightLittle, true),
         symbol(":", "*", U':', U'*', F::RightLittle), symbol("]", "}", U']', U'}', F::RightLittle)},
        {wide("Shift", 2.25, F::LeftLittle), letter('z', F::LeftLittle), letter('x', F::LeftRing),
         letter('c', F::LeftMiddle), letter('v', F::LeftIndex), letter('b', F::LeftIndex),
         letter('n', F::RightIndex), letter('m', F::RightIndex), symbol(",", "<", U',', U'<', F::RightMiddle),
         symbol(".", ">", U'.', U'>', F::RightRing), symbol("/", "?", U'/', U'?', F::RightLittle),
         symbol("\\", "_", U'\\', U'_', F::RightLittle), wide("Shift", 1.75, F::RightLittle)},
        {wide("Ctrl", 1.75, F::LeftLittle), wide("無変換", 1.5, F::Thumb), wide("", 6.25, F::Thumb, U' '),
         wide("変換", 1.5, F::Thumb), wide("カタカナ\nひらがな", 2.0, F::Thumb), wide("Ctrl", 2.0, F::RightLittle)},
    };
    QList<KeyCap> keys;
    for (int r = 0; r < int(rows.size()); ++r) {
        double x = 0;
        for (const Entry& e : rows[size_t(r)]) {
            KeyCap key;
            key.legend = QString::fromUtf8(e.legend);
            key.shiftLegend = QString::fromUtf8(e.shiftLegend);
            key.plain = e.plain;
            key.shifted = e.shifted;
            key.finger = e.finger;
            key.face = cell(x, r, e.units);
            key.home = e.home;
            key.bump = e.bump;
            key.shift = key.legend == QLatin1String("Shift");
            keys << key;
            x += e.units;
        }
    }
    // The tall Enter: 1.5 units wide in the Tab row, 1.25 in the Caps row,
    // whose part reaches up under the upper part's rounded corners.
    KeyCap enter;
    enter.legend = QStringLiteral("Enter");
    enter.plain = U'\r';
    enter.finger = F::RightLittle;
    enter.face = cell(13.5, 1, 1.5);
    const QRectF low = cell(13.75, 2, 1.25);
    enter.lower = QRectF(low.left(), enter.face.top() + 6, low.width(), low.bottom() - enter.face.top() - 6);
    keys << enter;
    return keys;
}

} // namespace

QRectF Frame()
{
    return QRectF(OriginX - 6, OriginY - 5, 15 * Unit + 12, 5 * RowHeight + 10);
}

const QList<KeyCap>& Keys()
{
    static const QList<KeyCap> keys = build();
    return keys;
}

const KeyCap* KeyFor(char32_t c, bool* withShift)
{
    if (c == 0)
        return nullptr;
    for (const KeyCap& key : Keys()) {
        if (key.plain == c || key.shifted == c) {
            if (withShift)
                *withShift = key.plain != c;
            return &key;
        }
    }
    return nullptr;
}

const KeyCap& ShiftFor(const KeyCap& key)
{
    const QList<KeyCap>& keys = Keys();
    const KeyCap* left = nullptr;
    const KeyCap* right = nullptr;
    for (const KeyCap& k : keys) {
        if (k.shift)
            (IsLeftHand(k.finger) ? left : right) = &k;
    }
    return IsLeftHand(key.finger) ? *right : *left;
}

} // namespace JisKeyboard

KeyMark MarkFor(char32_t expected)
{
    KeyMark mark;
    bool withShift = false;
    mark.key = JisKeyboard::KeyFor(expected, &withShift);
    if (mark.key && withShift)
        mark.shift = &JisKeyboard::ShiftFor(*mark.key);
    return mark;
}

} // namespace morvela
