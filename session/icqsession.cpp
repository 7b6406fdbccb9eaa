#include "session/icqsession.h"

#include "core/cp1251.h"
#include "core/softassert.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "platform/dialogs.h"
#include "session/connectionlog.h"
#include "session/databytes.h"
#include "session/flap.h"
#include "session/hexlog.h"
#include "session/incomingreader.h"
#include "session/loginexchange.h"
#include "session/messagesender.h"
#include "session/signon.h"
#include "session/socketcontrol.h"
#include "session/statuschange.h"

#include <QLoggingCategory>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <vector>

Q_LOGGING_CATEGORY(lcSession, "korvane.session", QtInfoMsg)
// The routine SNACs a server sends and the bot has no use for; off unless asked for
// (QT_LOGGING_RULES="korvane.session.ignored.debug=true").
Q_LOGGING_CATEGORY(lcIgnoredSnac, "korvane.session.ignored", QtWarningMsg)

namespace {

// Frames of one session connection handled per turn of the event loop.
constexpr int FramesPerTurn = 8;
// Frames read ahead of handling before the connection's reading pauses.
constexpr qsizetype MaxPendingFrames = 256;


const QString RefusedTitle = QStringLiteral("Ошибка ввода логина или пароля");
const QString RefusedText =
    QStringLiteral("Ошибка подключения. Она могла возникнуть из-за того, что Вы не правильно "
                   "ввели логин или пароль, либо превышен лимит подключений к серверу.");

quint32 snacKey(int family, int subtype)
{
    return (quint32(family & 0xFFFF) << 16) | quint32(subtype & 0xFFFF);
}

QString hexNumber(int n)
{
    return QString::number(n, 16).toUpper();
}

bool isSlot(int slot)
{
    return slot >= 1 && slot <= IcqSession::MaxSlot;
}

} // namespace

IcqSession::IcqSession(QObject *parent)
    : QObject(parent)
    , m_drainTimer(new QTimer(this))
{
    m_drainTimer->setInterval(0);
    connect(m_drainTimer, &QTimer::timeout, this, &IcqSession::drainAllSessions);
    registerHandler(0x0001, 0x0003, [this](int slot, const FLAP &f) { onServerReady(slot, f); });
    registerHandler(0x0001, 0x0018, [this](int slot, const FLAP &f) { onVersions(slot, f); });
    registerHandler(0x0001, 0x0007, [this](int slot, const FLAP &f) { onRateInfo(slot, f); });
    // Own online information and meta replies: nothing in the bot uses them.
    registerHandler(0x0001, 0x000F, [](int, const FLAP &) {});
    registerHandler(0x0009, 0x0003, [this](int slot, const FLAP &f) { onPrivacyRights(slot, f); });
    registerHandler(0x0004, 0x0007, [this](int slot, const FLAP &f) { readIncomingMessage(slot, f); });
    registerHandler(0x0003, 0x000B,
                    [this](int, const FLAP &f) { readBuddy(f, QStringLiteral(" is OnLine")); });
    registerHandler(0x0003, 0x000C,
                    [this](int, const FLAP &f) { readBuddy(f, QStringLiteral(" is Off-Line")); });
    registerHandler(0x0015, 0x0003, [](int, const FLAP &) {});
}

IcqSession::~IcqSession() = default;

// --- slots -------------------------------------------------------------------------

IcqSession::Slot *IcqSession::findSlot(int slot)
{
    const auto it = m_slots.find(slot);
    return it == m_slots.end() ? nullptr : &it->second;
}

const IcqSession::Slot *IcqSession::findSlot(int slot) const
{
    const auto it = m_slots.find(slot);
    return it == m_slots.end() ? nullptr : &it->second;
}

IcqSession::Slot &IcqSession::slotAt(int slot)
{
    return m_slots[slot];
}

QString IcqSession::NetSlotUin(int slot) const
{
    const Slot *s = findSlot(slot);
    return s ? s->netUin : QString();
}

QString IcqSession::WorkSlotUin(int slot) const
{
    const Slot *s = findSlot(slot);
    return s ? s->workUin : QString();
}

qint32 IcqSession::SlotSequence(int slot) const
{
    const Slot *s = findSlot(slot);
    return s ? s->sequence : 0;
}

