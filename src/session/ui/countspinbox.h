#pragma once

#include <QSpinBox>

// A number box whose arrows stop at a limit while typing may go beyond it (up to 9999): the count
// boxes of the setup panel limit their arrows to the questions available, and a larger typed count
// simply selects them all. Only digits can be typed.
class CountSpinBox final : public QSpinBox
{
    Q_OBJECT
public:
    explicit CountSpinBox(QWidget *parent = nullptr)
        : QSpinBox(parent)
    {
        setRange(0, 9999);
    }

    void setArrowLimit(int limit)
    {
        m_limit = limit;
        update();
    }
    int arrowLimit() const { return m_limit; }

    void stepBy(int steps) override
    {
        setValue(qBound(minimum(), value() + steps * singleStep(), qMax(minimum(), m_limit)));
    }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled e = StepNone;
        if (value() > minimum())
            e |= StepDownEnabled;
        if (value() < m_limit)
            e |= StepUpEnabled;
        return e;
    }

private:
    int m_limit = 0;
};
