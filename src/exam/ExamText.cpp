#include "exam/ExamText.h"

#include "core/Cp932.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace morvela {

namespace {

bool IsLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(uchar b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The slow path, for files that are not clean CP932: each character's
// bytes (one, or a lead byte and its trail byte) are decoded on their own,
// and each that fails becomes U+FFFD. The code page's decoder alone would
// drop a lone lead byte at the end and turn other bad bytes into U+001A.
QString DecodeUnitByUnit(const QByteArray& bytes)
{
    std::optional<QStringDecoder> decoder;
    QString text;
    text.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) { // CP932 keeps ASCII as it is
            text += QChar(b);
            ++i;
            continue;
        }
        qsizetype len = 1;
        if (IsLeadByte(b)) {
            if (i + 1 >= n || !IsTrailByte(uchar(bytes[i + 1]))) {
                text += QChar::ReplacementCharacter; // a lead byte without its trail
                ++i;
                continue;
            }
            len = 2;
        }
        if (!decoder)
            decoder.emplace(Cp932CodecName, QStringConverter::Flag::Stateless);
        const QString unit = decoder->decode(QByteArrayView(bytes.constData() + i, len));
        if (decoder->hasError() || unit.size() != 1) {
            text += QChar::ReplacementCharacter;
            // The error stays with the decoder (resetState does not clear
            // it with the ICU converters): the next unit gets a new one.
            decoder.reset();
        } else {
            text += unit;
        }
        i += len;
    }
    return text;
}

} // namespace

QString ExamFileName(const QString& name)
{
    return name + QStringLiteral(".ken");
}

QString DecodeCp932Replacing(const QByteArray& bytes)
{
    const Decoded d = DecodeCp932(bytes);
    return d.ok ? d.text : DecodeUnitByUnit(bytes);
}

QString ExamModelFromBytes(const QByteArray& bytes)
{
    if (bytes.size() < 2)
        return {};
    return DecodeCp932Replacing(bytes.first(bytes.size() - 2));
}

namespace {

// Why a file that is there could not be read, in the learner's words, with
// the system's own text as a detail.
QString unreadableReason(const QByteArray& nativePath, const QString& systemError)
{
    switch (KindOfNative(nativePath)) {
    case FileKind::Missing:
        return QStringLiteral("ファイルが見つかりません。");
    case FileKind::Other:
        return NotARegularFileReason;
    case FileKind::Regular:
        break;
    }
    const bool denied = ::faccessat(AT_FDCWD, nativePath.constData(), R_OK, AT_EACCESS) != 0 && errno == EACCES;
    const QString why = denied ? QStringLiteral("読み取りの権限がありません。")
                               : QStringLiteral("読み取りの途中でエラーが起きました。");
    return systemError.isEmpty() ? why : why + QStringLiteral("（詳細：%1）").arg(systemError);
}

// The message for an exam text that cannot be read: the file, where it
// lies, why, and that the exam does not start.
QString unreadableMessage(const FolderEntry& file, const QString& reason)
{
    const qsizetype slash = file.nativePath.lastIndexOf('/');
    const QString shownPath = QDir::toNativeSeparators(QFile::decodeName(file.nativePath.left(slash + 1))) + file.name;
    return QStringLiteral("試験問題のファイル「%1」を読み込めませんでした。\n%2\n%3\n\n模擬試験を始められません。")
        .arg(file.name, shownPath, reason);
}

} // namespace

ExamText LoadExamText(const FolderEntry& file)
{
    ExamText exam;
    const ReadResult r = ReadNativeFile(file.nativePath, ExamSizeLimit);
    if (r.tooLarge)
        exam.tooLarge = true;
    else if (!r.ok)
        exam.problem = unreadableMessage(file, unreadableReason(file.nativePath, r.error));
    else
        exam.model = ExamModelFromBytes(r.bytes);
    return exam;
}

ExamText LoadExamText(const ProgramFolder& folder, const QString& name)
{
    // By its bytes on disk: a name unpacked from a Windows archive is CP932.
    const QString fileName = ExamFileName(name);
    const std::optional<FolderEntry> file = folder.entry(fileName);
    return LoadExamText(file ? *file : FolderEntry{fileName, QFile::encodeName(folder.path() + fileName)});
}

} // namespace morvela
