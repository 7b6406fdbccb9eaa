#include "tools/server/messagerouter.h"

#include "tools/server/serverstate.h"
#include "tools/server/sessionhandler.h"

#include <QDateTime>

MessageRouter::MessageRouter(ServerState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{}

SessionHandler *MessageRouter::attach(SessionHandler *session)
{
    SessionHandler *previous = m_sessions.value(session->uin());
    m_sessions.insert(session->uin(), session);
    return previous == session ? nullptr : previous;
}

void MessageRouter::detach(SessionHandler *session)
{
    const auto it = m_sessions.constFind(session->uin());
    if (it != m_sessions.cend() && *it == session)
        m_sessions.erase(it);
}

bool MessageRouter::isOnline(const QString &uin) const
{
    const SessionHandler *session = m_sessions.value(uin);
    return session && session->isSignedOn();
}

QStringList MessageRouter::onlineUins() const
{
    QStringList out;
    for (auto it = m_sessions.cbegin(); it != m_sessions.cend(); ++it) {
        if ((*it)->isSignedOn())
            out.append(it.key());
    }
    out.sort();
    return out;
}

bool MessageRouter::route(const QString &from, const IcbmText &message)
{
    IcbmText incoming = message;
    incoming.uin = from;
    incoming.ackRequested = false;
    const bool delivered = deliver(from, message.uin, incoming);
    m_log.append({from, message.uin, message.text, message.charset, delivered});
    emit messageRouted(from, message.uin, message.text);
    return delivered;
}

bool MessageRouter::inject(const QString &from, const QString &to, const QByteArray &text, quint16 charset)
{
    IcbmText message;
    message.cookie = Icbm::randomCookie(m_state->random);
    message.uin = from;
    message.text = text;
    message.charset = charset;
    return deliver(from, to, message);
}

QList<RoutedMessage> MessageRouter::sentBy(const QString &uin) const
{
    QList<RoutedMessage> out;
    for (const RoutedMessage &message : m_log) {
        if (message.from == uin)
            out.append(message);
    }
    return out;
}

bool MessageRouter::deliver(const QString &from, const QString &to, IcbmText message)
{
    SessionHandler *recipient = m_sessions.value(to);
    if (!recipient || !recipient->isSignedOn())
        return false;
    // The sender's user info as the server knows it; a number that is not online gets a
    // plain online status and the present moment.
    const SessionHandler *sender = m_sessions.value(from);
    const quint32 status = sender ? sender->status().value_or(0) : 0;
    const qint64 signOnTime = sender ? sender->signOnTime() : QDateTime::currentSecsSinceEpoch();
    return recipient->deliverMessage(message, status, signOnTime);
}
