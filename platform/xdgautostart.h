#pragma once

#include "platform/autostart.h"

#include <QString>
#include <QStringList>

// The XDG autostart entry $XDG_CONFIG_HOME/autostart/korvane.desktop (default
// ~/.config/autostart) that starts this program with the operator's session.
class XdgAutostart : public Autostart
{
public:
    // Starts `program` with `arguments`.
    XdgAutostart(const QString &program, const QStringList &arguments);

    // The running program, keeping the program folder it was given by --home or
    // KORVANE_HOME (as an absolute --home, since the session starts it elsewhere).
    static XdgAutostart forRunningProgram(const QStringList &commandLine);

    bool isEnabled() const override;
    bool setEnabled(bool enabled) override;

    static QString entryPath();
    // The contents written to the entry; empty when the command cannot be written.
    QByteArray entry() const;

private:
    QString m_program;
    QStringList m_arguments;
};
