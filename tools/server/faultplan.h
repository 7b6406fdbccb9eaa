#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// Ways the server can misbehave, for tests of the bot's time-outs and recoveries.
enum class ServerFault {
    NoLoginReply,         // the login port reads the login packet and never answers
    SilentSession,        // the session port accepts and never says hello
    CloseAfterCookie,     // the session port closes once the client presented its cookie
    KeepRefusedLoginOpen, // a refused login connection is left open, as some servers do
};

// Which numbers each fault applies to; an empty number stands for every number.
class FaultPlan
{
public:
    void set(ServerFault fault, const QString &uin) { m_faults[int(fault)].insert(uin); }
    void clear(ServerFault fault) { m_faults.remove(int(fault)); }
    void clearAll() { m_faults.clear(); }
    bool applies(ServerFault fault, const QString &uin = QString()) const
    {
        const auto it = m_faults.constFind(int(fault));
        return it != m_faults.cend() && (it->contains(QString()) || (!uin.isEmpty() && it->contains(uin)));
    }

private:
    QHash<int, QSet<QString>> m_faults;
};
