#pragma once

#include <QObject>
#include <QSet>

class IcqSession;

// Which bots are signed on now: a slot counts from its sign-on until it is handed over
// again, forgotten (we closed it) or its session connection was closed by the server.
class BotPresence : public QObject
{
    Q_OBJECT
public:
    explicit BotPresence(IcqSession &session, QObject *parent = nullptr);

    bool isSignedOn(int slot) const;
    void forget(int slot);
    void forgetAll();

private:
    IcqSession &m_session;
    QSet<int> m_signedOn;
};
