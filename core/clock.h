#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// The time of day the program sees. One instance serves the whole program; tests
// replace it with a FixedClock.
class Clock
{
public:
    virtual ~Clock() = default;

    // Local time.
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }

    // The installed clock, or the system clock when none is installed.
    static Clock &instance();
    // Replaces the instance (not owned); nullptr restores the system clock.
    static void setInstance(Clock *clock);
};

// QDateTime::currentDateTime().
class SystemClock : public Clock
{
public:
    QDateTime now() const override;

    // With TZ unset, the C library looks at /etc/localtime again (a stat) on every local
    // time it computes, several times per message. Naming that file in TZ has it read
    // once: a change of the machine's zone is then seen at the next start. A TZ the
    // operator set is kept. Called at start-up, before any local time.
    static void settleTimeZone();
};

// A clock that stands still until the test moves it.
class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime &start = QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)));

    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }
    void advanceSecs(qint64 secs) { m_now = m_now.addSecs(secs); }
    void advanceDays(qint64 days) { m_now = m_now.addDays(days); }

private:
    QDateTime m_now;
};
