#pragma once

#include "session/flap.h"
#include "tools/wire/icbm.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class MessageRouter;
class OscarLink;
class QTcpSocket;
struct ServerState;

// One client on the session port: the cookie, the sign-on answers, then messages and
// status. SNACs are handled through a table keyed by (family, subtype); anything else is
// logged once and ignored.
class SessionHandler : public QObject
{
    Q_OBJECT
public:
    SessionHandler(QTcpSocket *socket, ServerState *state, MessageRouter *router, QObject *parent = nullptr);
    ~SessionHandler() override;

    OscarLink *link() const { return m_link; }
    QString uin() const { return m_uin; }
    bool isAuthenticated() const { return m_authenticated; }
    bool isSignedOn() const { return m_signedOn; }
    std::optional<quint32> status() const { return m_status; }
    qint64 signOnTime() const { return m_signOnTime; }

    // Sends SNAC 4,7; false when the message cannot be framed or the link is closing.
    bool deliverMessage(const IcbmText &message, quint32 senderStatus, qint64 senderSignOnTime);
    // Channel 4 naming another login as the reason, then close.
    void endForAnotherLogin();
    // Channel 4, then close.
    void signOff();
    // Drops the connection without any goodbye.
    void dropSilently();

Q_SIGNALS:
    void authenticated(SessionHandler *session);
    void signedOn(SessionHandler *session);
    void statusChanged(SessionHandler *session, quint32 status);
    // Every frame the client sent from its cookie on, as it came.
    void frameReceived(SessionHandler *session, const QByteArray &frame);
    void closed(SessionHandler *session);

private:
    using SnacHandler = void (SessionHandler::*)(const FLAP &);

    void handle(quint16 family, quint16 subtype, SnacHandler handler);
    void onFrame(const FLAP &frame);
    void onCookie(const FLAP &frame);
    void onSnac(const FLAP &frame);
    void refuse(const char *why);
    void reply(const FLAP &request, quint16 family, quint16 subtype, QByteArrayView body);
    void notify(quint16 family, quint16 subtype, QByteArrayView body);
    QList<TLVEntry> ownUserInfo() const;

    void ignore(const FLAP &) {}
    void onClientReady(const FLAP &request);
    void onRateRequest(const FLAP &request);
    void onOwnInfoRequest(const FLAP &request);
    void onVersions(const FLAP &request);
    void onSetStatus(const FLAP &request);
    void onLocationRights(const FLAP &request);
    void onBuddyListRights(const FLAP &request);
    void onIcbmParameters(const FLAP &request);
    void onSendMessage(const FLAP &request);
    void onPrivacyRights(const FLAP &request);
    void onMetaRequest(const FLAP &request);

    ServerState *m_state = nullptr;
    MessageRouter *m_router = nullptr;
    OscarLink *m_link = nullptr;
    QHash<quint32, SnacHandler> m_handlers;
    QTimer m_cookieTimeout;
    QString m_uin;
    bool m_authenticated = false;
    bool m_signedOn = false;
    std::optional<quint32> m_status;
    qint64 m_signOnTime = 0;
    quint32 m_notices = 0;
};
