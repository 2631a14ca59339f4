#include "core/FileError.h"

#include <cerrno>
#include <cstring>

namespace morvela {

namespace {

QString reasonOf(int systemError)
{
    switch (systemError) {
    case ENOENT:
        return QStringLiteral("ファイルがありません。");
    case ENOTDIR:
        return QStringLiteral("パスの途中にフォルダではないものがあります。");
    case EACCES:
    case EPERM:
        return QStringLiteral("読み書きする権限がありません。");
    case ENAMETOOLONG:
        return QStringLiteral("ファイルのパスが長すぎます。");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが多すぎるか、循環しています。");
    case EIO:
        return QStringLiteral("ディスクの読み書きに失敗しました。");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます。");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("ディスクに空きがないか、ファイルの大きさの上限を超えています。");
    case EROFS:
        return QStringLiteral("読み取り専用の場所です。");
    default:
        return QStringLiteral("ファイルを扱えません。");
    }
}

} // namespace

QString FileErrorReason(int systemError)
{
    return QStringLiteral("%1（%2）").arg(reasonOf(systemError), QString::fromLocal8Bit(std::strerror(systemError)));
}

} // namespace morvela
