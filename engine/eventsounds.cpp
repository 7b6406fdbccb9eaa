#include "engine/eventsounds.h"

#include "core/generalsettings.h"
#include "files/startupsound.h"
#include "platform/sound.h"

EventSounds::EventSounds(Sound *sound)
    : m_sound(sound)
{}

QString EventSounds::soundFile(int kind)
{
    const Settings settings = Settings::read();
    return kind == NewMessage ? StartupSound::messageFile(settings) : StartupSound::file(settings);
}

void EventSounds::PlayEventSound(int kind)
{
    const QString file = soundFile(kind);
    if (file.isEmpty())
        return;
    (m_sound ? *m_sound : Sound::instance()).play(file);
}
