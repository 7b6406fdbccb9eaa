#pragma once

#include "platform/power.h"

#include <QDBusConnection>

// Powers off or restarts through systemd-logind on the system bus. The call is
// not interactive and needs no root: logind and polkit decide whether this
// session may do it. Nothing is forced, so programs that hold a shutdown
// inhibitor delay it.
class LogindPower : public Power
{
    Q_OBJECT

public:
    explicit LogindPower(QObject *parent = nullptr);
    // The bus to send on, for tests: never the real system bus there.
    explicit LogindPower(const QDBusConnection &bus, QObject *parent = nullptr);

    bool powerOff() override;
    bool reboot() override;

private:
    bool request(const QString &method);

    QDBusConnection m_bus;
};
