#include "core/namedtimer.h"

#include <QPointer>
#include <QTimerEvent>

#include <utility>

NamedTimer::NamedTimer(const QString &name, int intervalMs, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_interval(qMax(0, intervalMs))
{
    setObjectName(name);
}

void NamedTimer::setInterval(int ms)
{
    m_interval = qMax(0, ms);
    // A new interval restarts the countdown, even the same value.
    restart();
}

void NamedTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return; // enabling an enabled timer keeps its countdown
    m_enabled = enabled;
    restart();
}

bool NamedTimer::isRunning() const
{
    return m_enabled && m_interval > 0;
}

void NamedTimer::setHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
}

void NamedTimer::tick()
{
    if (m_inHandler)
        return;
    QPointer<NamedTimer> self(this);
    // A copy, so a handler that replaces the handler does not destroy what is running.
    const std::function<void()> handler = m_handler;
    m_inHandler = true;
    if (handler)
        handler();
    if (!self)
        return; // the handler deleted its own timer
    m_inHandler = false;
    Q_EMIT ticked();
}

void NamedTimer::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timer.timerId()) {
        tick();
        return;
    }
    QObject::timerEvent(event);
}

void NamedTimer::restart()
{
    m_timer.stop();
    if (isRunning())
        m_timer.start(m_interval, Qt::PreciseTimer, this);
}

TimerRegistry::TimerRegistry(QObject *parent)
    : QObject(parent)
{}

NamedTimer *TimerRegistry::add(const QString &name, int intervalMs)
{
    if (NamedTimer *existing = m_timers.value(name))
        return existing;
    auto *timer = new NamedTimer(name, intervalMs, this);
    m_timers.insert(name, timer);
    m_order.append(name);
    return timer;
}

NamedTimer *TimerRegistry::timer(const QString &name) const
{
    return m_timers.value(name);
}

bool TimerRegistry::attach(const QString &name, std::function<void()> handler)
{
    NamedTimer *timer = m_timers.value(name);
    if (!timer)
        return false;
    timer->setHandler(std::move(handler));
    return true;
}

QStringList TimerRegistry::names() const
{
    return m_order;
}
