#include "records/ui/learningcurve.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QColor kCream(0xFF, 0xFB, 0xF0);
constexpr int kMaxCountLabels = 20;

// "3D显示": a click toggles the check box beside it.
class ToggleLabel final : public QLabel
{
public:
    ToggleLabel(const QString &text, QCheckBox *box, QWidget *parent)
        : QLabel(text, parent)
        , m_box(box)
    {
        setBuddy(box);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_box->toggle();
    }

private:
    QCheckBox *m_box;
};

} // namespace

LearningCurveView::LearningCurveView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"curveView"_s);
    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundBrush(kCream);
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setPlotAreaBackgroundBrush(kCream);
    // Room above the plot for the title picture.
    chart->setMargins(QMargins(6, 46, 12, 4));

    m_series = new QLineSeries(chart);
    m_series->setPen(QPen(Qt::red, 2));
    m_series->setPointsVisible(false);
    m_series->setPointLabelsVisible(false);

    // The ribbon between the line and its copy moved back into the depth.
    m_depthFront = new QLineSeries(chart);
    m_depthBack = new QLineSeries(chart);
    m_depth = new QAreaSeries(m_depthBack, m_depthFront);
    m_depth->setPen(QPen(QColor(0x99, 0x10, 0x10), 1));
    m_depth->setBrush(QColor(0xC8, 0x28, 0x28, 110));

    m_rateAxis = new QValueAxis(chart);
    m_rateAxis->setLabelFormat(u"%d"_s);
    m_rateAxis->setRange(0, 100);
    m_rateAxis->setTickCount(6);
    m_countAxis = new QCategoryAxis(chart);
    m_countAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_countAxis->setRange(0, 1);

    chart->addSeries(m_depth);
    chart->addSeries(m_series);
    chart->addAxis(m_rateAxis, Qt::AlignLeft);
    chart->addAxis(m_countAxis, Qt::AlignBottom);
    for (QAbstractSeries *s : {static_cast<QAbstractSeries *>(m_depth), static_cast<QAbstractSeries *>(m_series)}) {
        s->attachAxis(m_rateAxis);
        s->attachAxis(m_countAxis);
    }

    m_view = new QChartView(chart, this);
    m_view->setObjectName(u"Chart1"_s);
    m_view->setAccessibleName(u"学习曲线"_s);
    m_view->setRenderHint(QPainter::Antialiasing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    m_title = new QLabel(m_view);
    m_title->setObjectName(u"Image19"_s);
    m_title->setGeometry(64, 8, 601, 41);

    m_depthBox = new QCheckBox(m_view);
    m_depthBox->setObjectName(u"CheckBox3d"_s);
    m_depthBox->setAccessibleName(u"3D显示"_s);
    m_depthBox->setChecked(true);
    m_depthLabel = new ToggleLabel(u"3D显示"_s, m_depthBox, m_view);
    m_depthLabel->setObjectName(u"Label3d"_s);
    m_depthLabel->setStyleSheet(u"background:transparent"_s);
    for (QWidget *w : {static_cast<QWidget *>(m_depthBox), static_cast<QWidget *>(m_depthLabel)})
        w->adjustSize();
    connect(m_depthBox, &QCheckBox::toggled, this, &LearningCurveView::showDepth);
    connect(chart, &QChart::plotAreaChanged, this, &LearningCurveView::updateDepth);
    showDepth(true);
}

QChart *LearningCurveView::chart() const
{
    return m_view->chart();
}

bool LearningCurveView::isDepthShown() const
{
    return m_depth->isVisible();
}

void LearningCurveView::setPictures(const QPixmap &title, const QPixmap &back)
{
    m_title->setPixmap(title);
    m_title->setVisible(!title.isNull());
    // A brush with a picture tiles it.
    chart()->setPlotAreaBackgroundBrush(back.isNull() ? QBrush(kCream) : QBrush(back));
}

void LearningCurveView::setAxisTitles(const QString &rate, const QString &count)
{
    m_rateAxis->setTitleText(rate);
    m_countAxis->setTitleText(count);
}

void LearningCurveView::setSeriesTitle(const QString &title)
{
    m_series->setName(title);
}

void LearningCurveView::setPoints(const QList<records::CurvePoint> &points)
{
    QList<QPointF> xy;
    xy.reserve(points.size());
    double top = 100;
    for (const records::CurvePoint &p : points) {
        xy.append(QPointF(p.x, p.y));
        top = std::max(top, p.y);
    }
    m_series->replace(xy);

    for (const QString &label : m_countAxis->categoriesLabels())
        m_countAxis->remove(label);
    // Every point's label while they fit; beyond that every k-th, so that they do not overlap.
    const qsizetype step = std::max<qsizetype>(1, (points.size() + kMaxCountLabels - 1) / kMaxCountLabels);
    for (qsizetype k = 0; k < points.size(); k += step)
        m_countAxis->append(points.at(k).label, points.at(k).x);
    const int last = points.isEmpty() ? 1 : points.last().x;
    m_countAxis->setStartValue(0.5);
    m_countAxis->setRange(0.5, last + 0.5);
    const double rounded = std::ceil(top / 20) * 20;
    m_rateAxis->setRange(0, rounded);
    m_rateAxis->setTickCount(int(rounded / 20) + 1);
    updateDepth();
}

void LearningCurveView::showDepth(bool shown)
{
    m_depth->setVisible(shown);
    chart()->setDropShadowEnabled(shown);
    updateDepth();
}

void LearningCurveView::updateDepth()
{
    const QRectF area = chart()->plotArea();
    if (!m_depth->isVisible() || area.width() <= 0 || area.height() <= 0) {
        m_depthFront->clear();
        m_depthBack->clear();
        return;
    }
    // The depth is a fixed number of pixels up and to the right, whatever the axis ranges.
    const double dx = kDepthPixels * (m_countAxis->max() - m_countAxis->min()) / area.width();
    const double dy = kDepthPixels * (m_rateAxis->max() - m_rateAxis->min()) / area.height();
    const QList<QPointF> front = m_series->points();
    QList<QPointF> back;
    back.reserve(front.size());
    for (const QPointF &p : front)
        back.append(p + QPointF(dx, dy));
    m_depthFront->replace(front);
    m_depthBack->replace(back);
}

void LearningCurveView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int right = m_view->width() - 12;
    m_depthLabel->move(right - m_depthLabel->width(), 18);
    m_depthBox->move(m_depthLabel->x() - m_depthBox->width() - 2,
                     18 + (m_depthLabel->height() - m_depthBox->height()) / 2);
    m_depthBox->raise();
    m_depthLabel->raise();
}
