#pragma once

#include <QObject>

class IcqSession;

// Which bots are signed on now: a slot counts from its sign-on until it is closed, its
// log-in starts again, or the server ends its session.
class BotPresence : public QObject
{
    Q_OBJECT
public:
    explicit BotPresence(IcqSession &session, QObject *parent = nullptr);

    bool isSignedOn(int slot) const;
    // Logging in or signing on now.
    bool isLoggingIn(int slot) const;

private:
    IcqSession &m_session;
};
