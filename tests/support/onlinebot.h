#pragma once

#include "session/icqsession.h"
#include "tools/server/oscarserver.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// The texts `from` sent to `to` through the local server, decoded from Windows-1251,
// oldest first.
QStringList textsSent(const OscarServer &server, const QString &from, const QString &to);

// The local OSCAR server on an ephemeral port of 127.0.0.1 with the bot's account, and
// the bot's session that logs in to it as the main bot (slot 1). A test wires the
// session's hooks between the constructor and logIn(), then plays users who write to
// the bot: ask() sends a text and waits for the answer, sentTo() reads what the bot
// sent to a number.
class OnlineBot
{
public:
    static inline const QString DefaultUin = QStringLiteral("111111");
    static inline const QByteArray DefaultPassword = "botpass";
    static constexpr int DefaultTimeoutMs = 30000;

    explicit OnlineBot(const QString &uin = DefaultUin, const QByteArray &password = DefaultPassword);
    OnlineBot(const OnlineBot &) = delete;
    OnlineBot &operator=(const OnlineBot &) = delete;

    // True when the server listens; its error text otherwise goes to errorString().
    bool isListening() const { return m_server->isListening(); }
    QString errorString() const { return m_server->errorString(); }

    OscarServer &server() { return *m_server; }
    const OscarServer &server() const { return *m_server; }
    IcqSession &session() { return *m_session; }
    QString uin() const { return m_uin; }

    void setTimeout(int ms) { m_timeoutMs = ms; }
    int timeout() const { return m_timeoutMs; }

    // Starts the log-in and waits until the server has the bot online.
    bool logIn();

    // What the bot sent to the number, decoded, oldest first.
    QStringList sentTo(const QString &uin) const;
    // Sends text from the number and waits for the bot's next message to it: that
    // message, or "<not injected>" / "<no answer>".
    QString ask(const QString &from, const QString &text);

private:
    QString m_uin;
    QByteArray m_password;
    int m_timeoutMs = DefaultTimeoutMs;
    std::unique_ptr<OscarServer> m_server;
    // Declared after the server: it goes first, so nothing reaches a server being torn down.
    std::unique_ptr<IcqSession> m_session;
};
