#include "settings/soundsettings.h"

namespace Key = GeneralSettings::Key;

void SoundSettings::load()
{
    m_values.loaded(fromSettings(Settings::read()));
}

SoundSettings::Values SoundSettings::fromSettings(const Settings &settings)
{
    Values values;
    values.soundsOff = settings.soundsOffTicked();
    const QString message = settings.value(Key::PlaySoundsOpov).value_or(QString());
    if (!message.isEmpty())
        values.messageSound = message;
    const QString startup = settings.value(Key::PlaySoundsHello).value_or(QString());
    if (!startup.isEmpty())
        values.startupSound = startup;
    return values;
}

PageSave SoundSettings::save()
{
    const Values &values = m_values.shown();
    if (const PageSave refused = PageSave::checkLines({values.messageSound, values.startupSound}); !refused)
        return refused;
    const TextFile::Result written = GeneralSettings::MergeSettings({
        {Key::PlaySounds, values.soundsOff ? QStringLiteral("1") : QStringLiteral("0")},
        {Key::PlaySoundsOpov, values.messageSound},
        {Key::PlaySoundsHello, values.startupSound},
    });
    if (!written)
        return PageSave::failed(PageSave::Outcome::WriteFailed, written.error);
    m_values.saved();
    return PageSave::saved();
}
