#pragma once

#include <QWidget>

// A small chart of one chapter: two bars, the rate of right latest answers (blue) and of right
// answers over all answers (grey), each with its percentage; a grey "未练习" when nothing was
// answered. Rates are percentages 0..100, or -1 for none.
class RateBars final : public QWidget
{
    Q_OBJECT
public:
    explicit RateBars(QWidget *parent = nullptr);

    void setRates(double latest, double overall);
    double latest() const { return m_latest; }
    double overall() const { return m_overall; }
    QSize sizeHint() const override { return {220, 30}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_latest = -1;
    double m_overall = -1;
};
