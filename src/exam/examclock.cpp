#include "exam/examclock.h"

using namespace Qt::StringLiterals;

void ExamClock::tickElapsed()
{
    if (m_seconds == 59) {
        m_seconds = 0;
        if (++m_minutes == 60) {
            m_minutes = 0;
            ++m_hours;
        }
    } else {
        ++m_seconds;
    }
}

bool ExamClock::tickCountdown()
{
    --m_remaining;
    return m_remaining == 0;
}

QString ExamClock::elapsedText(int hours, int minutes, int seconds)
{
    if (hours != 0)
        return u"%1小时%2分%3秒"_s.arg(hours).arg(minutes).arg(seconds);
    if (minutes != 0)
        return u"%1分%2秒"_s.arg(minutes).arg(seconds);
    return u"%1秒"_s.arg(seconds);
}

QString ExamClock::countdownText(int seconds)
{
    return u"剩余时间: %1:%2:%3"_s.arg(seconds / 3600).arg(seconds % 3600 / 60).arg(seconds % 60);
}

QString ExamClock::spokenCountdown(int seconds)
{
    const int s = qMax(0, seconds);
    return u"剩余时间"_s + elapsedText(s / 3600, s % 3600 / 60, s % 60);
}
