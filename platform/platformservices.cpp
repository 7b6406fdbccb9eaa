#include "platform/platformservices.h"

#include "platform/desktopwebopener.h"
#include "platform/logindpower.h"
#include "platform/soundeffectplayer.h"
#include "platform/widgetdialogs.h"
#include "platform/xdgautostart.h"

namespace {

class InstalledServices : public PlatformServices
{
public:
    explicit InstalledServices(const QStringList &arguments)
        : m_autostart(XdgAutostart::forRunningProgram(arguments))
    {
        Dialogs::setInstance(&m_dialogs);
        Sound::setInstance(&m_sound);
        WebOpener::setInstance(&m_webOpener);
        Power::setInstance(&m_power);
        Autostart::setInstance(&m_autostart);
    }

    ~InstalledServices() override
    {
        Dialogs::setInstance(nullptr);
        Sound::setInstance(nullptr);
        WebOpener::setInstance(nullptr);
        Power::setInstance(nullptr);
        Autostart::setInstance(nullptr);
    }

private:
    WidgetDialogs m_dialogs;
    SoundEffectPlayer m_sound;
    DesktopWebOpener m_webOpener;
    LogindPower m_power;
    XdgAutostart m_autostart;
};

} // namespace

std::unique_ptr<PlatformServices> installPlatformServices(const QStringList &arguments)
{
    return std::make_unique<InstalledServices>(arguments);
}
