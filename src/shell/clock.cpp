#include "shell/clock.h"

#include <QThread>

namespace {
Clock *g_installed = nullptr;
}

Clock &Clock::instance()
{
    static SystemClock system;
    return g_installed ? *g_installed : system;
}

void Clock::install(Clock *clock)
{
    g_installed = clock;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

void SystemClock::sleep(int ms)
{
    QThread::msleep(ulong(qMax(ms, 0)));
}