SocketControl *IcqSession::net(int slot) const
{
    const Slot *s = findSlot(slot);
    return s ? s->net : nullptr;
}

SocketControl *IcqSession::Work(int slot) const
{
    const Slot *s = findSlot(slot);
    return s ? s->work : nullptr;
}

QList<int> IcqSession::slotNumbers() const
{
    QList<int> numbers;
    for (const auto &[number, slot] : m_slots)
        numbers.append(number);
    return numbers;
}

IcqSession::LoginPhase IcqSession::loginPhase(int slot) const
{
    const Slot *s = findSlot(slot);
    return s ? s->phase : LoginPhase::Idle;
}

bool IcqSession::loginInProgress(int slot) const
{
    const LoginPhase phase = loginPhase(slot);
    return phase == LoginPhase::LoggingIn || phase == LoginPhase::SigningOn;
}

std::optional<Credentials> IcqSession::lastSuccessfulLogin(int slot) const
{
    const Slot *s = findSlot(slot);
    return s ? s->lastGood : std::nullopt;
}

Credentials IcqSession::lastLoginAttempt(int slot) const
{
    const Slot *s = findSlot(slot);
    return s ? s->attempt : Credentials{};
}

bool IcqSession::lastLoginRefused(int slot) const
{
    const Slot *s = findSlot(slot);
    return s && s->attemptRefused;
}

int IcqSession::slotForNumber(const QString &numberText)
{
    return DistributionList::load().slotForNumber(numberText);
}

SocketControl *IcqSession::loginConnection(int slot)
{
    Slot &s = slotAt(slot);
    if (!s.net) {
        s.net = new SocketControl(this);
        connect(s.net, &SocketControl::DataArrival, this,
                [this, slot](const QByteArray &data) { onLoginData(slot, data); });
        connect(s.net, &SocketControl::ConnectError, this,
                [this, slot] { onLoginConnectionEnded(slot, LoginFailure::NoConnection); });
        connect(s.net, &SocketControl::PeerClosed, this,
                [this, slot] { onLoginConnectionEnded(slot, LoginFailure::LoginClosed); });
    }
    return s.net;
}

SocketControl *IcqSession::sessionConnection(int slot)
{
    Slot &s = slotAt(slot);
    if (!s.work) {
        s.work = new SocketControl(this);
        connect(s.work, &SocketControl::DataArrival, this,
                [this, slot](const QByteArray &data) { onSessionData(slot, data); });
        connect(s.work, &SocketControl::ConnectError, this,
                [this, slot] { onSessionConnectionEnded(slot, LoginFailure::NoConnection); });
        connect(s.work, &SocketControl::PeerClosed, this,
                [this, slot] { onSessionConnectionEnded(slot, LoginFailure::SessionClosed); });
    }
    return s.work;
}

void IcqSession::resetSession(Slot &slot)
{
    slot.sessionFrames.clear();
    slot.pendingFrames.clear();
    slot.peerGone = false;
    slot.awaitingHello = false;
    ++slot.sessionGeneration;
}

void IcqSession::startLogin(int slot, const Credentials &credentials, const ServerAddress &server)
{
    KORVANE_ASSERT(isSlot(slot), return );
    Slot &s = slotAt(slot);
    // The bot being logged in; a number that is not one leaves MainUin as it was, and the
    // server's reply then names no number we wait for.
    if (const std::optional<qint32> uin = credentials.uin())
        m_mainUin = *uin;
    m_mainPassword = credentials.password;
    s.netUin = credentials.number;
    s.attempt = credentials;
    s.attemptRefused = false;
    s.loginPending = true;
    s.loginUin = m_mainUin;
    s.loginNumber = Cp1251::encode(credentials.number);
    s.loginPassword = Cp1251::encode(credentials.password);
    s.phase = LoginPhase::LoggingIn;
    m_currentNetSlot = slot;

    if (!s.deadline) {
        s.deadline = new QTimer(this);
        s.deadline->setSingleShot(true);
        connect(s.deadline, &QTimer::timeout, this, [this, slot] { loginDeadlinePassed(slot); });
    }
    s.deadline->start(std::max(1, m_loginTimeoutMs));

    SocketControl *connection = loginConnection(slot);
    connection->CloseConnection();
    s.loginFrames.clear();
    s.loginSequence = LoginExchange::LoginSequence;
    connection->Connect(server.host, server.port);
}

