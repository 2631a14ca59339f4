#pragma once

#include <QLibrary>
#include <QObject>

namespace morvela {

// The metronome's click. The X11 and Wayland bell is silent on most
// desktops, so a short embedded click is played; where no audio output or
// no click player is found, the system beep stands in. The sound backend
// loads on the first click, so the program starts without it.
class ClickSound : public QObject {
    Q_OBJECT
public:
    explicit ClickSound(QObject* parent = nullptr);
    ~ClickSound() override;
    void play();
    int clicks() const { return m_clicks; }

private:
    using PlayFn = bool (*)(void*);
    using DeleteFn = void (*)(void*);
    QLibrary m_library;
    void* m_player = nullptr;
    PlayFn m_play = nullptr;
    DeleteFn m_delete = nullptr;
    bool m_loaded = false;
    int m_clicks = 0;
};

} // namespace morvela
