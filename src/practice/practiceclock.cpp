#include "practice/practiceclock.h"

using namespace Qt::StringLiterals;

namespace practice {

ForcedSwitch::Tick ForcedSwitch::tick(bool atLast, const std::function<void()> &moveNext)
{
    Tick t;
    if (m_value == 0) {
        if (!atLast) {
            t.switched = true;
            if (moveNext)
                moveNext();
        }
        m_value = m_reset;
    }
    --m_value;
    t.beep = m_value >= 1 && m_value <= 5;
    return t;
}

void ElapsedClock::tick()
{
    m_started = true;
    if (++m_seconds == 60) {
        m_seconds = 0;
        if (++m_minutes == 60) {
            m_minutes = 0;
            ++m_hours;
        }
    }
}

QString ElapsedClock::text() const
{
    if (!m_started)
        return u"0"_s;
    if (m_hours != 0)
        return u"%1小时%2分%3秒"_s.arg(m_hours).arg(m_minutes).arg(m_seconds);
    if (m_minutes != 0)
        return u"%1分%2秒"_s.arg(m_minutes).arg(m_seconds);
    return u"%1秒"_s.arg(m_seconds);
}

} // namespace practice
