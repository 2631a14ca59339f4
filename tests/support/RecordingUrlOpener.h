#pragma once

#include "support/RecordingMessageService.h"
#include "ui/UrlOpener.h"

#include <QList>
#include <QUrl>

namespace morvela::test {

// Records what would have opened in the browser, and how many messages had
// been shown by then; answers as told.
class RecordingUrlOpener final : public UrlOpener {
public:
    explicit RecordingUrlOpener(const RecordingMessageService& messages) : m_messages(messages) {}

    bool open(const QUrl& url) override
    {
        opened << url;
        messagesBefore << m_messages.shown.size();
        return answer;
    }
    QList<QUrl> opened;
    QList<qsizetype> messagesBefore;
    bool answer = true;

private:
    const RecordingMessageService& m_messages;
};

} // namespace morvela::test