bool IcqSession::loginDeadlinePending(int slot) const
{
    const Slot *s = findSlot(slot);
    return s && s->deadline && s->deadline->isActive();
}

void IcqSession::loginDeadlinePassed(int slot)
{
    if (Slot *s = findSlot(slot); s && s->deadline)
        s->deadline->stop();
    failLogin(slot, LoginFailure::TimedOut);
}

void IcqSession::startLogin(int slot, const QString &numberText, const QString &host, quint16 port)
{
    startLogin(slot, Credentials{numberText, m_mainPassword}, ServerAddress{host, port});
}

void IcqSession::closeSlot(int slot)
{
    Slot *s = findSlot(slot);
    if (!s)
        return;
    s->phase = LoginPhase::Idle;
    if (s->deadline)
        s->deadline->stop();
    if (s->net) {
        s->net->CloseConnection();
        s->loginFrames.clear();
        s->loginPending = false;
    }
    if (s->work) {
        s->work->CloseConnection();
        resetSession(*s);
    }
}

void IcqSession::closeAll()
{
    for (const int slot : slotNumbers())
        closeSlot(slot);
}

void IcqSession::releaseSlot(int slot)
{
    if (Slot *s = findSlot(slot)) {
        s->netUin.clear();
        s->workUin.clear();
    }
}

// --- login connection ----------------------------------------------------------------

void IcqSession::onLoginData(int slot, const QByteArray &data)
{
    m_currentNetSlot = slot;
    SetStatus(QStringLiteral("SERVER SEND: LEN - %1").arg(data.size()));
    Slot &s = slotAt(slot);
    const int desyncs = s.loginFrames.desyncCount();
    const QList<QByteArray> frames = s.loginFrames.feed(data);
    if (s.loginFrames.desyncCount() != desyncs)
        SetStatus(QStringLiteral("login connection %1 lost the frame marker; damaged bytes dropped").arg(slot));
    for (const QByteArray &bytes : frames) {
        // A hand-over closes this connection; whatever followed the reply is of no use.
        if (!findSlot(slot)->loginPending)
            break;
        FLAP frame;
        frame.ReadFLAP(bytes);
        handleLoginFrame(slot, frame);
    }
}

void IcqSession::handleLoginFrame(int slot, const FLAP &frame)
{
    Slot &s = slotAt(slot);
    if (LoginExchange::isHello(frame)) {
        sendLoginFrame(s, ChannelSignOn, LoginExchange::loginPacket(s.loginNumber, s.loginPassword));
        return;
    }
    if (frame.ChannelID() != ChannelSignOff)
        return;

    const LoginExchange::Reply reply = LoginExchange::readReply(frame, s.loginUin);
    if (!reply.matched) {
        SetStatus(QStringLiteral("login reply for another number ignored"));
        return;
    }
    if (reply.refused) {
        s.loginPending = false;
        s.attemptRefused = true;
        Dialogs::instance().notify(RefusedTitle, RefusedText, Dialogs::Icon::Critical,
                                   QStringLiteral("login-refused"));
        emit loginRefused(slot);
        // We close the login connection ourselves: some servers leave it open.
        failLogin(slot, LoginFailure::Refused, reply.errorCode);
        return;
    }
    if (!reply.handsOver()) {
        SetStatus(QStringLiteral("login reply without session address or cookie ignored"));
        return;
    }
    handOver(slot, reply.cookie, reply.host, reply.port);
}

void IcqSession::handOver(int slot, const QByteArray &cookie, const QString &host, quint16 port)
{
    Slot &s = slotAt(slot);
    s.loginPending = false;
    m_authCookie = cookie;
    m_bosHost = host;
    m_bosPort = port;
    s.cookie = cookie;

    // Goodbye on the login connection, which then closes (queued bytes still go out).
    sendLoginFrame(s, ChannelSignOff, LoginExchange::goodbye());
    s.net->CloseConnection();
    s.loginFrames.clear();
    SetStatus(QStringLiteral("Autorization complite"));

    // The bot keeps its slot: the session connection is the login's own slot's.
    s.workUin = s.netUin;
    s.phase = LoginPhase::SigningOn;
    SocketControl *connection = sessionConnection(slot);
    connection->CloseConnection();
    resetSession(s);
    s.awaitingHello = true;
    connection->Connect(host, port);
    emit handedOver(slot);
}

