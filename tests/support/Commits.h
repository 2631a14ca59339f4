#pragma once

// What the input method sends a typing box: one commit per converted word.

#include <QApplication>
#include <QInputMethodEvent>
#include <QStringList>
#include <QWidget>

namespace morvela::test {

// The input method confirms `text` into `target`.
inline void commit(QWidget* target, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(target, &e);
}

// A text cut where a learner converting word by word would confirm: at each
// change between kanji, hiragana, katakana, full-width letters and digits,
// and around each punctuation mark or space.
inline QStringList Words(const QString& text)
{
    const auto kind = [](char32_t c) {
        if (c >= 0x4E00 && c <= 0x9FFF)
            return 1;
        if (c >= 0x3041 && c <= 0x3096)
            return 2;
        if ((c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC)
            return 3;
        if ((c >= 0xFF10 && c <= 0xFF5A) || c == 0xFF0E)
            return 4; // letters, digits and the decimal point
        return 0;     // punctuation and spaces: one at a time
    };
    QStringList words;
    int last = -1;
    for (const char32_t c : text.toUcs4()) {
        const int k = kind(c);
        if (words.isEmpty() || k == 0 || k != last)
            words.append(QString());
        words.last() += QString::fromUcs4(&c, 1);
        last = k;
    }
    return words;
}

} // namespace morvela::test
