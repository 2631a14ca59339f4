#pragma once

#include <QString>

namespace morvela {

// The program's two addresses on the web, kept here and nowhere else.
inline const QString HomePageAddress = QStringLiteral("https://www.example.com/ostrel/");
inline const QString ToolDownloadAddress = QStringLiteral("https://www.example.com/tessaro/download/");

// The menu's "Ostrel": said before the home page is opened, since nothing
// happens without internet access. Line breaks are CRs.
inline const QString HomePageInvitation = QStringLiteral("インターネットにアクセスできる場合は、\rOstrelのホームページに御招待します。\r\rインターネットにアクセスできない場合は、\r何もおこりません。");

// Hint 5's "サイトを開く" when the page cannot be opened: the message and its
// own title.
inline const QString NoInternetMessage = QStringLiteral("インターネットに接続する環境を整えてから\rもう一度お試し下さい。");
inline const QString NoInternetTitle = QStringLiteral("インターネットにアクセスできません。");

} // namespace morvela
