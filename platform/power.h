#pragma once

#include <QObject>
#include <QString>

// Switching the computer off or restarting it for the administrator's remote
// commands. One instance serves the whole program; tests replace it with
// RecordingPower and must never call the real one.
class Power : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Ask the system to power off or restart, without forcing running programs.
    // True when the request was sent; the answer comes later, and a refusal is
    // reported by requestFailed().
    virtual bool powerOff() = 0;
    virtual bool reboot() = 0;

    static Power &instance();
    // Replaces the instance (not owned); nullptr restores the default that refuses.
    static void setInstance(Power *power);

signals:
    void requestFailed(const QString &error);
};
