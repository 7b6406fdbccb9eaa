#pragma once

#include "session/credentials.h"
#include "files/distributionlist.h"
#include "session/flap.h"
#include "session/framereader.h"
#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <map>
#include <optional>

namespace Korvane::Socket {
class T;
}
using SocketControl = Korvane::Socket::T; // as session/socketcontrol.h names it

// What the incoming message reader hands on once a message has passed its own checks.
// The answer engine and the distribution live above this library; the main window
// fills these in. The reader runs them in this order and stops at the first outcome
// other than Continue; an empty hook lets the message go on.
struct MessageHooks
{
    using Stage = std::function<StageOutcome(MessageState &)>;

    // Stop when the sender is banned: the reader sends him the ban text left in
    // ReplyText, and nothing else happens to the message.
    Stage checkBans;
    // Stop when the distribution answered the message itself.
    Stage distribute;
    Stage logMessage;
    Stage processMessage;
};

// The ICQ session of every bot: the slot tables, the login and session connections,
// the sequence counters, the session handler with its dispatch table, the sender and
// the status change. It outlives the login window: closing that window drops no bot.
//
// Slots are fixed: the main bot is slot 1, the distribution line with index k is slot k,
// and a bot that logs in again keeps its slot.
class QTimer;

class IcqSession : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxSlot = DistributionList::MaxSlot;
    static constexpr qint32 SequenceStep = 12171;
    // How long a log-in may take from opening the login connection to its sign-on.
    static constexpr int DefaultLoginTimeoutMs = 30000;

    // Where a slot's log-in stands.
    enum class LoginPhase {
        Idle,      // nothing open: never logged in, closed by us, failed or lost
        LoggingIn, // on the login connection
        SigningOn, // handed over, the session's sign-on is running
        SignedOn,  // the session is up
    };
    Q_ENUM(LoginPhase)
    // How the server ended a signed-on session.
    enum class SessionEnd {
        ServerClosed,  // the session connection closed or broke
        SignedOff,     // a channel-4 frame
        AnotherClient, // a channel-4 frame: the number logged in elsewhere
    };
    Q_ENUM(SessionEnd)
    // Why a log-in was given up before its sign-on.
    enum class LoginFailure {
        NoConnection,  // the login or session server could not be reached
        LoginClosed,   // the login server closed without an answer
        Refused,       // the login server refused
        SessionClosed, // the session server closed during the sign-on
        SignedOff,     // the session server sent a channel-4 frame during the sign-on
        TimedOut,      // no sign-on within the log-in time-out
    };
    Q_ENUM(LoginFailure)

    explicit IcqSession(QObject *parent = nullptr);
    ~IcqSession() override;

    // --- login state ---------------------------------------------------------------
    qint32 MainUin() const { return m_mainUin; }
    void setMainUin(qint32 uin) { m_mainUin = uin; }
    QString MainPassword() const { return m_mainPassword; }
    void setMainPassword(const QString &password) { m_mainPassword = password; }
    int CurrentNetSlot() const { return m_currentNetSlot; }
    // 0 until abb has reached a signed-on bot in this run.
    int CurrentStatus() const { return m_currentStatus; }
    // Set when the reconnect watchdog's probe text came back.
    bool ProbeReturned() const { return m_probeReturned; }
    void setProbeReturned(bool returned) { m_probeReturned = returned; }
    // The cookie of the latest login reply that handed a bot over.
    QByteArray AuthCookie() const { return m_authCookie; }
    QString BosHost() const { return m_bosHost; }
    quint16 BosPort() const { return m_bosPort; }

    // --- slots ---------------------------------------------------------------------
    // The number whose log-in runs or ran on the slot's login connection; empty = free.
    QString NetSlotUin(int slot) const;
    // The number handed over to the slot's session connection; empty = free.
    QString WorkSlotUin(int slot) const;
    // The sequence number of the slot's next session frame; 0 before its first hello.
    qint32 SlotSequence(int slot) const;
    qint32 NextSequence() const { return m_nextSequence; }
    // The connections, nullptr until the slot first used them.
    SocketControl *net(int slot) const;
    SocketControl *Work(int slot) const;
    // Every slot in use, ascending.
    QList<int> slotNumbers() const;

    LoginPhase loginPhase(int slot) const;
    bool isSignedOn(int slot) const { return loginPhase(slot) == LoginPhase::SignedOn; }
    // Logging in or signing on.
    bool loginInProgress(int slot) const;
    // The credentials of the slot's latest log-in that reached its sign-on.
    std::optional<Credentials> lastSuccessfulLogin(int slot) const;
    // The credentials of the slot's latest log-in, whatever became of it.
    Credentials lastLoginAttempt(int slot) const;
    // Whether the login server refused that log-in.
    bool lastLoginRefused(int slot) const;
    void setLoginTimeout(int ms) { m_loginTimeoutMs = ms; }
    int loginTimeout() const { return m_loginTimeoutMs; }
    // Whether the slot's log-in time-out is counting.
    bool loginDeadlinePending(int slot) const;
    // What the log-in time-out does when it runs out: the slot's log-in is given up now.
    // Tests call it rather than wait for the timer.
    void loginDeadlinePassed(int slot);

    // The fixed slot of a number: the index of its line in the distribution list
    // "\Настройки\Распределение.txt" (2 and up), otherwise 1, the main bot.
    static int slotForNumber(const QString &numberText);

    // Opens the slot's login connection to the server. The login packet carries the
    // credentials' number text and password, the reply must name that number. MainUin and
    // MainPassword become the credentials'. A log-in that has not signed on within the
    // log-in time-out, or whose connections end before, is given up: loginFailed.
    void startLogin(int slot, const Credentials &credentials, const ServerAddress &server);
    // The same with the password in MainPassword.
    void startLogin(int slot, const QString &numberText, const QString &host, quint16 port);
    // CloseConnection on the slot's login connection, then its session connection; the
    // slot is idle afterwards and nothing is reported.
    void closeSlot(int slot);
    void closeAll();
    // Empties the slot's table entries (its connections are left as they are).
    void releaseSlot(int slot);

    // Hands one frame, as read whole from the slot's session connection, straight to the
    // session handler: the way tests and fuzzing reach every SNAC handler without a socket.
    void dispatchFrame(int slot, QByteArrayView frame);

    // --- sending -------------------------------------------------------------------
    // Sends txt to toUIN on the slot's session connection. False, with a trace and no
    // change to the counters, when the frame cannot be built or the slot has no session
    // connection.
    bool sendMessageOn(int slot, const QString &txt, const QString &toUIN);
    // Sets status 1 online, 2 occupied or 3 invisible on every signed-on slot.
    void abb(int stat_zn);
    // The trace sink: emits traced() and writes the debug log.
    void SetStatus(const QString &txt);

    // --- hooks ---------------------------------------------------------------------
    void setMessageHooks(const MessageHooks &hooks) { m_hooks = hooks; }
    // Runs once per sign-on, between the set-status request and client-ready.
    void setPostLoginHook(std::function<void(int slot)> hook) { m_postLogin = std::move(hook); }

