#include "tools/server/sessionhandler.h"

#include "session/databytes.h"
#include "session/flap.h"
#include "session/packetreader.h"
#include "tools/server/messagerouter.h"
#include "tools/server/serverstate.h"
#include "tools/server/signonreplies.h"
#include "tools/wire/oscarlink.h"

#include <QDateTime>
#include <QTcpSocket>

namespace {


constexpr quint32 key(quint16 family, quint16 subtype)
{
    return (quint32(family) << 16) | subtype;
}

quint32 requestIdOf(const FLAP &frame)
{
    const QByteArray bytes = frame.SNAC_Request();
    PacketReader r(bytes);
    const quint32 id = r.u32();
    return r.failed() ? 0 : id;
}

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

} // namespace

SessionHandler::SessionHandler(QTcpSocket *socket, ServerState *state, MessageRouter *router, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_router(router)
    , m_link(new OscarLink(socket, this))
{
    handle(0x01, 0x02, &SessionHandler::onClientReady);
    handle(0x01, 0x06, &SessionHandler::onRateRequest);
    handle(0x01, 0x08, &SessionHandler::ignore); // rate acknowledge
    handle(0x01, 0x0E, &SessionHandler::onOwnInfoRequest);
    handle(0x01, 0x11, &SessionHandler::ignore); // idle time
    handle(0x01, 0x17, &SessionHandler::onVersions);
    handle(0x01, 0x1E, &SessionHandler::onSetStatus);
    handle(0x02, 0x02, &SessionHandler::onLocationRights);
    handle(0x02, 0x04, &SessionHandler::ignore); // location info and capabilities
    handle(0x03, 0x02, &SessionHandler::onBuddyListRights);
    handle(0x03, 0x04, &SessionHandler::ignore); // add contacts
    handle(0x03, 0x05, &SessionHandler::ignore); // remove contacts
    handle(0x04, 0x02, &SessionHandler::ignore); // message parameters
    handle(0x04, 0x04, &SessionHandler::onIcbmParameters);
    handle(0x04, 0x06, &SessionHandler::onSendMessage);
    handle(0x09, 0x02, &SessionHandler::onPrivacyRights);
    for (quint16 subtype : {0x04, 0x05, 0x06, 0x07, 0x08}) // permit and deny lists
        handle(0x09, subtype, &SessionHandler::ignore);
    handle(0x15, 0x02, &SessionHandler::onMetaRequest);

    m_link->setWriteMode(m_state->settings.sessionWriteMode);
    m_link->setSequence(m_state->firstSequence());
    m_state->checkSequence(m_link, QStringLiteral("session connection"));
    connect(m_link, &OscarLink::frameReceived, this, &SessionHandler::onFrame);
    connect(m_link, &OscarLink::streamBroken, this,
            [this] { qCInfo(lcOscarServer) << "session" << m_uin << "lost the frame marker; dropped"; });
    connect(m_link, &OscarLink::closed, this, [this] {
        m_cookieTimeout.stop();
        emit closed(this);
    });

    m_cookieTimeout.setSingleShot(true);
    m_cookieTimeout.setInterval(m_state->settings.unauthenticatedTimeoutMs);
    connect(&m_cookieTimeout, &QTimer::timeout, this, [this] {
        qCInfo(lcOscarServer) << "session connection without a cookie timed out";
        m_link->abort();
    });
    m_cookieTimeout.start();

    if (m_state->settings.faults.applies(ServerFault::SilentSession)) {
        qCInfo(lcOscarServer) << "session connection left without a hello";
        return;
    }
    m_link->sendFrame(ChannelSignOn, DataForm::HexToBytes("00000001"));
}

SessionHandler::~SessionHandler() = default;

void SessionHandler::handle(quint16 family, quint16 subtype, SnacHandler handler)
{
    m_handlers.insert(key(family, subtype), handler);
}

void SessionHandler::onFrame(const FLAP &frame)
{
    switch (frame.ChannelID()) {
    case ChannelSignOn:
        onCookie(frame);
        break;
    case ChannelSnac:
        onSnac(frame);
        break;
    case ChannelSignOff:
        m_link->closeWhenWritten();
        break;
    default: // keep-alives (5) and anything else
        if (m_state->firstReport(frame.ChannelID(), 0, 0))
            qCInfo(lcOscarServer) << "ignoring session frames on channel" << frame.ChannelID();
        break;
    }
    if (m_authenticated)
        emit frameReceived(this, frame.FLAP_Send()); // the parsed frame gives back its bytes
}

void SessionHandler::onCookie(const FLAP &frame)
{
    if (m_authenticated) {
        if (m_state->firstReport(ChannelSignOn, 0, 1))
            qCInfo(lcOscarServer) << "ignoring a second sign-on frame on a session";
        return;
    }
    const QByteArray data = frame.Data();
    PacketReader r(data);
    const quint32 version = r.u32();
    const QList<TLVEntry> tlvs = r.tlvs();
    QByteArray cookie;
    if (version != 1 || !findTlv(tlvs, 0x0006, &cookie)) {
        refuse("no cookie");
        return;
    }
    const std::optional<QString> uin = m_state->cookies.redeem(cookie);
    if (!uin) {
        refuse("an unknown or used cookie");
        return;
    }
    if (m_state->settings.faults.applies(ServerFault::CloseAfterCookie, *uin)) {
        qCInfo(lcOscarServer).noquote() << "session of" << *uin << "closed after its cookie";
        m_link->abort();
        return;
    }
    m_uin = *uin;
    m_authenticated = true;
    m_signOnTime = now();
    m_cookieTimeout.stop();
    emit authenticated(this);

    notify(0x01, 0x03, SignOnReplies::serverFamilies());
    notify(0x01, 0x13, SignOnReplies::messageOfTheDay(m_state->settings.messageOfTheDay));
    notify(0x0B, 0x02, SignOnReplies::reportInterval());
}

void SessionHandler::refuse(const char *why)
{
    qCInfo(lcOscarServer) << "session refused:" << why;
    m_link->sendFrame(ChannelSignOff, {});
    m_link->closeWhenWritten();
}

void SessionHandler::onSnac(const FLAP &frame)
{
    const quint16 family = quint16(frame.SNAC_FamID());
    const quint16 subtype = quint16(frame.SNAC_TipID());
    if (!m_authenticated) {
        if (m_state->firstReport(ChannelSnac, 0xFFFF, 0))
            qCInfo(lcOscarServer) << "ignoring SNACs sent before the cookie";
        return;
    }
    if (frame.Data().size() < 10) {
        if (m_state->firstReport(ChannelSnac, 0xFFFF, 1))
            qCInfo(lcOscarServer) << "ignoring channel-2 frames too short for a SNAC header";
        return;
    }
    const SnacHandler handler = m_handlers.value(key(family, subtype), nullptr);
    if (!handler) {
        if (m_state->firstReport(ChannelSnac, family, subtype))
            qCInfo(lcOscarServer).noquote()
                << QStringLiteral("ignoring unknown SNAC %1,%2")
                       .arg(QString::number(family, 16).toUpper(), QString::number(subtype, 16).toUpper());
        return;
    }
    (this->*handler)(frame);
}

void SessionHandler::reply(const FLAP &request, quint16 family, quint16 subtype, QByteArrayView body)
{
    m_link->sendSnac(family, subtype, requestIdOf(request), body);
}

void SessionHandler::notify(quint16 family, quint16 subtype, QByteArrayView body)
{
    // Unasked SNACs carry request ids with the top bit set, as real servers' do.
    m_link->sendSnac(family, subtype, 0x80000000u | ++m_notices, body);
}

QList<TLVEntry> SessionHandler::ownUserInfo() const
{
    return SignOnReplies::userInfo(m_status.value_or(0), m_signOnTime, now(), false);
}

bool SessionHandler::deliverMessage(const IcbmText &message, quint32 senderStatus, qint64 senderSignOnTime)
{
    if (!m_link->isOpen())
        return false;
    const std::optional<QByteArray> body =
        Icbm::receiveBody(message, SignOnReplies::userInfo(senderStatus, senderSignOnTime, now(),
                                                           m_state->settings.shortUserInfoTlvs));
    if (!body) {
        qCWarning(lcOscarServer) << "a message for" << m_uin << "does not fit a frame; not delivered";
        return false;
    }
    notify(Icbm::Family, Icbm::ReceiveSubtype, *body);
    return true;
}

void SessionHandler::endForAnotherLogin()
{
    PacketWriter w;
    w.tlvU16(0x0009, 0x0001); // reason: the number logged in elsewhere
    m_link->sendFrame(ChannelSignOff, w.data());
    m_link->closeWhenWritten();
}

void SessionHandler::signOff()
{
    m_link->sendFrame(ChannelSignOff, {});
    m_link->closeWhenWritten();
}

void SessionHandler::dropSilently()
{
    m_link->abort();
}

void SessionHandler::onClientReady(const FLAP &)
{
    if (m_signedOn)
        return;
    m_signedOn = true;
    emit signedOn(this);
}

void SessionHandler::onRateRequest(const FLAP &request)
{
    reply(request, 0x01, 0x07, SignOnReplies::rateInformation());
    notify(0x01, 0x13, SignOnReplies::messageOfTheDay(m_state->settings.messageOfTheDay));
}

void SessionHandler::onOwnInfoRequest(const FLAP &request)
{
    if (m_state->settings.ownInfoWithOwnRequestId)
        notify(0x01, 0x0F, SignOnReplies::ownInformation(m_uin, ownUserInfo()));
    else
        reply(request, 0x01, 0x0F, SignOnReplies::ownInformation(m_uin, ownUserInfo()));
}

void SessionHandler::onVersions(const FLAP &request)
{
    reply(request, 0x01, 0x18, SignOnReplies::serviceVersions());
}

void SessionHandler::onSetStatus(const FLAP &request)
{
    const QByteArray data = request.SNAC_Data();
    PacketReader r(data);
    QByteArray value;
    if (findTlv(r.tlvs(), 0x0006, &value) && value.size() == 4) {
        m_status = PacketReader(value).u32();
        emit statusChanged(this, *m_status);
    } else if (m_state->firstReport(ChannelSnac, 0x01, 0x1E)) {
        qCInfo(lcOscarServer).noquote()
            << "a status SNAC without a readable status:" << DataForm::ShowHex(request.SNAC_Data().left(64));
    }
    // Real servers answer a status change with the user's information.
    if (m_state->settings.ownInfoWithOwnRequestId)
        notify(0x01, 0x0F, SignOnReplies::ownInformation(m_uin, ownUserInfo()));
    else
        reply(request, 0x01, 0x0F, SignOnReplies::ownInformation(m_uin, ownUserInfo()));
}

void SessionHandler::onLocationRights(const FLAP &request)
{
    reply(request, 0x02, 0x03, SignOnReplies::locationRights());
}

void SessionHandler::onBuddyListRights(const FLAP &request)
{
    reply(request, 0x03, 0x03, SignOnReplies::buddyListRights());
}

void SessionHandler::onIcbmParameters(const FLAP &request)
{
    reply(request, 0x04, 0x05, SignOnReplies::icbmParameters());
}

void SessionHandler::onSendMessage(const FLAP &request)
{
    const std::optional<IcbmText> message = Icbm::parseSendBody(request.SNAC_Data());
    if (!message || message->channel != 1) {
        if (m_state->firstReport(ChannelSnac, Icbm::Family, Icbm::SendSubtype))
            qCInfo(lcOscarServer).noquote() << "ignoring a 4,6 that is no channel-1 text:"
                                            << DataForm::ShowHex(request.SNAC_Data().left(64));
        return;
    }
    if (!m_router->route(m_uin, *message)) {
        constexpr quint16 RecipientOffline = 0x0004;
        reply(request, Icbm::Family, Icbm::ErrorSubtype, SignOnReplies::icbmError(RecipientOffline));
    } else if (message->ackRequested) {
        reply(request, Icbm::Family, Icbm::AckSubtype,
              SignOnReplies::icbmAck(message->cookie, message->channel, message->uin));
    }
}

void SessionHandler::onPrivacyRights(const FLAP &request)
{
    reply(request, 0x09, 0x03, SignOnReplies::privacyRights());
}

void SessionHandler::onMetaRequest(const FLAP &request)
{
    const std::optional<QByteArray> answer = SignOnReplies::metaReply(request.SNAC_Data());
    if (answer)
        reply(request, 0x15, 0x03, *answer);
    else if (m_state->firstReport(ChannelSnac, 0x15, 0x02))
        qCInfo(lcOscarServer) << "ignoring a meta request it cannot answer";
}
