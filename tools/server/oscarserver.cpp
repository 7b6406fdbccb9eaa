#include "tools/server/oscarserver.h"

#include "core/cp1251.h"
#include "tools/server/loginhandler.h"
#include "tools/server/serverstate.h"
#include "tools/server/sessionhandler.h"

#include <QTcpServer>

Q_LOGGING_CATEGORY(lcOscarServer, "korvane.tools.oscarserver")

OscarServer::OscarServer(QObject *parent)
    : QObject(parent)
    , m_state(std::make_unique<ServerState>())
    , m_router(new MessageRouter(m_state.get(), this))
{
    connect(m_router, &MessageRouter::messageRouted, this, &OscarServer::messageRouted);
}

OscarServer::~OscarServer()
{
    // Handlers go first and quietly: their sockets report closing while they die.
    for (LoginHandler *handler : std::as_const(m_logins)) {
        handler->disconnect(this);
        delete handler;
    }
    for (SessionHandler *session : std::as_const(m_sessions)) {
        session->disconnect(this);
        m_router->detach(session);
        delete session;
    }
    delete m_loginListener;
    delete m_sessionListener;
}

void OscarServer::addAccount(const QString &uin, const QByteArray &password)
{
    m_state->accounts.add(uin, password);
}

bool OscarServer::removeAccount(const QString &uin)
{
    return m_state->accounts.remove(uin);
}

bool OscarServer::loadAccounts(const QString &path, QString *error)
{
    return m_state->accounts.load(path, error);
}

bool OscarServer::hasAccount(const QString &uin) const
{
    return m_state->accounts.contains(uin);
}

QStringList OscarServer::accounts() const
{
    return m_state->accounts.uins();
}

bool OscarServer::listen(const QHostAddress &address, quint16 loginPort, quint16 sessionPort)
{
    close();
    m_loginListener = new QTcpServer(this);
    m_sessionListener = new QTcpServer(this);
    if (!m_loginListener->listen(address, loginPort)) {
        m_error = QStringLiteral("login port: %1").arg(m_loginListener->errorString());
    } else if (!m_sessionListener->listen(address, sessionPort)) {
        m_error = QStringLiteral("session port: %1").arg(m_sessionListener->errorString());
    } else {
        m_error.clear();
        connect(m_loginListener, &QTcpServer::newConnection, this, &OscarServer::onLoginConnection);
        connect(m_sessionListener, &QTcpServer::newConnection, this, &OscarServer::onSessionConnection);
        updateSessionAddress();
        return true;
    }
    delete m_loginListener;
    delete m_sessionListener;
    m_loginListener = m_sessionListener = nullptr;
    return false;
}

void OscarServer::close()
{
    delete m_loginListener;
    delete m_sessionListener;
    m_loginListener = m_sessionListener = nullptr;
    // Each handler reports its own end, which takes it out of these sets.
    for (LoginHandler *handler : QSet<LoginHandler *>(m_logins))
        handler->link()->abort();
    for (SessionHandler *session : QSet<SessionHandler *>(m_sessions))
        session->dropSilently();
}

bool OscarServer::isListening() const
{
    return m_loginListener && m_loginListener->isListening();
}

quint16 OscarServer::loginPort() const
{
    return m_loginListener ? m_loginListener->serverPort() : 0;
}

quint16 OscarServer::sessionPort() const
{
    return m_sessionListener ? m_sessionListener->serverPort() : 0;
}

QHostAddress OscarServer::address() const
{
    return m_loginListener ? m_loginListener->serverAddress() : QHostAddress();
}

void OscarServer::setWriteMode(WriteMode mode)
{
    setLoginWriteMode(mode);
    setSessionWriteMode(mode);
}

void OscarServer::setLoginWriteMode(WriteMode mode)
{
    m_state->settings.loginWriteMode = mode;
    for (LoginHandler *handler : std::as_const(m_logins))
        handler->link()->setWriteMode(mode);
}

void OscarServer::setSessionWriteMode(WriteMode mode)
{
    m_state->settings.sessionWriteMode = mode;
    for (SessionHandler *session : std::as_const(m_sessions))
        session->link()->setWriteMode(mode);
}

OscarServer::WriteMode OscarServer::loginWriteMode() const
{
    return m_state->settings.loginWriteMode;
}

OscarServer::WriteMode OscarServer::sessionWriteMode() const
{
    return m_state->settings.sessionWriteMode;
}

void OscarServer::setCookieLength(int bytes)
{
    m_state->settings.cookieLength = qBound(1, bytes, 0xFFFF);
}

int OscarServer::cookieLength() const
{
    return m_state->settings.cookieLength;
}

void OscarServer::setMessageOfTheDay(const QByteArray &text)
{
    m_state->settings.messageOfTheDay = text;
}

void OscarServer::setOwnInfoWithOwnRequestId(bool ownId)
{
    m_state->settings.ownInfoWithOwnRequestId = ownId;
}

void OscarServer::setShortUserInfoTlvs(bool shortTlvs)
{
    m_state->settings.shortUserInfoTlvs = shortTlvs;
}

void OscarServer::setAdvertisedSessionAddress(const QString &hostAndPort)
{
    m_advertisedAddress = hostAndPort;
    updateSessionAddress();
}

void OscarServer::setUnauthenticatedTimeout(int ms)
{
    m_state->settings.unauthenticatedTimeoutMs = ms;
}

void OscarServer::setFault(Fault fault, const QString &uin)
{
    m_state->settings.faults.set(fault, fault == Fault::SilentSession ? QString() : uin);
}

void OscarServer::clearFault(Fault fault)
{
    m_state->settings.faults.clear(fault);
}

void OscarServer::clearFaults()
{
    m_state->settings.faults.clearAll();
}

