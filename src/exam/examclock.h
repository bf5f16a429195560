#pragma once

#include <QString>

// The two clocks of an exam: the elapsed time since the window was shown and the remaining
// seconds of a timed exam. The window's timers call the ticks once a second.
class ExamClock final
{
public:
    explicit ExamClock(int examSeconds = 0)
        : m_remaining(examSeconds)
    {
    }

    void tickElapsed();
    QString elapsedText() const { return elapsedText(m_hours, m_minutes, m_seconds); }

    // One second less; true when the remaining time has just reached exactly 0.
    bool tickCountdown();
    int remaining() const { return m_remaining; }
    QString countdownText() const { return countdownText(m_remaining); }
    // The countdown as a screen reader says it: "剩余时间1小时2分3秒".
    QString spokenCountdown() const { return spokenCountdown(m_remaining); }

    // "%d小时%d分%d秒", "%d分%d秒" or "%d秒".
    static QString elapsedText(int hours, int minutes, int seconds);
    // "剩余时间: h:m:s" without leading zeros.
    static QString countdownText(int seconds);
    static QString spokenCountdown(int seconds);

private:
    int m_hours = 0;
    int m_minutes = 0;
    int m_seconds = 0;
    int m_remaining = 0;
};
