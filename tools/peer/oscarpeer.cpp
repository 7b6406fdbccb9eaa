#include "tools/peer/oscarpeer.h"

#include "core/cp1251.h"
#include "session/databytes.h"
#include "session/flap.h"
#include "session/packetreader.h"
#include "tools/wire/oscarlink.h"

#include <QTcpSocket>

namespace {


// The request id of the own-information request sent after client ready: its answer
// shows that the server has handled client ready, so the number is online there.
constexpr quint32 SignOnCheckRequest = 0x00004B21;

// The parts of the bot's sign-on that a server needs, in the bot's bytes.
const char ServiceVersions[] = "00010003 00020001 00030001 00150001 00040001 00060001 00090001 000A0001";
const char RateAcknowledge[] = "00010002000300040005";
const char ClientReady[] = "00010003 0110028A 00020001 0101028A 00030001 0110028A 00150001 0110028A"
                           "00040001 0110028A 00060001 0110028A 00090001 0110028A 000A0001 0110028A";
const char ClientIdentity[] = "ICQ Inc. - Product of ICQ (TM).2000b.4.60.1.3278.85";
// Direct-connection information of a status change: no address, port 25756, protocol 8.
const char DirectConnectionInfo[] = "00000000 0000649C 00 0008 4B4F5256 00000050 00000003"
                                    "42BE2E41 42BE2EB1 42BE2E39 0000";

quint16 u16Of(const QByteArray &bytes)
{
    PacketReader r(bytes);
    return r.u16();
}

} // namespace

OscarPeer::OscarPeer(QObject *parent)
    : QObject(parent)
    , m_random(QRandomGenerator::global()->generate())
{}

OscarPeer::~OscarPeer()
{
    // Links die with this object; their closing must not call back into a half-gone peer.
    if (m_login)
        m_login->disconnect(this);
    if (m_session)
        m_session->disconnect(this);
}

void OscarPeer::logIn(const QString &host, quint16 port, const QString &uin, const QByteArray &password)
{
    m_loggingOut = true; // an earlier login ends quietly
    dropLinks();
    m_state = State::LoggingIn;
    m_loggingOut = false;
    m_host = host;
    m_uin = uin;
    m_password = password;
    m_cookie.clear();
    m_errorCode = 0;
    m_errorString.clear();

    auto *socket = new QTcpSocket;
    m_login = new OscarLink(socket, this);
    m_login->setSequence(2000); // the bot's login packet carries 2000
    connect(m_login, &OscarLink::frameReceived, this, &OscarPeer::onLoginFrame);
    connect(m_login, &OscarLink::closed, this, &OscarPeer::onLoginClosed);
    socket->connectToHost(host, port);
}

void OscarPeer::onLoginFrame(const FLAP &frame)
{
    if (m_state != State::LoggingIn)
        return;
    if (frame.ChannelID() == ChannelSignOff) {
        onLoginReply(frame);
        return;
    }
    if (frame.ChannelID() != ChannelSignOn || frame.Data() != DataForm::HexToBytes("00000001"))
        return;
    PacketWriter w;
    w.u32(1);
    w.tlv(0x0001, m_uin.toLatin1());
    w.tlv(0x0002, DataForm::RoastPassword(m_password));
    w.tlv(0x0003, ClientIdentity);
    w.tlvU16(0x0016, 0x010A).tlvU16(0x0017, 0x0005).tlvU16(0x0018, 0x003C).tlvU16(0x0019, 0x0001);
    w.tlvU16(0x001A, 0x0CCE).tlvU32(0x0014, 0x00000055);
    w.tlv(0x000F, "en").tlv(0x000E, "us");
    m_login->sendFrame(ChannelSignOn, w.data());
}

void OscarPeer::onLoginReply(const FLAP &frame)
{
    const QByteArray data = frame.Data();
    PacketReader r(data);
    const QList<TLVEntry> tlvs = r.tlvs();
    QByteArray address;
    QByteArray cookie;
    if (findTlv(tlvs, 0x0005, &address) && findTlv(tlvs, 0x0006, &cookie)) {
        const qsizetype colon = address.indexOf(':');
        m_sessionHost = QString::fromLatin1(colon < 0 ? address : address.left(colon));
        if (m_sessionHost.isEmpty())
            m_sessionHost = m_host;
        bool ok = false;
        const uint port = colon < 0 ? 5190 : address.mid(colon + 1).toUInt(&ok);
        m_sessionPort = quint16(colon < 0 || (ok && port <= 0xFFFF) ? port : 0);
        m_cookie = cookie;
        OscarLink *login = m_login;
        openSession();                        // first: closing the login link may report at once
        login->sendFrame(ChannelSignOff, {}); // goodbye, as the bot says it
        login->closeWhenWritten();
        return;
    }
    QByteArray code;
    findTlv(tlvs, 0x0008, &code);
    m_errorCode = u16Of(code);
    m_errorString = QStringLiteral("login refused by the server (error code 0x%1)")
                        .arg(m_errorCode, 4, 16, QLatin1Char('0'));
    m_state = State::Refused;
    m_login->abort();
    emit loginRefused(m_errorCode);
}

void OscarPeer::onLoginClosed()
{
    OscarLink *link = m_login;
    m_login = nullptr;
    const QString why = link->socket()->errorString();
    link->deleteLater();
    if (m_state == State::LoggingIn && !m_loggingOut)
        fail(QStringLiteral("the login server closed the connection before answering (%1)").arg(why));
}

