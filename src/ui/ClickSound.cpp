#include "ui/ClickSound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

namespace morvela {

ClickSound::ClickSound(QObject* parent) : QObject(parent) {}

void ClickSound::play()
{
    ++m_clicks;
    if (!m_triedEffect) {
        m_triedEffect = true;
        if (!QMediaDevices::audioOutputs().isEmpty()) {
            m_effect = new QSoundEffect(this);
            m_effect->setSource(QUrl(QStringLiteral("qrc:/morvela/click.wav")));
            m_effect->setVolume(0.8f);
        }
    }
    if (m_effect && m_effect->status() != QSoundEffect::Error) {
        m_effect->play();
        return;
    }
    QApplication::beep();
}

} // namespace morvela
