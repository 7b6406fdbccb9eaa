#pragma once

#include "tools/wire/icbm.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class SessionHandler;
struct ServerState;

// One channel-1 message an account sent through the server.
struct RoutedMessage
{
    QString from;
    QString to;
    QByteArray text; // as it travelled (Windows-1251 for the bot)
    quint16 charset = IcbmText::CharsetLocal;
    bool delivered = false;
};

// Knows which session speaks for each number and carries messages between them.
class MessageRouter : public QObject
{
    Q_OBJECT
public:
    explicit MessageRouter(ServerState *state, QObject *parent = nullptr);

    // Makes the session the one of its number; returns the session it replaces, if any.
    SessionHandler *attach(SessionHandler *session);
    // Forgets the session if it is still the one of its number.
    void detach(SessionHandler *session);
    SessionHandler *sessionOf(const QString &uin) const { return m_sessions.value(uin); }
    // Signed on: past the client-ready SNAC.
    bool isOnline(const QString &uin) const;
    QStringList onlineUins() const;

    // A message an account sent: logged, then delivered when the recipient is online.
    bool route(const QString &from, const IcbmText &message);
    // A message from any number, online or not; not logged as sent by anyone.
    bool inject(const QString &from, const QString &to, const QByteArray &text, quint16 charset);

    QList<RoutedMessage> sentBy(const QString &uin) const;
    QList<RoutedMessage> log() const { return m_log; }
    void clearLog() { m_log.clear(); }

Q_SIGNALS:
    void messageRouted(const QString &from, const QString &to, const QByteArray &text);

private:
    bool deliver(const QString &from, const QString &to, IcbmText message);

    ServerState *m_state = nullptr;
    QHash<QString, SessionHandler *> m_sessions;
    QList<RoutedMessage> m_log;
};
