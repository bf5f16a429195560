#include "records/ui/ratebars.h"

#include <QPainter>

using namespace Qt::StringLiterals;

RateBars::RateBars(QWidget *parent)
    : QWidget(parent)
{
    setMinimumWidth(160);
    setFixedHeight(30);
}

void RateBars::setRates(double latest, double overall)
{
    m_latest = latest;
    m_overall = overall;
    setAccessibleDescription(latest < 0 ? u"未练习"_s
                                        : u"最近正确率 %1%，总正确率 %2%"_s.arg(qRound(latest)).arg(qRound(overall)));
    update();
}

void RateBars::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1, 2, -46, -2);
    const qreal barHeight = (area.height() - 2) / 2;
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.setBrush(QColor(0xF4, 0xF4, 0xF4));
    p.drawRect(area);
    if (m_latest < 0) {
        p.setPen(Qt::gray);
        p.drawText(area, Qt::AlignCenter, u"未练习"_s);
        return;
    }
    const auto bar = [&](int row, double rate, const QColor &color) {
        const QRectF r(area.left(), area.top() + 1 + row * (barHeight + 0.5),
                       area.width() * qBound(0.0, rate, 100.0) / 100, barHeight - 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRect(r);
        p.setPen(Qt::black);
        QFont f = font();
        f.setPixelSize(11);
        p.setFont(f);
        p.drawText(QRectF(area.right() + 3, r.top() - 1, 44, barHeight + 2), Qt::AlignLeft | Qt::AlignVCenter,
                   u"%1%"_s.arg(qRound(rate)));
    };
    bar(0, m_latest, m_latest < 60 ? QColor(0xD0, 0x30, 0x30) : QColor(0x20, 0x60, 0xC0));
    bar(1, m_overall, QColor(0x90, 0x90, 0x90));
}