void OscarServer::refuseNextLogin(const QString &uin, quint16 errorCode)
{
    m_state->loginPolicy.refuseNext(uin, errorCode);
}

void OscarServer::setRefuseLogins(bool refuse, quint16 errorCode)
{
    m_state->loginPolicy.setRefuseAll(refuse, errorCode);
}

int OscarServer::loginAttempts() const
{
    return m_state->loginPolicy.attempts();
}

int OscarServer::loginAttempts(const QString &uin) const
{
    return m_state->loginPolicy.attempts(uin);
}

int OscarServer::sequenceErrors() const
{
    return m_state->sequenceErrors;
}

void OscarServer::resetLoginAttempts()
{
    m_state->loginPolicy.resetCounters();
}

bool OscarServer::isOnline(const QString &uin) const
{
    return m_router->isOnline(uin);
}

QStringList OscarServer::onlineAccounts() const
{
    return m_router->onlineUins();
}

std::optional<quint32> OscarServer::statusOf(const QString &uin) const
{
    const auto it = m_statuses.constFind(uin);
    if (it == m_statuses.cend())
        return std::nullopt;
    return *it;
}

QList<RoutedMessage> OscarServer::messagesSentBy(const QString &uin) const
{
    return m_router->sentBy(uin);
}

QList<RoutedMessage> OscarServer::routedMessages() const
{
    return m_router->log();
}

void OscarServer::clearRoutedMessages()
{
    m_router->clearLog();
}

bool OscarServer::injectMessage(const QString &fromUin, const QString &toUin, const QByteArray &text,
                                quint16 charset)
{
    return m_router->inject(fromUin, toUin, text, charset);
}

bool OscarServer::injectText(const QString &fromUin, const QString &toUin, const QString &text)
{
    return injectMessage(fromUin, toUin, Cp1251::encode(text));
}

QByteArray OscarServer::lastCookie(const QString &uin) const
{
    return m_lastCookies.value(uin);
}

QString OscarServer::sessionAddress() const
{
    return m_state->sessionAddress;
}

QList<QByteArray> OscarServer::framesFrom(const QString &uin) const
{
    return m_frames.value(uin);
}

void OscarServer::clearFrames()
{
    m_frames.clear();
}

void OscarServer::setRecordFrames(bool record)
{
    m_recordFrames = record;
    if (!record)
        m_frames.clear();
}

bool OscarServer::closeSessionSilently(const QString &uin)
{
    SessionHandler *session = m_router->sessionOf(uin);
    if (!session)
        return false;
    session->dropSilently();
    return true;
}

bool OscarServer::signOff(const QString &uin)
{
    SessionHandler *session = m_router->sessionOf(uin);
    if (!session)
        return false;
    session->signOff();
    return true;
}

void OscarServer::onLoginConnection()
{
    while (m_loginListener && m_loginListener->hasPendingConnections()) {
        auto *handler = new LoginHandler(m_loginListener->nextPendingConnection(), m_state.get(), this);
        m_logins.insert(handler);
        ++m_loginsAccepted;
        connect(handler, &LoginHandler::attempted, this, &OscarServer::loginAttempted);
        connect(handler, &LoginHandler::accepted, this, [this](const QString &uin, const QByteArray &cookie) {
            m_lastCookies.insert(uin, cookie);
            emit loggedIn(uin);
        });
        connect(handler, &LoginHandler::refused, this, &OscarServer::loginRefused);
        connect(handler, &LoginHandler::closed, this, &OscarServer::onLoginClosed);
    }
}

void OscarServer::onSessionConnection()
{
    while (m_sessionListener && m_sessionListener->hasPendingConnections()) {
        auto *session =
            new SessionHandler(m_sessionListener->nextPendingConnection(), m_state.get(), m_router, this);
        m_sessions.insert(session);
        connect(session, &SessionHandler::authenticated, this, &OscarServer::onSessionAuthenticated);
        connect(session, &SessionHandler::signedOn, this,
                [this](SessionHandler *s) { emit signedOn(s->uin()); });
        connect(session, &SessionHandler::statusChanged, this, [this](SessionHandler *s, quint32 status) {
            m_statuses.insert(s->uin(), status);
            emit statusChanged(s->uin(), status);
        });
        connect(session, &SessionHandler::frameReceived, this,
                [this](SessionHandler *s, const QByteArray &frame) {
                    if (m_recordFrames)
                        m_frames[s->uin()].append(frame);
                });
        connect(session, &SessionHandler::closed, this, &OscarServer::onSessionClosed);
    }
}

void OscarServer::onLoginClosed(LoginHandler *handler)
{
    m_logins.remove(handler);
    handler->deleteLater();
}

void OscarServer::onSessionAuthenticated(SessionHandler *session)
{
    // A number has one session: a new one pushes the old one out, as real servers do.
    if (SessionHandler *previous = m_router->attach(session))
        previous->endForAnotherLogin();
    emit sessionOpened(session->uin());
}

void OscarServer::onSessionClosed(SessionHandler *session)
{
    m_sessions.remove(session);
    m_router->detach(session);
    if (session->isAuthenticated())
        emit sessionClosed(session->uin());
    session->deleteLater();
}

void OscarServer::updateSessionAddress()
{
    if (!m_advertisedAddress.isEmpty()) {
        m_state->sessionAddress = m_advertisedAddress;
        return;
    }
    if (!m_sessionListener)
        return;
    QHostAddress host = m_sessionListener->serverAddress();
    if (host == QHostAddress::Any || host == QHostAddress::AnyIPv4 || host == QHostAddress::AnyIPv6)
        host = QHostAddress::LocalHost;
    m_state->sessionAddress =
        QStringLiteral("%1:%2").arg(host.toString()).arg(m_sessionListener->serverPort());
}