void IcqSession::sendLoginFrame(Slot &slot, quint8 channel, const QByteArray &data)
{
    m_outFlap.FLAP_Create(channel, slot.loginSequence++);
    m_outFlap.AppendData(data);
    slot.net->SendData(m_outFlap.FLAP_Send());
}

void IcqSession::onLoginConnectionEnded(int slot, LoginFailure why)
{
    // After the hand-over or a refusal we closed it ourselves; only a log-in still
    // waiting for its reply is cut by this.
    const Slot *s = findSlot(slot);
    if (!s || s->phase != LoginPhase::LoggingIn || !s->loginPending)
        return;
    failLogin(slot, why);
}

void IcqSession::onSessionConnectionEnded(int slot, LoginFailure why)
{
    // What the server sent before it closed (a sign-off frame, say) is handled first.
    Slot *s = findSlot(slot);
    if (s && why == LoginFailure::SessionClosed && !s->pendingFrames.isEmpty()) {
        s->peerGone = true;
        return;
    }
    switch (loginPhase(slot)) {
    case LoginPhase::SigningOn:
        failLogin(slot, why);
        break;
    case LoginPhase::SignedOn:
        endSession(slot, SessionEnd::ServerClosed);
        break;
    default:
        break;
    }
}

void IcqSession::failLogin(int slot, LoginFailure why, std::optional<quint16> errorCode)
{
    if (!loginInProgress(slot))
        return;
    const QString number = slotAt(slot).attempt.number;
    closeSlot(slot);

    QString line;
    switch (why) {
    case LoginFailure::NoConnection:
        line = ConnectionLog::NoConnectionText.arg(number);
        break;
    case LoginFailure::LoginClosed:
        line = ConnectionLog::LoginClosedText.arg(number);
        break;
    case LoginFailure::Refused:
        line = ConnectionLog::refusedLine(number, errorCode);
        break;
    case LoginFailure::SessionClosed:
    case LoginFailure::SignedOff:
        line = ConnectionLog::SignOnCutText.arg(number);
        break;
    case LoginFailure::TimedOut:
        line = ConnectionLog::TimedOutText.arg(number);
        break;
    }
    SetStatus(line);
    qCInfo(lcSession).noquote() << "slot" << slot << line;
    ConnectionLog::prepend(line);
    emit loginFailed(slot, why);
}

void IcqSession::endSession(int slot, SessionEnd how)
{
    if (!isSignedOn(slot))
        return;
    const QString number = slotAt(slot).workUin;
    closeSlot(slot);

    QString line;
    switch (how) {
    case SessionEnd::ServerClosed:
        line = ConnectionLog::SessionClosedText.arg(number);
        break;
    case SessionEnd::SignedOff:
        line = ConnectionLog::SignedOffText.arg(number);
        break;
    case SessionEnd::AnotherClient:
        line = ConnectionLog::AnotherClientText.arg(number);
        break;
    }
    SetStatus(line);
    qCInfo(lcSession).noquote() << "slot" << slot << line;
    ConnectionLog::prepend(line);
    emit sessionLost(slot, how);
}

void IcqSession::onSignOffFrame(int slot, const FLAP &frame)
{
    // TLV 9 (the reason) 1: the number logged in from another client.
    SessionEnd how = SessionEnd::SignedOff;
    for (const TLVEntry &tlv : frame.tlvs()) {
        if (tlv.type == 0x0009 && tlv.value.size() == 2 && tlv.value.at(0) == 0 && tlv.value.at(1) == 1)
            how = SessionEnd::AnotherClient;
    }
    if (isSignedOn(slot))
        endSession(slot, how);
    else
        failLogin(slot, LoginFailure::SignedOff);
}

// --- session connection ------------------------------------------------------------

void IcqSession::registerHandler(int family, int subtype, Handler handler)
{
    m_handlers.insert(snacKey(family, subtype), std::move(handler));
}

