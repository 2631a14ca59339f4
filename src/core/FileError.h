#pragma once

#include <QString>

namespace morvela {

// Why a file could not be looked at, opened or read, in the learner's
// words, the system's own text after it as a detail: "ファイルのパスが長すぎます。
// （File name too long）".
QString FileErrorReason(int systemError);

// Why a file that is not a regular file is left alone.
inline const QString NotARegularFileReason =
    QStringLiteral("通常のファイルではない（フォルダ、FIFO、デバイスなど）ため、読み書きしません。");

} // namespace morvela
