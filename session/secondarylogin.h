#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class BotPresence;
class TimerRegistry;

// The log-in chain of the secondary bots: each tick of "rasperd" logs in the next line
// of the distribution list on the slot of its index; a completed sign-on arms the next
// tick. Each line is taken once per run; when the main bot signs on afresh, the lines
// taken earlier whose bots are not signed on are logged in again. At the end of the list
// the reconnect watchdog ("perepodk") starts.
class SecondaryLogin : public QObject
{
    Q_OBJECT
public:
    static constexpr int SignOnTimeoutMs = 60000;
    // Starts the log-in of a number on a slot with a password.
    using LoginStarter = std::function<void(int slot, const QString &number, const QString &password)>;
    // Gives up a log-in that did not reach its sign-on.
    using LoginAbandoner = std::function<void(int slot)>;
    // Whether a slot that went down waits for another part's time to log in again.
    using HoldBack = std::function<bool(int slot)>;

    SecondaryLogin(TimerRegistry &timers, const BotPresence &presence, LoginStarter start,
                   LoginAbandoner abandon, QObject *parent = nullptr);

    // The tick of "rasperd".
    void rasperdTick();
    // Every sign-on; the main bot's after the first chain queues the re-logins.
    void noteSignedOn(int slot);
    // A log-in was given up: when it is the awaited one, the chain goes on with the next line.
    void noteLoginFailed(int slot);
    // The operator disconnected: nothing more is logged in until the next sign-on.
    void stop();
    // A bot held back is left out of the re-logins: the reconnect watchdog's back-off
    // decides when it comes back.
    void setHoldBack(HoldBack holdBack) { m_holdBack = std::move(holdBack); }

    // How many ticks read the list, as the chain counts them.
    int SecondaryLoginCount() const { return m_count; }
    // The slot whose log-in is awaited, 0 when none.
    int pendingSlot() const { return m_pendingSlot; }
    void setSignOnTimeout(int ms) { m_timeout.setInterval(ms); }
    // Whether the wait for the awaited bot's sign-on is counting.
    bool signOnTimeoutPending() const { return m_timeout.isActive(); }

signals:
    void loginStarted(int slot, const QString &number);
    void loginTimedOut(int slot);

private:
    void start(int slot, const QString &number, const QString &password);
    void onTimeout();
    void armNextTick();

    TimerRegistry &m_timers;
    const BotPresence &m_presence;
    LoginStarter m_start;
    LoginAbandoner m_abandon;
    HoldBack m_holdBack;
    QTimer m_timeout;
    int m_count = 0;
    int m_nextLine = 0; // file line the chain takes next
    QList<int> m_retry; // slots to log in again
    int m_pendingSlot = 0;
};