void IcqSession::onSessionData(int slot, const QByteArray &data)
{
    Slot &s = slotAt(slot);
    const int desyncs = s.sessionFrames.desyncCount();
    const QList<QByteArray> frames = s.sessionFrames.feed(data);
    if (s.sessionFrames.desyncCount() != desyncs)
        SetStatus(QStringLiteral("session connection %1 lost the frame marker; damaged bytes dropped").arg(slot));
    if (frames.isEmpty())
        return;

    HexLog::append(frames.join());
    s.pendingFrames.append(frames);
    // A burst is not read faster than it is handled: the rest waits in the socket.
    if (s.pendingFrames.size() >= MaxPendingFrames && s.work)
        s.work->setReadingPaused(true);
    if (!m_drainTimer->isActive())
        m_drainTimer->start();
}

void IcqSession::drainAllSessions()
{
    // A few frames in all per turn, taken from the connections in turn, so one busy bot
    // cannot hold back the others and the answer timer runs often.
    int budget = FramesPerTurn;
    bool more = true;
    while (budget > 0 && more) {
        more = false;
        // Slots may be added by a handler: walk a copy of the numbers.
        std::vector<int> busy;
        for (const auto &[number, slot] : m_slots)
            if (!slot.pendingFrames.isEmpty())
                busy.push_back(number);
        for (const int slot : busy) {
            if (budget <= 0)
                break;
            if (drainSessionFrames(slot, 1))
                --budget;
            const Slot *s = findSlot(slot);
            more = more || (s && !s->pendingFrames.isEmpty());
        }
    }
    bool pending = false;
    for (const auto &[number, slot] : m_slots)
        pending = pending || !slot.pendingFrames.isEmpty();
    if (!pending)
        m_drainTimer->stop();
}

int IcqSession::drainSessionFrames(int slot, int most)
{
    Slot *s = findSlot(slot);
    if (!s)
        return 0;
    const quint64 generation = s->sessionGeneration;
    int handled = 0;
    for (; handled < most; ++handled) {
        s = findSlot(slot);
        if (!s || s->sessionGeneration != generation || s->pendingFrames.isEmpty())
            break;
        const QByteArray bytes = s->pendingFrames.takeFirst();
        FLAP frame;
        frame.ReadFLAP(bytes);
        dispatch(slot, frame);
    }
    s = findSlot(slot);
    if (s && s->work && s->work->readingPaused() && s->pendingFrames.size() < MaxPendingFrames / 2)
        s->work->setReadingPaused(false);
    if (s && s->sessionGeneration == generation && s->peerGone && s->pendingFrames.isEmpty()) {
        s->peerGone = false;
        onSessionConnectionEnded(slot, LoginFailure::SessionClosed);
    }
    return handled;
}

void IcqSession::dispatchFrame(int slot, QByteArrayView frame)
{
    KORVANE_ASSERT(isSlot(slot), return );
    FLAP parsed;
    parsed.ReadFLAP(frame);
    dispatch(slot, parsed);
}

void IcqSession::dispatch(int slot, const FLAP &frame)
{
    SetStatus(
        QStringLiteral("<== SNAC %1, %2").arg(hexNumber(frame.SNAC_FamID()), hexNumber(frame.SNAC_TipID())));
    switch (frame.ChannelID()) {
    case ChannelSignOff:
        // The server ends the session: the slot is closed and its loss reported.
        SetStatus(QStringLiteral("ERROR"));
        onSignOffFrame(slot, frame);
        return;
    case ChannelSignOn:
        if (LoginExchange::isHello(frame))
            onSessionHello(slot);
        return;
    case ChannelSnac:
        break;
    default:
        return;
    }

    const quint32 key = snacKey(frame.SNAC_FamID(), frame.SNAC_TipID());
    const auto handler = m_handlers.constFind(key);
    if (handler != m_handlers.constEnd()) {
        (*handler)(slot, frame);
        return;
    }
    // Each unknown kind is reported once; the set stays small whatever a server sends.
    if (!m_unknownSeen.contains(key) && m_unknownSeen.size() < 256) {
        m_unknownSeen.insert(key);
        qCDebug(lcIgnoredSnac).noquote() << "ignoring SNAC"
                                    << hexNumber(frame.SNAC_FamID()) + QLatin1Char(',') +
                                           hexNumber(frame.SNAC_TipID());
    }
}

// --- sending -----------------------------------------------------------------------

