#pragma once

#include "session/flap.h"

#include <QObject>
#include <QString>
#include <QTimer>

class OscarLink;
class QTcpSocket;
struct ServerState;

// One client on the login port: hello, the channel-1 login packet, then a channel-4
// reply with the session address and a cookie, or with an error code.
class LoginHandler : public QObject
{
    Q_OBJECT
public:
    LoginHandler(QTcpSocket *socket, ServerState *state, QObject *parent = nullptr);
    ~LoginHandler() override;

    OscarLink *link() const { return m_link; }

Q_SIGNALS:
    void attempted(const QString &uin);
    void accepted(const QString &uin, const QByteArray &cookie);
    void refused(const QString &uin, quint16 errorCode);
    void closed(LoginHandler *handler);

private:
    void onFrame(const FLAP &frame);
    void onLogin(const FLAP &frame);

    ServerState *m_state = nullptr;
    OscarLink *m_link = nullptr;
    QTimer m_idleTimeout;
    bool m_answered = false;
};
