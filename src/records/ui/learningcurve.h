#pragma once

#include "records/studyhistory.h"

#include <QWidget>

class QAreaSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QCheckBox;
class QLabel;
class QLineSeries;
class QValueAxis;

// The learning-curve chart of the study-progress panel: the rate of right answers per session as
// a red line over a tiled cream back, a title picture over the chart's head, and the "3D显示"
// switch, which draws the line with depth (a darker ribbon behind it, as if the line were a band
// seen from the front and a little below).
//
// Children: Chart1 (the chart view), Image19 (title picture), CheckBox3d and its label Label3d.
class LearningCurveView final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDepthPixels = 10;

    explicit LearningCurveView(QWidget *parent = nullptr);

    // The title picture and the tiled back image.
    void setPictures(const QPixmap &title, const QPixmap &back);
    void setAxisTitles(const QString &rate, const QString &count);
    void setSeriesTitle(const QString &title);
    // Replaces every point of the line (and the labels of the count axis).
    void setPoints(const QList<records::CurvePoint> &points);
    void clear() { setPoints({}); }

    bool isDepthShown() const;
    QChart *chart() const;
    QLineSeries *series() const { return m_series; }
    QAreaSeries *depthSeries() const { return m_depth; }
    QCategoryAxis *countAxis() const { return m_countAxis; }
    QValueAxis *rateAxis() const { return m_rateAxis; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showDepth(bool shown);
    void updateDepth();

    QChartView *m_view = nullptr;
    QLabel *m_title = nullptr;
    QCheckBox *m_depthBox = nullptr;
    QLabel *m_depthLabel = nullptr;
    QLineSeries *m_series = nullptr;
    QAreaSeries *m_depth = nullptr;
    QLineSeries *m_depthFront = nullptr;
    QLineSeries *m_depthBack = nullptr;
    QCategoryAxis *m_countAxis = nullptr;
    QValueAxis *m_rateAxis = nullptr;
};
