#pragma once

#include <QtGlobal>

#include <time.h>

// This thread's CPU time in ms: on a busy machine the wall-clock gap between two turns of
// the event loop also counts the time other processes had the core.
inline qint64 threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
