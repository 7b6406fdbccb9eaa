#pragma once

#include "tools/server/faultplan.h"
#include "tools/server/messagerouter.h"
#include "tools/wire/oscarlink.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class LoginHandler;
class QTcpServer;
class SessionHandler;
struct ServerState;

// A small OSCAR login and session server for tests, the demo and manual checks.
//
// The login port greets, checks the roasted password and answers with the session
// address and a cookie (TLVs 1, 5, 6) or with an error (TLVs 1, 4, 8). The session port
// takes the cookie back once, answers the sign-on SNACs, puts the number online at the
// client-ready SNAC and carries channel-1 messages between online numbers. Everything
// the server sends can be written whole, coalesced or split.
class OscarServer : public QObject
{
    Q_OBJECT
public:
    using WriteMode = ::WriteMode;

    explicit OscarServer(QObject *parent = nullptr);
    ~OscarServer() override;

    // Accounts. Passwords are the bytes the client roasts (Windows-1251 for the bot).
    void addAccount(const QString &uin, const QByteArray &password);
    bool removeAccount(const QString &uin);
    // One "uin password" per line; see AccountStore::parse.
    bool loadAccounts(const QString &path, QString *error = nullptr);
    bool hasAccount(const QString &uin) const;
    QStringList accounts() const;

    // Port 0 picks a free port. Give an IPv4 address: the bot splits TLV 5 at its colon.
    bool listen(const QHostAddress &address = QHostAddress::LocalHost, quint16 loginPort = 0,
                quint16 sessionPort = 0);
    // Stops listening and drops every connection.
    void close();
    bool isListening() const;
    quint16 loginPort() const;
    quint16 sessionPort() const;
    QHostAddress address() const;
    QString errorString() const { return m_error; }

    // How frames go out, on both ports or on one; applies to open connections too.
    void setWriteMode(WriteMode mode);
    void setLoginWriteMode(WriteMode mode);
    void setSessionWriteMode(WriteMode mode);
    WriteMode loginWriteMode() const;
    WriteMode sessionWriteMode() const;

    // Length of the cookies handed out (256 by default, as some real servers use).
    void setCookieLength(int bytes);
    int cookieLength() const;
    // Text of the unasked message of the day (SNAC 1,13).
    void setMessageOfTheDay(const QByteArray &text);
    // User-info TLVs 6 and F of 4,7 two bytes long, as a lenient real server sends them.
    void setShortUserInfoTlvs(bool shortTlvs);
    // Answers the own-information request without echoing its request id.
    void setOwnInfoWithOwnRequestId(bool ownId);
    // The session address the login reply names, instead of this server's own.
    void setAdvertisedSessionAddress(const QString &hostAndPort);
    // Connections that neither log in nor present a cookie are dropped after this.
    void setUnauthenticatedTimeout(int ms);

    // Misbehaviour for the log-ins of a number, or of every number when uin is empty.
    // SilentSession always applies to every number: the session port would learn the
    // number only from the cookie it never asks for.
    using Fault = ServerFault;
    void setFault(Fault fault, const QString &uin = QString());
    void clearFault(Fault fault);
    void clearFaults();
    // Connections open on the login port now.
    int loginConnections() const { return int(m_logins.size()); }
    // Connections the login port has accepted since the server started.
    int loginConnectionsAccepted() const { return m_loginsAccepted; }
    // Connections closed because a client frame broke the sequence numbering.
    int sequenceErrors() const;

    // Refusals: error code 0x0018 ("rate limit") unless told; 0x0005 is the code a
    // wrong password or an unknown number gets.
    void refuseNextLogin(const QString &uin, quint16 errorCode = 0x0018);
    void setRefuseLogins(bool refuse, quint16 errorCode = 0x0018);

    // Login attempts (login packets read), in all and per number.
    int loginAttempts() const;
    int loginAttempts(const QString &uin) const;
    void resetLoginAttempts();

    bool isOnline(const QString &uin) const;
    QStringList onlineAccounts() const;
    // The last status value (TLV 6 of SNAC 1,1E, flags in the high word) the number set,
    // kept after it goes offline; nullopt when it never set one.
    std::optional<quint32> statusOf(const QString &uin) const;

    // Channel-1 messages an account sent, in order, whether or not they were delivered.
    QList<RoutedMessage> messagesSentBy(const QString &uin) const;
    QList<RoutedMessage> routedMessages() const;
    void clearRoutedMessages();

    // A message from any number, online or not, to an online number; text as it travels
    // (Windows-1251 bytes with charset 3). False when the recipient is not online.
    bool injectMessage(const QString &fromUin, const QString &toUin, const QByteArray &text,
                       quint16 charset = IcbmText::CharsetLocal);
    // The same with the text converted to Windows-1251.
    bool injectText(const QString &fromUin, const QString &toUin, const QString &text);

    // The cookie of the number's latest accepted login; empty when there was none.
    QByteArray lastCookie(const QString &uin) const;
    // "host:port" as TLV 5 of the login reply names it.
    QString sessionAddress() const;

    // Frames the number's clients sent on the session port, from the cookie on, in order and
    // as they came (all its sessions since the server started or the log was cleared).
    QList<QByteArray> framesFrom(const QString &uin) const;
    void clearFrames();
    // On by default; a long-running server turns it off.
    void setRecordFrames(bool record);

    // Drops the number's session connection without any goodbye frame.
    bool closeSessionSilently(const QString &uin);
    // Ends the number's session with a channel-4 frame, then closes it.
    bool signOff(const QString &uin);

Q_SIGNALS:
    void loginAttempted(const QString &uin);
    void loggedIn(const QString &uin); // the login leg handed out a cookie
    void loginRefused(const QString &uin, quint16 errorCode);
    void sessionOpened(const QString &uin); // the session leg took the cookie
    void signedOn(const QString &uin);      // client ready: the number is online
    void sessionClosed(const QString &uin); // a session that had taken its cookie ended
    void statusChanged(const QString &uin, quint32 status);
    void messageRouted(const QString &from, const QString &to, const QByteArray &text);

private:
    void onLoginConnection();
    void onSessionConnection();
    void onLoginClosed(LoginHandler *handler);
    void onSessionAuthenticated(SessionHandler *session);
    void onSessionClosed(SessionHandler *session);
    void updateSessionAddress();

    std::unique_ptr<ServerState> m_state;
    MessageRouter *m_router = nullptr;
    QTcpServer *m_loginListener = nullptr;
    QTcpServer *m_sessionListener = nullptr;
    QSet<LoginHandler *> m_logins;
    QSet<SessionHandler *> m_sessions;
    QHash<QString, quint32> m_statuses;
    QHash<QString, QByteArray> m_lastCookies;
    QHash<QString, QList<QByteArray>> m_frames;
    bool m_recordFrames = true;
    int m_loginsAccepted = 0;
    QString m_advertisedAddress;
    QString m_error;
};
