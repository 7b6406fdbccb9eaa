#pragma once

#include "session/credentials.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class BotPresence;
class IcqSession;
class QTimer;
class TimerRegistry;

// Brings the bots back after an outage, when reconnection is on.
//
// Every few minutes the main bot sends itself a probe through slot 1; when it has not
// come back 30 seconds later, slot 1 is closed and the main bot logs in again. A session
// the server ends is noticed at once: that bot logs in again at once (at the next minute
// tick when another client took its number, so the two do not push each other out). A
// bot dropped again within a minute of its last sign-on waits 10 s, then 30 s, then for
// the minute tick, so a server that drops it after each log-in is not hammered, while an
// outage that drops every bot costs no wait. A log-in that fails is tried again at each
// minute tick until it signs on.
//
// A bot logs in again with the number and password of its last log-in that signed on;
// without one, with those of its last log-in unless the server refused it; else the main
// bot takes the stored auto-login and a secondary bot its line of the distribution list.
// Ticks of "perepodk" (every minute) and "perepodk1" (30 s after a probe).
class ReconnectWatchdog : public QObject
{
    Q_OBJECT
public:
    // A drop this soon after the bot's sign-on counts as one more in a row.
    static constexpr int QuickDropSecs = 60;
    // The waits after one, two quick drops in a row; after more, the minute tick.
    static constexpr int QuickDropWaitSecs[] = {10, 30};

    static inline const QString DistributionTitle = QStringLiteral("Ощибка");
    static inline const QString DistributionText = QStringLiteral(
        "Бот с версии 1.9 является многономерным. Теперь для входа нужно не только ввести номер главно бота, "
        "но и как минимум 1 второстепенный.");

    // Logs a bot in again on its slot.
    using Relogin = std::function<void(int slot, const Credentials &credentials)>;

    ReconnectWatchdog(IcqSession &session, BotPresence &presence, TimerRegistry &timers,
                      QObject *parent = nullptr);

    // Minutes between probes; 0 = reconnection off.
    void setReconnectInterval(int minutes) { m_interval = minutes; }
    int ReconnectInterval() const { return m_interval; }
    // ReConnect=1: IntervalConnect, or 5 when that is not a positive number; else 0.
    static int intervalFromSettings();

    // Replaces the plain log-in (the main window shows it in its login window first).
    void setRelogin(Relogin relogin) { m_relogin = std::move(relogin); }
    // Whether the agreement was accepted this run; true unless told.
    void setAgreementCheck(std::function<bool()> accepted) { m_agreementAccepted = std::move(accepted); }

    void perepodkTick();
    void perepodk1Tick();

    // Every sign-on: the main bot's number is what the probe goes to; a disconnect by
    // the operator ends here.
    void noteSignedOn(int slot);
    // The server ended the slot's session: it logs in again at once, or at the next
    // minute tick. Nothing without reconnection.
    void noteSessionLost(int slot, bool atOnce);
    // The slot's log-in failed: it is tried again at the next minute tick.
    void noteLoginFailed(int slot);
    // The short waits' timer runs out: every bot whose wait after a quick drop is over
    // logs in again. Tests call it after moving the clock.
    void retryWaiting();
    // When the bot logs in again after its wait; invalid when it waits for nothing or
    // for the minute tick.
    QDateTime retryAt(int slot) const { return m_history.value(slot).retryAt; }
    // Whether the slot is down and waits for the watchdog's time to log in again: the end
    // of its wait after a quick drop, or the minute tick. No other part may log it in
    // meanwhile.
    bool holdsBack(int slot) const;
    // The operator disconnected: no probe and no new log-in until the next sign-on.
    void suspend();
    bool isSuspended() const { return m_suspended; }
    // Bots waiting for their new log-in, in the order they went down.
    QList<int> slotsDown() const { return m_down; }
    // What the slot logs in again with; nullopt when there is nothing to log in with.
    std::optional<Credentials> reloginCredentials(int slot) const;

    int ReconnectMinuteCount() const { return m_minuteCount; }
    QString probeNumber() const;

signals:
    // The distribution list is empty: the settings window should open on its distribution page.
    void distributionPageRequested();
    void probeSent();
    // A bot is about to log in again after an outage.
    void reloggingIn(int slot);
    // Slot 1 was closed because the probe did not come back.
    void connectionLost();

private:
    void setTimer(const QString &name, bool enabled);
    // Logs the given down bots in again, except those signed on, logging in or waiting.
    void retry(const QList<int> &bots);
    void armRetryTimer();
    void markDown(int slot);
    void relogin(int slot);
    std::optional<Credentials> storedLogin() const;

    IcqSession &m_session;
    BotPresence &m_presence;
    TimerRegistry &m_timers;
    Relogin m_relogin;
    std::function<bool()> m_agreementAccepted;
    int m_interval = 0;
    int m_minuteCount = 0;
    bool m_suspended = false;
    QString m_mainNumber;
    QList<int> m_down;
    struct History
    {
        QDateTime signedOn; // the latest sign-on
        int quickDrops = 0; // drops in a row that came soon after a sign-on
        QDateTime retryAt;  // the end of the wait after the latest quick drop
        bool minuteTick = false; // its next log-in waits for the minute tick
    };
    QHash<int, History> m_history;
    QTimer *m_retryTimer = nullptr;
};