qint32 IcqSession::takeSequence(int slot)
{
    // A slot without a hello yet goes on from the last number built on any slot.
    Slot &s = slotAt(slot);
    if (s.sequence != 0)
        m_nextSequence = s.sequence;
    const qint32 sequence = m_nextSequence;
    m_nextSequence = sequence < std::numeric_limits<qint32>::max() ? sequence + 1 : 1;
    s.sequence = m_nextSequence;
    return sequence;
}

bool IcqSession::awaitingHello(int slot) const
{
    const Slot *s = findSlot(slot);
    return s && s->awaitingHello;
}

bool IcqSession::sendFrame(int slot, quint8 channel, const QByteArray &payload)
{
    Slot *s = findSlot(slot);
    if (!s || !s->work) {
        SetStatus(QStringLiteral("slot %1 has no session connection; nothing sent").arg(slot));
        return false;
    }
    if (payload.size() > 0xFFFF) {
        SetStatus(QStringLiteral("frame longer than 65535 bytes; nothing sent"));
        return false;
    }
    m_outFlap.FLAP_Create(channel, takeSequence(slot));
    m_outFlap.AppendData(payload);
    // A closed connection refuses silently; the counter has advanced all the same.
    s->work->SendData(m_outFlap.FLAP_Send());
    return true;
}

void IcqSession::sendSnac(int slot, const QByteArray &payload, const QString &trace)
{
    sendFrame(slot, ChannelSnac, payload);
    if (!trace.isEmpty())
        SetStatus(trace);
}

bool IcqSession::sendMessageOn(int slot, const QString &txt, const QString &toUIN)
{
    if (awaitingHello(slot)) {
        SetStatus(QStringLiteral("slot %1 has no session yet; message to %2 not sent").arg(slot).arg(toUIN));
        return false;
    }
    const MessageSender::Payload payload = MessageSender::messagePayload(
        MessageSender::randomCookie(), Cp1251::encode(toUIN), Cp1251::encode(txt));
    if (!payload.ok()) {
        SetStatus(QStringLiteral("message to %1 not sent: %2").arg(toUIN, payload.refusal));
        qCWarning(lcSession).noquote() << "message to" << toUIN << "not sent:" << payload.refusal;
        return false;
    }
    return sendFrame(slot, ChannelSnac, payload.data);
}

void IcqSession::abb(int stat_zn)
{
    const std::optional<QByteArray> payload = StatusChange::statusPayload(stat_zn);
    if (!payload)
        return;
    // Every slot that has been through a session hello, also one whose connection is gone.
    for (const int slot : slotNumbers()) {
        if (SlotSequence(slot) == 0 || awaitingHello(slot))
            continue;
        if (sendFrame(slot, ChannelSnac, *payload))
            m_currentStatus = stat_zn;
    }
}

void IcqSession::SetStatus(const QString &txt)
{
    qCDebug(lcSession).noquote() << txt;
    emit traced(txt);
}

// --- sign-on -----------------------------------------------------------------------

void IcqSession::onSessionHello(int slot)
{
    Slot &s = slotAt(slot);
    s.sequence = slot * SequenceStep;
    s.awaitingHello = false;
    sendFrame(slot, ChannelSignOn, SignOn::sessionHello(s.cookie));
}

void IcqSession::onServerReady(int slot, const FLAP &)
{
    sendSnac(slot, SignOn::serviceVersions(), QStringLiteral("> SNAC 1,17"));
}

void IcqSession::onVersions(int slot, const FLAP &)
{
    sendSnac(slot, SignOn::rateRequest(), QStringLiteral("> SNAC 1,6"));
}

void IcqSession::onRateInfo(int slot, const FLAP &)
{
    sendSnac(slot, SignOn::rateAcknowledge(), QStringLiteral("> SNAC 1,8"));
    sendSnac(slot, SignOn::ownInfoRequest(), QStringLiteral("> SNAC 1,E"));
    sendSnac(slot, SignOn::locationRightsRequest(), QStringLiteral("> SNAC 2,2"));
    sendSnac(slot, SignOn::contactRightsRequest(), QStringLiteral("> SNAC 3,2"));
    sendSnac(slot, SignOn::messageParamsRequest(), QStringLiteral("> SNAC 4,4"));
    sendSnac(slot, SignOn::privacyRightsRequest(), QStringLiteral("> SNAC 9,2"));
}

