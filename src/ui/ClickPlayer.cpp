// The click player, a module of its own beside the program: Qt Multimedia
// and the sound libraries under it are loaded on the metronome's first click
// instead of at every start.

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

extern "C" {

Q_DECL_EXPORT void* morvela_click_new()
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return nullptr;
    auto* effect = new QSoundEffect;
    effect->setSource(QUrl(QStringLiteral("qrc:/morvela/click.wav")));
    effect->setVolume(0.8f);
    return effect;
}

// Returns false when the click cannot sound, so the caller beeps instead.
Q_DECL_EXPORT bool morvela_click_play(void* player)
{
    auto* effect = static_cast<QSoundEffect*>(player);
    if (!effect || effect->status() == QSoundEffect::Error)
        return false;
    effect->play();
    return true;
}

Q_DECL_EXPORT void morvela_click_delete(void* player)
{
    delete static_cast<QSoundEffect*>(player);
}

} // extern "C"
