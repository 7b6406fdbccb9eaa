#include "platform/autostart.h"

#include <QDebug>

namespace {

// Used until the program installs the real entry: never touches the session.
class RefusingAutostart : public Autostart
{
public:
    bool isEnabled() const override { return false; }
    bool setEnabled(bool enabled) override
    {
        qWarning() << "autostart not changed to" << enabled << ": no autostart service installed";
        return false;
    }
};

Autostart *g_autostart = nullptr;

} // namespace

Autostart &Autostart::instance()
{
    static RefusingAutostart fallback;
    return g_autostart ? *g_autostart : fallback;
}

void Autostart::setInstance(Autostart *autostart)
{
    g_autostart = autostart;
}
