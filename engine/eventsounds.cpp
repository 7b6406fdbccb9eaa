#include "engine/eventsounds.h"

#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "platform/sound.h"

#include <QFileInfo>

namespace Key = GeneralSettings::Key;
using GeneralSettings::LookupKind;

EventSounds::EventSounds(Sound *sound)
    : m_sound(sound)
{}

QString EventSounds::soundFile(int kind)
{
    const QString text = GeneralSettings::ReadText();
    // "PlaySounds" is the page's "Выключать звуки": only "0" plays.
    if (GeneralSettings::LookupInText(text, Key::PlaySounds, LookupKind::Flag) != QStringLiteral("0"))
        return {};
    const bool message = kind == NewMessage;
    const QString defaultFile = ProgramFolder::path(message ? GeneralSettings::Default::SoundMessage
                                                            : GeneralSettings::Default::SoundStartup);
    const QString configured =
        GeneralSettings::LookupInText(text, message ? Key::PlaySoundsOpov : Key::PlaySoundsHello,
                                      LookupKind::Text)
            .value_or(QString());
    if (configured.isEmpty())
        return defaultFile;
    const QString file =
        configured.startsWith(QLatin1Char('/')) ? configured : ProgramFolder::path(configured);
    // A file that is not there plays the default, as the system sound stood in before.
    return QFileInfo(file).isFile() ? file : defaultFile;
}

void EventSounds::PlayEventSound(int kind)
{
    const QString file = soundFile(kind);
    if (file.isEmpty())
        return;
    (m_sound ? *m_sound : Sound::instance()).play(file);
}
