#include "platform/logindpower.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>

LogindPower::LogindPower(QObject *parent)
    : LogindPower(QDBusConnection::systemBus(), parent)
{}

LogindPower::LogindPower(const QDBusConnection &bus, QObject *parent)
    : Power(parent)
    , m_bus(bus)
{}

bool LogindPower::powerOff()
{
    return request(QStringLiteral("PowerOff"));
}

bool LogindPower::reboot()
{
    return request(QStringLiteral("Reboot"));
}

bool LogindPower::request(const QString &method)
{
    if (!m_bus.isConnected()) {
        qWarning().noquote() << method << "not sent: no system bus" << m_bus.lastError().message();
        return false;
    }

    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), method);
    call << false; // interactive: never wait for a password prompt on an unattended bot

    // Asynchronous: the answer may take as long as polkit and inhibitors need.
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this, method](QDBusPendingCallWatcher *finished) {
            finished->deleteLater();
            const QDBusPendingReply<> reply = *finished;
            if (reply.isError()) {
                const QString error = reply.error().name() + QStringLiteral(": ") + reply.error().message();
                qWarning().noquote() << method << "refused:" << error;
                emit requestFailed(error);
            }
        });
    return true;
}
