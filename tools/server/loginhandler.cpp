#include "tools/server/loginhandler.h"

#include "session/databytes.h"
#include "session/flap.h"
#include "session/packetreader.h"
#include "tools/server/serverstate.h"
#include "tools/wire/oscarlink.h"

#include <QTcpSocket>

namespace {


constexpr quint16 TlvScreenName = 0x0001;
constexpr quint16 TlvRoastedPassword = 0x0002;
constexpr quint16 TlvErrorUrl = 0x0004;
constexpr quint16 TlvSessionAddress = 0x0005;
constexpr quint16 TlvCookie = 0x0006;
constexpr quint16 TlvErrorCode = 0x0008;

} // namespace

LoginHandler::LoginHandler(QTcpSocket *socket, ServerState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_link(new OscarLink(socket, this))
{
    m_link->setWriteMode(m_state->settings.loginWriteMode);
    m_link->setSequence(m_state->firstSequence());
    m_state->checkSequence(m_link, QStringLiteral("login connection"));
    connect(m_link, &OscarLink::frameReceived, this, &LoginHandler::onFrame);
    connect(m_link, &OscarLink::streamBroken, this,
            [] { qCInfo(lcOscarServer) << "login connection lost the frame marker; dropped"; });
    connect(m_link, &OscarLink::closed, this, [this] {
        m_idleTimeout.stop();
        emit closed(this);
    });

    // A client that neither logs in nor leaves after its answer is dropped.
    m_idleTimeout.setSingleShot(true);
    m_idleTimeout.setInterval(m_state->settings.unauthenticatedTimeoutMs);
    connect(&m_idleTimeout, &QTimer::timeout, m_link, &OscarLink::abort);
    m_idleTimeout.start();

    m_link->sendFrame(ChannelSignOn, DataForm::HexToBytes("00000001"));
}

LoginHandler::~LoginHandler() = default;

void LoginHandler::onFrame(const FLAP &frame)
{
    switch (frame.ChannelID()) {
    case ChannelSignOn:
        onLogin(frame);
        break;
    case ChannelSignOff:
        // The client's goodbye after it has its cookie.
        m_link->closeWhenWritten();
        break;
    default:
        if (m_state->firstReport(0x80 | frame.ChannelID(), quint16(frame.SNAC_FamID()),
                                 quint16(frame.SNAC_TipID())))
            qCInfo(lcOscarServer).noquote()
                << QStringLiteral("login connection: ignoring a channel-%1 frame (SNAC %2,%3)")
                       .arg(frame.ChannelID())
                       .arg(frame.SNAC_FamID(), 0, 16)
                       .arg(frame.SNAC_TipID(), 0, 16);
        break;
    }
}

void LoginHandler::onLogin(const FLAP &frame)
{
    const QByteArray data = frame.Data();
    PacketReader r(data);
    const quint32 version = r.u32();
    if (r.atEnd())
        return; // the client's hello alone: the login packet follows
    if (m_answered || version != 1) {
        if (m_state->firstReport(0x80 | ChannelSignOn, 0, m_answered ? 1 : 2))
            qCInfo(lcOscarServer) << "login connection: ignoring an unexpected channel-1 frame";
        return;
    }
    const QList<TLVEntry> tlvs = r.tlvs();
    QByteArray screenName;
    QByteArray roasted;
    findTlv(tlvs, TlvScreenName, &screenName);
    findTlv(tlvs, TlvRoastedPassword, &roasted);
    const QString uin = QString::fromLatin1(screenName);
    // Roasting is an XOR, so roasting again gives the password back.
    const QByteArray password = DataForm::RoastPassword(roasted);

    m_answered = true;
    emit attempted(uin);
    const LoginPolicy::Decision decision = m_state->loginPolicy.decide(uin, password, m_state->accounts);
    if (m_state->settings.faults.applies(ServerFault::NoLoginReply, uin)) {
        qCInfo(lcOscarServer).noquote() << "login of" << uin << "left without an answer";
        return;
    }

    // TLV 1 first: the bot acts on TLVs 4, 5 and 6 only after it has seen its number.
    PacketWriter reply;
    reply.tlv(TlvScreenName, screenName);
    if (decision.accepted) {
        const QByteArray cookie =
            m_state->cookies.issue(uin, m_state->settings.cookieLength, m_state->random);
        reply.tlv(TlvSessionAddress, m_state->sessionAddress.toLatin1()).tlv(TlvCookie, cookie);
        m_link->sendFrame(ChannelSignOff, reply.data());
        emit accepted(uin, cookie);
    } else {
        QByteArray url = m_state->settings.errorUrl;
        url += "?code=" + QByteArray::number(decision.errorCode);
        reply.tlv(TlvErrorUrl, url).tlvU16(TlvErrorCode, decision.errorCode);
        m_link->sendFrame(ChannelSignOff, reply.data());
        // A refused client gets nothing more: the server closes, as real ones do.
        if (!m_state->settings.faults.applies(ServerFault::KeepRefusedLoginOpen, uin))
            m_link->closeWhenWritten();
        emit refused(uin, decision.errorCode);
    }
}
