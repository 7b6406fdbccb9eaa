#pragma once

#include "session/flap.h"
#include "session/framereader.h"
#include "session/messagestate.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <map>

class T;

// What the incoming message reader hands on once a message has passed its own checks.
// The answer engine and the distribution live above this library; the main window
// fills these in. An empty hook does nothing (an empty distribute lets every message through).
struct MessageHooks
{
    // May set SenderBanned and put the ban text into ReplyText.
    std::function<void(MessageState &)> checkBans;
    // False when the distribution answered the message itself and it goes no further.
    std::function<bool(MessageState &)> distribute;
    std::function<void(MessageState &)> logMessage;
    std::function<void(MessageState &)> processMessage;
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
    static constexpr int MaxSlot = 32400;
    static constexpr qint32 SequenceStep = 12171;

    explicit IcqSession(QObject *parent = nullptr);
    ~IcqSession() override;

    // --- login state ---------------------------------------------------------------
    qint32 MainUin() const { return m_mainUin; }
    void setMainUin(qint32 uin) { m_mainUin = uin; }
    QString MainPassword() const { return m_mainPassword; }
    void setMainPassword(const QString &password) { m_mainPassword = password; }
    int CurrentSlot() const { return m_currentSlot; }
    void setCurrentSlot(int slot) { m_currentSlot = slot; }
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
    T *net(int slot) const;
    T *Work(int slot) const;
    // Every slot in use, ascending.
    QList<int> slotNumbers() const;

    // The fixed slot of a number: the index of its line in the distribution list
    // "\Настройки\Распределение.txt" (2 and up), otherwise 1, the main bot.
    static int slotForNumber(const QString &numberText);

    // Opens the slot's login connection. The login packet carries numberText and the
    // password in MainPassword now; the reply must name MainUin as it is now.
    void startLogin(int slot, const QString &numberText, const QString &host, quint16 port);
    // CloseConnection on the slot's login connection, then its session connection.
    void closeSlot(int slot);
    void closeAll();
    // Empties the slot's table entries (its connections are left as they are).
    void releaseSlot(int slot);

    // Hands one frame, as read whole from the slot's session connection, straight to the
    // session handler: the way tests and fuzzing reach every SNAC handler without a socket.
    void dispatchFrame(int slot, QByteArrayView frame);

    // --- sending -------------------------------------------------------------------
    // Sends txt to toUIN on the session connection of CurrentSlot. False, with a
    // trace and no change to the counters, when the frame cannot be built or the slot
    // has no session connection.
    bool SendMessage(const QString &txt, const QString &toUIN);
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

private:
    struct Slot
    {
        QString netUin;
        QString workUin;
        T *net = nullptr;
        T *work = nullptr;
        FrameReader loginFrames;
        FrameReader sessionFrames;
        qint32 sequence = 0;
        // The log-in on this slot's login connection, fixed when it started.
        bool loginPending = false;
        qint32 loginUin = 0;
        QByteArray loginNumber;
        QByteArray loginPassword;
        QByteArray cookie;
        // Bumped whenever the session connection is reset, so a pass stops dispatching
        // frames of a connection that a handler closed under it.
        quint64 sessionGeneration = 0;
        // Frames read but not handled yet, in arrival order; a few are handled per turn
        // of the event loop so answers and other connections run in between.
        QList<QByteArray> pendingFrames;
    };
    using Handler = std::function<void(int slot, const FLAP &frame)>;

    Slot *findSlot(int slot);
    const Slot *findSlot(int slot) const;
    Slot &slotAt(int slot);
    T *loginConnection(int slot);
    T *sessionConnection(int slot);
    void resetSession(Slot &slot);

    void onLoginData(int slot, const QByteArray &data);
    void handleLoginFrame(int slot, const FLAP &frame);
    void handOver(int slot, const QByteArray &cookie, const QString &host, quint16 port);

    void onSessionData(int slot, const QByteArray &data);
    // Handles at most `most` waiting frames of the slot; returns how many.
    int drainSessionFrames(int slot, int most);
    void drainAllSessions();
    void dispatch(int slot, const FLAP &frame);
    void registerHandler(int family, int subtype, Handler handler);

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

    qint32 m_mainUin = 0;
    QString m_mainPassword;
    int m_currentSlot = 0;
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
