#pragma once

#include "session/flap.h"
#include "tools/wire/icbm.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QString>

class OscarLink;

// An ICQ user on the command line or in a test: logs in (login connection, cookie,
// session connection, sign-on, client ready), sends texts in the bot's layout and
// reports every message it receives.
class OscarPeer : public QObject
{
    Q_OBJECT
public:
    enum class State {
        Idle,
        LoggingIn, // on the login connection
        SigningOn, // on the session connection, before the server confirmed client ready
        Online,
        Refused, // the login server said no
        Failed,  // a connection could not be made, or ended before sign-on
        Closed,  // logged out or dropped after sign-on
    };
    Q_ENUM(State)

    struct Message
    {
        QString from;
        QString text;
        QByteArray bytes; // as they travelled
        quint16 charset = IcbmText::CharsetLocal;
    };

    explicit OscarPeer(QObject *parent = nullptr);
    ~OscarPeer() override;

    // The password is roasted as bytes: pass it as the server stores it.
    void logIn(const QString &host, quint16 port, const QString &uin, const QByteArray &password);
    // Channel 4 to the server, then close; emits closed() once the connection is down.
    void logOut();
    // Drops whatever connection is open, without any goodbye.
    void abort();

    // Texts go out as Windows-1251 with charset 3, as the bot sends them. False unless online
    // or when the text cannot be framed.
    bool sendText(const QString &toUin, const QString &text);
    bool sendBytes(const QString &toUin, const QByteArray &text, quint16 charset = IcbmText::CharsetLocal);
    // SNAC 1,1E with the status value in TLV 6 (flags in the high word), as the bot sends it.
    bool sendStatus(quint32 status);

    State state() const { return m_state; }
    bool isOnline() const { return m_state == State::Online; }
    QString uin() const { return m_uin; }
    QByteArray cookie() const { return m_cookie; }
    QString sessionHost() const { return m_sessionHost; }
    quint16 sessionPort() const { return m_sessionPort; }
    quint16 errorCode() const { return m_errorCode; }
    QString errorString() const { return m_errorString; }
    QList<Message> receivedMessages() const { return m_received; }

Q_SIGNALS:
    void signedOn();
    void loginRefused(quint16 errorCode);
    // Could not connect, or a connection ended or was refused before sign-on.
    void failed(const QString &reason);
    void messageReceived(const QString &from, const QString &text);
    // The session ended after sign-on: closed by the server, dropped, or logged out.
    void closed();

private:
    void onLoginFrame(const FLAP &frame);
    void onLoginReply(const FLAP &frame);
    void onLoginClosed();
    void openSession();
    void onSessionFrame(const FLAP &frame);
    void onSnac(const FLAP &frame);
    void onSessionClosed();
    void fail(const QString &reason);
    void sendSnac(quint16 family, quint16 subtype, quint32 requestId, const QByteArray &body);
    void sendStatusFrame(quint32 status);
    void dropLinks();

    State m_state = State::Idle;
    OscarLink *m_login = nullptr;
    OscarLink *m_session = nullptr;
    QRandomGenerator m_random;
    QString m_host;
    QString m_uin;
    QByteArray m_password;
    QByteArray m_cookie;
    QString m_sessionHost;
    quint16 m_sessionPort = 0;
    quint16 m_errorCode = 0;
    QString m_errorString;
    bool m_loggingOut = false;
    bool m_ownInfoAsked = false; // the own-information request went out on this session
    QList<Message> m_received;
};
