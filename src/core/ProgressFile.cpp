#include "core/ProgressFile.h"

#include "core/Cp932.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace morvela {

namespace {

constexpr int kLineCount = 16;
// The file is a few hundred bytes. Of a far larger one (a long first line,
// junk after the sixteen lines) the start is read and the rest dropped.
constexpr qint64 kReadLimit = 1024 * 1024;

template <class Record> // ProgressRecord or const ProgressRecord
auto* fieldOfLine(Record& r, int line) // lines 2..16
{
    if (line == 2)
        return &r.BestSpeedTime;
    if (line == 3)
        return &r.BestGraduationTime;
    if (line >= 4 && line <= 12)
        return &r.LessonStates[size_t(line - 4)];
    if (line == 13)
        return &r.GraduationState;
    if (line == 14)
        return &r.SpareState;
    if (line == 15)
        return &r.FurthestPage;
    return &r.OptionCode;
}

bool isDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// "mm分ss", "LL-PP": two digits, a separator, two digits.
bool isTwoDigitPair(const QString& text, QChar separator)
{
    return text.size() == 5 && text[2] == separator && isDigits(QStringView(text).left(2))
        && isDigits(QStringView(text).right(2));
}

// Whether a text has the form its line is meant to hold. Values of other
// forms are kept as read; the form only decides between two decodings.
bool hasExpectedForm(int line, const QString& text)
{
    if (line <= 3)
        return isTwoDigitPair(text, u'分');
    if (line <= 14)
        return text == LessonState::NotStarted || text == LessonState::Practising
            || text == LessonState::Completed || text == LessonState::Challenging
            || text == LessonState::Graduated;
    if (line == 15)
        return isTwoDigitPair(text, u'-');
    return isDigits(QStringView(text).trimmed());
}

struct LineValue {
    std::optional<QString> text; // none: unusable, the new-file value stays
    bool clean = true;           // false: the file needs repair
};

// A file saved by an editor in UTF-8 still holds the learner's progress:
// take the UTF-8 reading of a line when only that one makes sense.
LineValue decodeLine(int line, const QByteArray& bytes)
{
    const Decoded cp = DecodeCp932(bytes);
    const bool cpUsable = cp.ok && !cp.text.contains(QChar(0));
    if (cpUsable && hasExpectedForm(line, cp.text))
        return {cp.text, true};
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString u = utf8.decode(bytes);
    if (!utf8.hasError() && hasExpectedForm(line, u))
        return {u, false};
    if (cpUsable)
        return {cp.text, true}; // a value of another form is accepted as read
    return {std::nullopt, false};
}

} // namespace

QByteArray SerializeProgress(const ProgressRecord& record, QString* error, TextEncoder encode)
{
    QByteArrayList lines;
    lines << record.Reserved;
    for (int line = 2; line <= kLineCount; ++line) {
        bool ok = false;
        const QString& text = *fieldOfLine(record, line);
        lines << encode(text, &ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("%1行目「%2」を文字コード（CP932）で書けません。").arg(line).arg(text);
            return {};
        }
    }
    return JoinLinesCrLf(lines);
}

ParsedProgress ParseProgress(const QByteArray& input)
{
    ParsedProgress parsed;
    QByteArray bytes = input;
    // An editor's byte-order marks, however many, are no part of line 1:
    // kept, they would be dropped at the next reading and line 1 change.
    while (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        parsed.damaged = true;
    }
    const QByteArrayList lines = SplitLines(bytes, true);
    if (lines.size() < kLineCount)
        parsed.damaged = true;
    for (qsizetype i = kLineCount; i < lines.size(); ++i) {
        if (!lines[i].trimmed().isEmpty())
            parsed.damaged = true; // more than the sixteen lines: not ours
    }
    if (!lines.isEmpty())
        parsed.record.Reserved = lines[0];
    for (int line = 2; line <= kLineCount && line <= lines.size(); ++line) {
        const LineValue value = decodeLine(line, lines[line - 1]);
        if (value.text)
            *fieldOfLine(parsed.record, line) = *value.text;
        if (!value.clean)
            parsed.damaged = true;
    }
    return parsed;
}

bool EnsureProgressFile(const ProgramFolder& folder, ProgressRecord& record, QString* error)
{
    if (folder.has(ProgressFileName))
        return true;
    record = ProgressRecord();
    return SaveProgress(folder, record, error);
}

ProgressLoad LoadProgress(const ProgramFolder& folder, ProgressRecord& record)
{
    ProgressLoad outcome;
    const QString path = folder.filePath(ProgressFileName);
    const ReadResult read = ReadFileStart(path, kReadLimit);
    if (!read.ok) {
        record = ProgressRecord();
        outcome.unreadable = true;
        outcome.error = read.error;
        return outcome;
    }
    ParsedProgress parsed = ParseProgress(read.bytes);
    parsed.damaged = parsed.damaged || read.tooLarge;
    record = parsed.record;
    if (!parsed.damaged)
        return outcome;

    outcome.repaired = true;
    outcome.backupPath = KeepBackup(path, &outcome.error);
    if (outcome.backupPath.isEmpty())
        return outcome; // never overwrite what could not be kept
    SaveProgress(folder, record, &outcome.error);
    return outcome;
}

bool SaveProgress(const ProgramFolder& folder, const ProgressRecord& record, QString* error, TextEncoder encode)
{
    const QByteArray bytes = SerializeProgress(record, error, encode);
    if (bytes.isEmpty())
        return false;
    return WriteFileAtomically(folder.filePath(ProgressFileName), bytes, error);
}

} // namespace morvela
