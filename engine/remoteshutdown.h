#pragma once

#include "engine/answersender.h"

#include <QObject>
#include <QPointer>
#include <QString>

class Power;

// The administrator's "!выключить" and "!перезагрузить": the request goes to Power.
// A refusal never blocks the bot: the operator sees a box that does not wait, and the
// administrator is told in a message.
class RemoteShutdown : public QObject
{
    Q_OBJECT
public:
    enum Kind { PowerOff = 1, Reboot = 2 };

    static inline const QString NotifyKind = QStringLiteral("power");

    // power nullptr: Power::instance() at each request. Replies to the administrator go
    // out on the main bot's slot.
    explicit RemoteShutdown(SendFunction send, Power *power = nullptr, QObject *parent = nullptr);

    static QString failureText(int kind, const QString &error);

    void ShutdownSystem(int kind);

private:
    void reportFailure(const QString &error);

    SendFunction m_send;
    Power *m_fixedPower; // nullptr: the program's instance
    QPointer<Power> m_connected;
    int m_lastKind = PowerOff;
};
