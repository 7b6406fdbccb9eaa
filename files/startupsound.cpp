#include "files/startupsound.h"

#include "core/generalsettings.h"

#include <QFileInfo>

QString StartupSound::playable(const QString &chosen, const QString &fallback)
{
    return QFileInfo(chosen).isFile() ? chosen : fallback;
}

QString StartupSound::file(const Settings &settings)
{
    if (!settings.soundsOn())
        return {};
    return playable(settings.startupSound(), Settings::defaultStartupSound());
}

QString StartupSound::messageFile(const Settings &settings)
{
    if (!settings.soundsOn())
        return {};
    return playable(settings.messageSound(), Settings::defaultMessageSound());
}
