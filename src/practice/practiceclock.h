#pragma once

#include <QString>

#include <functional>

// The practice window's two once-a-second clocks as plain values: the forced-switch countdown and
// the elapsed time.
namespace practice {

class ForcedSwitch final
{
public:
    ForcedSwitch(int start, int resetTo)
        : m_value(start)
        , m_reset(resetTo)
    {
    }

    struct Tick
    {
        bool switched = false; // moveNext ran
        bool beep = false;     // the last five seconds before a switch
    };

    // One second: when the countdown shows 0 it runs moveNext (unless at the last question) and
    // restarts; then it counts down by one. With a reset value of 0 it passes below zero and
    // never switches again.
    Tick tick(bool atLast, const std::function<void()> &moveNext = {});
    // Back to the reset value, after every move.
    void restart() { m_value = m_reset; }
    int value() const { return m_value; }
    QString text() const { return QString::number(m_value); }

private:
    int m_value;
    int m_reset;
};

class ElapsedClock final
{
public:
    void tick();
    // "1小时2分5秒", "1分5秒", "59秒"; "0" before the first tick.
    QString text() const;

private:
    int m_hours = 0;
    int m_minutes = 0;
    int m_seconds = 0;
    bool m_started = false;
};

} // namespace practice
