#pragma once

#include <QObject>
#include <QString>

#include <functional>

class BotPresence;
class IcqSession;
class TimerRegistry;

// Notices that the main bot's session died silently: every few minutes the main bot
// sends itself a probe through slot 1; when it has not come back 30 seconds later,
// slot 1 is closed and the main bot logs in again with the stored login.
// Ticks of "perepodk" (every minute) and "perepodk1" (30 s after a probe).
class ReconnectWatchdog : public QObject
{
    Q_OBJECT
public:
    static inline const QString DistributionTitle = QStringLiteral("Ощибка");
    static inline const QString DistributionText = QStringLiteral(
        "Бот с версии 1.9 является многономерным. Теперь для входа нужно не только ввести номер главно бота, "
        "но и как минимум 1 второстепенный.");

    // Logs the main bot in again on slot 1 with the decoded stored login.
    using Relogin = std::function<void(const QString &number, const QString &password)>;

    ReconnectWatchdog(IcqSession &session, BotPresence &presence, TimerRegistry &timers,
                      QObject *parent = nullptr);

    // Minutes between probes; 0 = reconnection off.
    void setReconnectInterval(int minutes) { m_interval = minutes; }
    int ReconnectInterval() const { return m_interval; }
    // ReConnect=1: IntervalConnect, or 5 when that is not a positive number; else 0.
    static int intervalFromSettings();

    // Replaces the plain log-in on slot 1 (the main window fills its login window first).
    void setRelogin(Relogin relogin) { m_relogin = std::move(relogin); }
    // Whether the agreement was accepted this run; true unless told.
    void setAgreementCheck(std::function<bool()> accepted) { m_agreementAccepted = std::move(accepted); }

    void perepodkTick();
    void perepodk1Tick();

    // Every sign-on: the main bot's number is what the probe goes to; a disconnect by
    // the operator ends here.
    void noteSignedOn(int slot);
    // The operator disconnected: no probe and no new log-in until the next sign-on.
    void suspend() { m_suspended = true; }
    bool isSuspended() const { return m_suspended; }

    int ReconnectMinuteCount() const { return m_minuteCount; }
    QString probeNumber() const;

signals:
    // The distribution list is empty: the settings window should open on its distribution page.
    void distributionPageRequested();
    void probeSent();
    // Slot 1 was closed because the probe did not come back.
    void connectionLost();

private:
    void setTimer(const QString &name, bool enabled);
    void relogin();

    IcqSession &m_session;
    BotPresence &m_presence;
    TimerRegistry &m_timers;
    Relogin m_relogin;
    std::function<bool()> m_agreementAccepted;
    int m_interval = 0;
    int m_minuteCount = 0;
    bool m_suspended = false;
    QString m_mainNumber;
};
