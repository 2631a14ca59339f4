#pragma once

#include <QObject>

class QSoundEffect;

namespace morvela {

// The metronome's click. The X11 and Wayland bell is silent on most
// desktops, so a short embedded click is played; where no audio output
// exists the system beep stands in. The sound backend loads on the first
// click, so the program starts without it.
class ClickSound : public QObject {
    Q_OBJECT
public:
    explicit ClickSound(QObject* parent = nullptr);
    void play();
    int clicks() const { return m_clicks; }

private:
    QSoundEffect* m_effect = nullptr;
    bool m_triedEffect = false;
    int m_clicks = 0;
};

} // namespace morvela