signals:
    void traced(const QString &line);
    // The login server refused the log-in on the slot (the box is up already).
    void loginRefused(int slot);
    // The login server handed the slot over to a session server.
    void handedOver(int slot);
    // The slot's sign-on sequence has run to its end.
    void signedOn(int slot);
    // The server ended the slot's signed-on session; the slot is closed and idle.
    void sessionLost(int slot, IcqSession::SessionEnd how);
    // The slot's log-in was given up before its sign-on; the slot is closed and idle.
    void loginFailed(int slot, IcqSession::LoginFailure why);

private:
    struct Slot
    {
        QString netUin;
        QString workUin;
        SocketControl *net = nullptr;
        SocketControl *work = nullptr;
        FrameReader loginFrames;
        FrameReader sessionFrames;
        qint32 sequence = 0;
        LoginPhase phase = LoginPhase::Idle;
        Credentials attempt;
        bool attemptRefused = false;
        std::optional<Credentials> lastGood;
        QTimer *deadline = nullptr; // the log-in time-out
        // The log-in on this slot's login connection, fixed when it started.
        bool loginPending = false;
        qint32 loginUin = 0;
        QByteArray loginNumber;
        QByteArray loginPassword;
        // The number of the next frame on the login connection.
        quint16 loginSequence = 0;
        QByteArray cookie;
        // Bumped whenever the session connection is reset, so a pass stops dispatching
        // frames of a connection that a handler closed under it.
        quint64 sessionGeneration = 0;
        // A new session connection waits for its hello: no message or status may go out on
        // it before (the server would take the hello's number for a break in the sequence).
        bool awaitingHello = false;
        // Frames read but not handled yet, in arrival order; a few are handled per turn
        // of the event loop so answers and other connections run in between.
        QList<QByteArray> pendingFrames;
        // The server closed the session connection; told once the frames before it are handled.
        bool peerGone = false;
    };
    using Handler = std::function<void(int slot, const FLAP &frame)>;

    Slot *findSlot(int slot);
    const Slot *findSlot(int slot) const;
    Slot &slotAt(int slot);
    SocketControl *loginConnection(int slot);
    SocketControl *sessionConnection(int slot);
    void resetSession(Slot &slot);

    void onLoginData(int slot, const QByteArray &data);
    void onLoginConnectionEnded(int slot, LoginFailure why);
    void onSessionConnectionEnded(int slot, LoginFailure why);
    // Gives up the slot's log-in: closes it, writes the connection log, loginFailed.
    void failLogin(int slot, LoginFailure why, std::optional<quint16> errorCode = std::nullopt);
    // The server ended the signed-on session: closes it, writes the connection log, sessionLost.
    void endSession(int slot, SessionEnd how);
    void onSignOffFrame(int slot, const FLAP &frame);
    void handleLoginFrame(int slot, const FLAP &frame);
    void handOver(int slot, const QByteArray &cookie, const QString &host, quint16 port);
    // Every frame on a login connection carries the number after the previous one's.
    void sendLoginFrame(Slot &slot, quint8 channel, const QByteArray &data);

    void onSessionData(int slot, const QByteArray &data);
    // Handles at most `most` waiting frames of the slot; returns how many.
    int drainSessionFrames(int slot, int most);
    void drainAllSessions();
    void dispatch(int slot, const FLAP &frame);
    void registerHandler(int family, int subtype, Handler handler);

    // A new session connection whose hello has not come: nothing of our own may go out
    // on it yet.
    bool awaitingHello(int slot) const;
    qint32 takeSequence(int slot);
    bool sendFrame(int slot, quint8 channel, const QByteArray &payload);
    void sendSnac(int slot, const QByteArray &payload, const QString &trace);

    void onSessionHello(int slot);
    void onServerReady(int slot, const FLAP &);
    void onVersions(int slot, const FLAP &);
    void onRateInfo(int slot, const FLAP &);
    void onPrivacyRights(int slot, const FLAP &);
    void readIncomingMessage(int slot, const FLAP &frame);
    void readBuddy(const FLAP &frame, const QString &what);

    std::map<int, Slot> m_slots;
    // A zero timer, not posted events, so the answer timer and the sockets get their
    // turn between the few frames handled per connection each time it fires.
    QTimer *m_drainTimer = nullptr;
    QHash<quint32, Handler> m_handlers;
    QSet<quint32> m_unknownSeen;
    FLAP m_outFlap;

    int m_loginTimeoutMs = DefaultLoginTimeoutMs;
    qint32 m_mainUin = 0;
    QString m_mainPassword;
    int m_currentNetSlot = 0;
    int m_currentStatus = 0;
    bool m_probeReturned = false;
    qint32 m_nextSequence = 0;
    QByteArray m_authCookie;
    QString m_bosHost;
    quint16 m_bosPort = 0;

    MessageHooks m_hooks;
    std::function<void(int)> m_postLogin;
};
