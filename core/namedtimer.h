#pragma once

#include <QBasicTimer>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

// A timer with the semantics the bot's logic was written for:
// - an interval of 0 never ticks, even when enabled;
// - setting the interval of a running timer restarts its countdown;
// - enabling an enabled timer does not restart it;
// - intervals above 65535 ms work;
// - a tick handler is never entered twice at once.
class NamedTimer : public QObject
{
    Q_OBJECT
public:
    explicit NamedTimer(const QString &name, int intervalMs = 0, QObject *parent = nullptr);

    QString name() const { return m_name; }

    int interval() const { return m_interval; }
    void setInterval(int ms);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // True while enabled with a positive interval, i.e. a tick is pending.
    bool isRunning() const;

    // The one tick handler; later attachments replace earlier ones.
    void setHandler(std::function<void()> handler);

    // Runs the handler now, as a tick would (unless it is already running).
    void tick();

Q_SIGNALS:
    void ticked();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void restart();

    QString m_name;
    int m_interval = 0;
    bool m_enabled = false;
    bool m_inHandler = false;
    QBasicTimer m_timer;
    std::function<void()> m_handler;
};

// The main window's timers, found by name.
class TimerRegistry : public QObject
{
    Q_OBJECT
public:
    explicit TimerRegistry(QObject *parent = nullptr);

    // Adds a timer, off, with its design interval. Adding a name twice returns the existing one.
    NamedTimer *add(const QString &name, int intervalMs);
    // nullptr when no such timer exists.
    NamedTimer *timer(const QString &name) const;
    // Attaches the tick handler of a timer; false when no such timer exists.
    bool attach(const QString &name, std::function<void()> handler);
    QStringList names() const;

private:
    QHash<QString, NamedTimer *> m_timers;
    QStringList m_order;
};
