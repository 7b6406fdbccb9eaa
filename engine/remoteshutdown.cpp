#include "engine/remoteshutdown.h"

#include "files/adminfile.h"
#include "engine/servicetext.h"
#include "platform/dialogs.h"
#include "platform/power.h"

#include <utility>

RemoteShutdown::RemoteShutdown(SendFunction send, Power *power, QObject *parent)
    : QObject(parent)
    , m_send(std::move(send))
    , m_fixedPower(power)
{}

QString RemoteShutdown::failureText(int kind, const QString &error)
{
    QString text = kind == Reboot ? QStringLiteral("Не удалось перезагрузить компьютер.")
                                  : QStringLiteral("Не удалось выключить компьютер.");
    if (!error.isEmpty())
        text += QLatin1Char(' ') + error;
    return text;
}

void RemoteShutdown::ShutdownSystem(int kind)
{
    Power &power = m_fixedPower ? *m_fixedPower : Power::instance();
    if (m_connected != &power) {
        if (m_connected)
            disconnect(m_connected.data(), &Power::requestFailed, this, &RemoteShutdown::reportFailure);
        // logind answers later; its refusal is reported then.
        connect(&power, &Power::requestFailed, this, &RemoteShutdown::reportFailure);
        m_connected = &power;
    }
    m_lastKind = kind == Reboot ? Reboot : PowerOff;
    const bool sent = m_lastKind == Reboot ? power.reboot() : power.powerOff();
    if (!sent)
        reportFailure(QString());
}

void RemoteShutdown::reportFailure(const QString &error)
{
    const QString text = failureText(m_lastKind, error);
    Dialogs::instance().notify(Dialogs::programTitle(), text, Dialogs::Icon::Warning, NotifyKind);
    const QString admin = AdminFile::read().number;
    if (m_send && ServiceText::isUin(admin))
        m_send(1, text, admin);
}