void IcqSession::onPrivacyRights(int slot, const FLAP &)
{
    sendSnac(slot, SignOn::setMessageParams(), QStringLiteral("> SNAC 4,2"));
    sendSnac(slot, SignOn::setLocationInfo(), QStringLiteral("> SNAC 2,4"));

    const QStringList lines = TextFile::readLines(SignOn::VisibleListPath);
    const QStringList numbers = SignOn::visibleNumbers(lines);
    int nonEmpty = 0;
    for (const QString &line : lines)
        nonEmpty += line.trimmed().isEmpty() ? 0 : 1;
    if (numbers.size() != nonEmpty)
        SetStatus(QStringLiteral("visible list: %1 lines are not ICQ numbers and were left out")
                      .arg(nonEmpty - numbers.size()));
    sendSnac(slot, SignOn::addVisible(numbers), QStringLiteral("> SNAC 9,7"));
    sendSnac(slot, SignOn::setStatusOnline(), QString());

    Slot &signedOnSlot = slotAt(slot);
    signedOnSlot.phase = LoginPhase::SignedOn;
    if (signedOnSlot.deadline)
        signedOnSlot.deadline->stop();
    if (!signedOnSlot.attempt.isEmpty())
        signedOnSlot.lastGood = signedOnSlot.attempt;

    if (m_postLogin)
        m_postLogin(slot);

    // The number this slot logged in with, whatever log-in has started since.
    const qint32 uin = slotAt(slot).loginUin;
    sendSnac(slot, SignOn::clientReady(), QStringLiteral("> SNAC 1,2"));
    sendSnac(slot, SignOn::offlineMessagesRequest(uin), QStringLiteral("> SNAC 15,2 (offline messages)"));
    const QStringList keys = SignOn::infoKeys();
    for (int n = 1; n <= keys.size(); ++n)
        sendSnac(slot, SignOn::infoRequest(uin, n, keys.at(n - 1)),
                 QStringLiteral("> SNAC 15,2 XML (%1)").arg(keys.at(n - 1)));
    emit signedOn(slot);
}

// --- incoming readers --------------------------------------------------------------

void IcqSession::readIncomingMessage(int slot, const FLAP &frame)
{
    const std::optional<IncomingReader::Message> message = IncomingReader::parseMessage(frame.SNAC_Data());
    if (!message) {
        SetStatus(QStringLiteral("incoming message too short; dropped"));
        return;
    }
    if (!IncomingReader::isValidUin(message->sender)) {
        SetStatus(QStringLiteral("incoming message from a malformed sender number dropped"));
        qCWarning(lcSession).noquote()
            << "message from a malformed sender number dropped:"
            << DataForm::ShowHex(message->sender.first(std::min<qsizetype>(message->sender.size(), 32)));
        return;
    }
    if (message->text.isEmpty())
        return;

    MessageState state;
    state.slot = slot;
    state.SenderUin = QString::fromLatin1(message->sender);
    state.MessageText = IncomingReader::decodeText(message->text, message->charset);
    if (state.MessageText.isEmpty())
        return;

    if (!IncomingReader::lastCharacterAccepted(state.MessageText)) {
        sendMessageOn(slot, IncomingReader::RefusalText, state.SenderUin);
        return;
    }
    if (state.MessageText == IncomingReader::ProbeText) {
        m_probeReturned = true;
        return;
    }
    if (state.MessageText == IncomingReader::VersionQuestion) {
        sendMessageOn(slot, IncomingReader::VersionAnswer, state.SenderUin);
        return;
    }
    if (m_hooks.checkBans && m_hooks.checkBans(state) != StageOutcome::Continue) {
        // A banned sender gets the ban text and nothing else.
        sendMessageOn(slot, state.ReplyText, state.SenderUin);
        state.SenderBanned = false;
        return;
    }
    for (const MessageHooks::Stage *hook : {&m_hooks.distribute, &m_hooks.logMessage, &m_hooks.processMessage}) {
        if (*hook && (*hook)(state) != StageOutcome::Continue)
            return;
    }
}

void IcqSession::readBuddy(const FLAP &frame, const QString &what)
{
    const std::optional<QByteArray> number = IncomingReader::userNumber(frame.SNAC_Data());
    if (!number || number->isEmpty())
        return;
    SetStatus(QStringLiteral("User ") + Cp1251::decode(*number) + what);
}
