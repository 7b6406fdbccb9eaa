#include "core/clock.h"

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

FixedClock::FixedClock(const QDateTime &start)
    : m_now(start)
{}