void OscarPeer::openSession()
{
    m_state = State::SigningOn;
    m_ownInfoAsked = false;
    auto *socket = new QTcpSocket;
    m_session = new OscarLink(socket, this);
    m_session->setSequence(quint16(m_random.bounded(1, 0x8000)));
    connect(m_session, &OscarLink::frameReceived, this, &OscarPeer::onSessionFrame);
    connect(m_session, &OscarLink::closed, this, &OscarPeer::onSessionClosed);
    socket->connectToHost(m_sessionHost, m_sessionPort);
}

void OscarPeer::onSessionFrame(const FLAP &frame)
{
    switch (frame.ChannelID()) {
    case ChannelSignOn:
        if (m_state == State::SigningOn && frame.Data() == DataForm::HexToBytes("00000001")) {
            PacketWriter w;
            w.u32(1).tlv(0x0006, m_cookie);
            m_session->sendFrame(ChannelSignOn, w.data());
        }
        break;
    case ChannelSnac:
        onSnac(frame);
        break;
    case ChannelSignOff:
        m_errorString = m_state == State::SigningOn ? QStringLiteral("the session server refused the cookie")
                                                    : QStringLiteral("the server ended the session");
        m_session->abort();
        break;
    default:
        break;
    }
}

void OscarPeer::onSnac(const FLAP &frame)
{
    const quint16 family = quint16(frame.SNAC_FamID());
    const quint16 subtype = quint16(frame.SNAC_TipID());
    const QByteArray requestBytes = frame.SNAC_Request();
    const quint32 request = PacketReader(requestBytes).u32();
    if (family == 0x01 && subtype == 0x03) {
        sendSnac(0x01, 0x17, 0x00000017, DataForm::HexToBytes(ServiceVersions));
    } else if (family == 0x01 && subtype == 0x18) {
        sendSnac(0x01, 0x06, 0x00000006, {});
    } else if (family == 0x01 && subtype == 0x07) {
        sendSnac(0x01, 0x08, 0x00000008, DataForm::HexToBytes(RateAcknowledge));
        sendStatusFrame(0x00030000);
        sendSnac(0x01, 0x02, 0x00000002, DataForm::HexToBytes(ClientReady));
        sendSnac(0x01, 0x0E, SignOnCheckRequest, {});
        m_ownInfoAsked = true;
    } else if (family == 0x01 && subtype == 0x0F) {
        // Some servers answer under a request id of their own: any own information after
        // the request counts, as the bot takes it.
        if (m_state == State::SigningOn && (request == SignOnCheckRequest || m_ownInfoAsked)) {
            m_state = State::Online;
            emit signedOn();
        }
    } else if (family == Icbm::Family && subtype == Icbm::ReceiveSubtype) {
        const std::optional<IcbmText> message = Icbm::parseReceiveBody(frame.SNAC_Data());
        if (!message)
            return;
        const Message received{message->uin, message->decodedText(), message->text, message->charset};
        m_received.append(received);
        emit messageReceived(received.from, received.text);
    }
}

void OscarPeer::onSessionClosed()
{
    OscarLink *link = m_session;
    m_session = nullptr;
    if (m_errorString.isEmpty())
        m_errorString = link->socket()->errorString();
    link->deleteLater();
    if (m_state == State::SigningOn && !m_loggingOut) {
        fail(QStringLiteral("the session connection ended before sign-on: %1").arg(m_errorString));
    } else if (m_state == State::Online || m_state == State::SigningOn) {
        m_state = State::Closed;
        emit closed();
    }
}

void OscarPeer::fail(const QString &reason)
{
    m_state = State::Failed;
    m_errorString = reason;
    dropLinks();
    emit failed(reason);
}

void OscarPeer::logOut()
{
    m_loggingOut = true;
    if (m_session && m_session->isOpen()) {
        m_session->sendFrame(ChannelSignOff, {});
        m_session->closeWhenWritten();
        return;
    }
    dropLinks();
    if (m_state != State::Closed) {
        m_state = State::Closed;
        emit closed();
    }
}

void OscarPeer::abort()
{
    m_loggingOut = true;
    dropLinks();
}

void OscarPeer::dropLinks()
{
    // Each link reports its own closing and is then let go.
    if (m_login)
        m_login->abort();
    if (m_session)
        m_session->abort();
}

bool OscarPeer::sendText(const QString &toUin, const QString &text)
{
    return sendBytes(toUin, Cp1251::encode(text));
}

bool OscarPeer::sendBytes(const QString &toUin, const QByteArray &text, quint16 charset)
{
    if (m_state != State::Online)
        return false;
    IcbmText message;
    message.cookie = Icbm::randomCookie(m_random);
    message.uin = toUin;
    message.text = text;
    message.charset = charset;
    const std::optional<QByteArray> body = Icbm::sendBody(message);
    if (!body)
        return false;
    sendSnac(Icbm::Family, Icbm::SendSubtype, 0x00010006, *body); // the bot's request id
    return true;
}

bool OscarPeer::sendStatus(quint32 status)
{
    if (m_state != State::Online)
        return false;
    sendStatusFrame(status);
    return true;
}

void OscarPeer::sendStatusFrame(quint32 status)
{
    PacketWriter w;
    w.tlvU32(0x0006, status).tlvU16(0x0008, 0).tlv(0x000C, DataForm::HexToBytes(DirectConnectionInfo));
    sendSnac(0x01, 0x1E, 0x0000001E, w.data());
}

void OscarPeer::sendSnac(quint16 family, quint16 subtype, quint32 requestId, const QByteArray &body)
{
    if (m_session)
        m_session->sendSnac(family, subtype, requestId, body);
}
