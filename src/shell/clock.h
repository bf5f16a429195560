#pragma once

#include <QDateTime>

// The one source of "now" for session ids, dates and start times. Tests install a FakeClock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Blocks for ms milliseconds of this clock's time.
    virtual void sleep(int ms) = 0;

    static Clock &instance();
    // Replaces the clock used by instance(); nullptr restores the system clock.
    static void install(Clock *clock);
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override;
    void sleep(int ms) override;
};

// A clock that stands still until told to move; sleeping advances it.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(const QDateTime &start) : m_now(start) {}
    QDateTime now() const override { return m_now; }
    void sleep(int ms) override { m_now = m_now.addMSecs(ms); }
    void advance(qint64 ms) { m_now = m_now.addMSecs(ms); }
    void set(const QDateTime &t) { m_now = t; }

private:
    QDateTime m_now;
};
