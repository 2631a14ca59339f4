#pragma once

class QUrl;

namespace morvela {

// Opens a web address in the desktop's browser; tests put a recorder in
// its place. Returns false when the desktop could not open it.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool open(const QUrl& url) = 0;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    bool open(const QUrl& url) override;
};

} // namespace morvela
