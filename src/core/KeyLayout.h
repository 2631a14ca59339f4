#pragma once

#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

namespace morvela {

// The fingers of touch typing, in the order the keyboard picture's legend
// lists them.
enum class Finger { LeftLittle, LeftRing, LeftMiddle, LeftIndex, RightIndex, RightMiddle, RightRing, RightLittle, Thumb };
inline constexpr int FingerCount = 9;

// "左小指" .. "右小指", "親指".
QString FingerName(Finger finger);
// The colour of the finger's keys on the keyboard picture, 0xRRGGBB.
unsigned FingerColour(Finger finger);
bool IsLeftHand(Finger finger);

// One key of the keyboard picture: where it lies, what is printed on it,
// what it types and which finger strikes it.
struct KeyCap {
    QString legend;          // printed on the key ("Q", ";", "Caps\nLock")
    QString shiftLegend;     // printed small in the corner: what Shift gives
    char32_t plain = 0;      // the character the key types (0: none)
    char32_t shifted = 0;    // ... with Shift held (0: none)
    Finger finger = Finger::Thumb;
    QRectF face;             // on the picture, in its pixels
    QRectF lower;            // Enter: its part in the row below; empty elsewhere
    bool home = false;       // a key of the home position
    bool bump = false;       // the raised bar of F and J
    bool shift = false;      // a Shift key
};

// The JIS (106/109-key) main block as the keyboard picture beside the
// program shows it. The picture is drawn from this table when the program
// is built, and the key marked after a miss is looked up in it, so the two
// always agree.
namespace JisKeyboard {

// The size the picture is drawn at.
inline constexpr QSize PictureSize{720, 250};

// The keyboard's frame round the keys.
QRectF Frame();

// Row by row, left to right; the tall Enter last.
const QList<KeyCap>& Keys();

// The key that types `c`, and whether Shift is held for it; nullptr when no
// key of the block types it.
const KeyCap* KeyFor(char32_t c, bool* withShift = nullptr);

// The Shift key struck with the other hand than the one typing `key`.
const KeyCap& ShiftFor(const KeyCap& key);

} // namespace JisKeyboard

// What the keyboard picture marks for an expected character: its key, the
// finger that strikes it, and the Shift key to hold with it.
struct KeyMark {
    const KeyCap* key = nullptr;   // nullptr: nothing is marked
    const KeyCap* shift = nullptr; // nullptr: no Shift

    explicit operator bool() const { return key != nullptr; }
    Finger finger() const { return key ? key->finger : Finger::Thumb; }
    friend bool operator==(const KeyMark&, const KeyMark&) = default;
};

// The mark for `expected` (0: none).
KeyMark MarkFor(char32_t expected);

} // namespace morvela
