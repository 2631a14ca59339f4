#pragma once

#include "core/SafeFile.h"

#include <QByteArray>
#include <QString>

namespace morvela {

// An exam text file: NAME.ken in the program folder, CP932 with CR LF.

// Files longer than this are not shown (32,000, not 32,768).
inline constexpr qint64 ExamSizeLimit = 32000;

inline const QString ExamTooLargeMessage = QStringLiteral("データが３２ｋＢを超えているので表示できません");

// The file name of the exam `name`: name + ".ken".
QString ExamFileName(const QString& name);

// CP932 bytes as text, where every byte sequence that is not CP932 becomes
// one U+FFFD (a lone lead byte, an unassigned code, a byte CP932 never
// uses), so a damaged file shows where it is damaged and compares as shown.
QString DecodeCp932Replacing(const QByteArray& bytes);

// The model text of a file's bytes: all but the last two (a file written
// with a final CR LF loses exactly that line break; one without loses its
// last two bytes; one shorter than two bytes gives an empty model).
QString ExamModelFromBytes(const QByteArray& bytes);

struct ExamText {
    QString model;          // shown in Text1; "" when refused or unreadable
    bool tooLarge = false;  // longer than ExamSizeLimit: refused with ExamTooLargeMessage
    // When the file could not be opened or read: the message that says
    // which file and why (no exam is held against an empty model); "" when
    // it was read.
    QString problem;
};

// Reads the exam text `file` by its path on disk.
ExamText LoadExamText(const FolderEntry& file);

// Reads the exam `name` from `folder`, matching the file name without
// regard to case.
ExamText LoadExamText(const ProgramFolder& folder, const QString& name);

} // namespace morvela
