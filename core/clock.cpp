#include "core/clock.h"

#include <QFileInfo>

namespace {
Clock *g_clock = nullptr;
} // namespace

Clock &Clock::instance()
{
    static SystemClock system;
    return g_clock ? *g_clock : system;
}

void Clock::setInstance(Clock *clock)
{
    g_clock = clock;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

void SystemClock::settleTimeZone()
{
    const QString machineZone = QStringLiteral("/etc/localtime");
    // Without the file the library uses UTC either way, and one created later is still
    // seen while TZ stays unset.
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(machineZone))
        return;
    qputenv("TZ", ":" + machineZone.toLocal8Bit());
}

FixedClock::FixedClock(const QDateTime &start)
    : m_now(start)
{}
