// An exam text and a typed text as any bytes: the model is made from the
// file's bytes and compared with the typed text as "入力完了" compares them;
// every model line is looked at, and the report has a line per mistake.

#include "exam/ExamCompare.h"
#include "exam/ExamText.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace morvela;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The first half is the exam file, the rest the typed text (UTF-16 from
    // the editor, here decoded the same way to reach every character).
    const qsizetype half = bytes.size() / 2;
    const QString model = ExamModelFromBytes(bytes.left(half));
    const QString typed = TypedTextFromEditor(DecodeCp932Replacing(bytes.mid(half)));
    const ExamResult result = CompareExam(model, typed);
    if (result.mistakeCount < 0 || result.mistakeReport.count(QStringLiteral("\r\n")) != result.mistakeCount)
        std::abort();
    if (CompareExam(model, model).mistakeCount != 0)
        std::abort(); // a perfect copy has no mistakes
    return 0;
}
