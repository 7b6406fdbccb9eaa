#include "platform/power.h"

#include <QDebug>

namespace {

// Used until the program installs the real service: refuses and logs.
class RefusingPower : public Power
{
public:
    bool powerOff() override { return refuse("power off"); }
    bool reboot() override { return refuse("reboot"); }

private:
    static bool refuse(const char *what)
    {
        qWarning() << what << "refused: no power service installed";
        return false;
    }
};

Power *g_power = nullptr;

} // namespace

Power &Power::instance()
{
    static RefusingPower fallback;
    return g_power ? *g_power : fallback;
}

void Power::setInstance(Power *power)
{
    g_power = power;
}
