#pragma once

#include "ui/TypingLines.h"

class QDialog;
class QLabel;
class QPushButton;

namespace morvela {

class LiveStrip;

struct SentenceScript;

// The layout the sentence screens share (Lessons 7 and 8, the graduation
// exam): the instruction, the lines each over its box in the aligned font,
// "もう一度" and "目次へ".
struct SentencePage {
    QLabel* label1 = nullptr;
    TypingLines* lines = nullptr;
    QPushButton* command3 = nullptr; // もう一度
    QPushButton* command1 = nullptr; // 目次へ
};

// Builds the page on `window` for `script`'s lines. With `panel` the lines
// stand on the coloured panel Label9. The live strip stands between the
// two buttons.
SentencePage BuildSentencePage(QDialog& window, const SentenceScript& script, const QString& instruction,
                               bool panel, LiveStrip* strip);

// The window title, the line texts, and the window centred.
void LoadSentencePage(QDialog& window, const SentencePage& page, const SentenceScript& script,
                      const QString& titleTag);

} // namespace morvela
