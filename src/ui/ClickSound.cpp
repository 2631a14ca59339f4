#include "ui/ClickSound.h"

#include <QApplication>
#include <QDir>

namespace morvela {

ClickSound::ClickSound(QObject* parent) : QObject(parent) {}

ClickSound::~ClickSound()
{
    if (m_player && m_delete)
        m_delete(m_player);
}

void ClickSound::play()
{
    ++m_clicks;
    if (!m_loaded) {
        m_loaded = true;
        m_library.setFileName(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("morvela_click")));
        if (m_library.load()) {
            using NewFn = void* (*)();
            auto create = reinterpret_cast<NewFn>(m_library.resolve("morvela_click_new"));
            m_play = reinterpret_cast<PlayFn>(m_library.resolve("morvela_click_play"));
            m_delete = reinterpret_cast<DeleteFn>(m_library.resolve("morvela_click_delete"));
            if (create && m_play && m_delete)
                m_player = create();
        }
    }
    if (m_player && m_play(m_player))
        return;
    QApplication::beep();
}

} // namespace morvela
