#pragma once

#include <QWidget>

class HistoryView;
class LearningCurveView;
class MainWindow;
class QGroupBox;
class QStackedWidget;
class QTextBrowser;
class QToolButton;
class StudyReportView;

// The study-progress content of Panel8: the left column " 学习进度 " with "学习曲线"
// (SpeedButton18), "历史记录" (SpeedButton19), "清除记录" (SpeedButton39) and the hidden
// "学习建议" button (adviceButton), and three groups of which one is in front: the curve (gbCurve),
// the study report (gbAdvice, a StudyReportView) and the history (gbHistory).
class StudyPanel final : public QWidget
{
    Q_OBJECT
public:
    StudyPanel(MainWindow *main, QWidget *panel8);

    // The navigation button "学习进阶".
    void openPanel();
    // "学习曲线": the curve in front, the sessions read again, the curve built from them.
    void showCurve();
    // "历史记录": the history in front, the newest session current.
    void showHistory();
    // "清除记录"
    void clearRecords();
    // "学习建议": the study report in front, read again.
    void showAdvice();

    QStackedWidget *groups() const { return m_groups; }
    LearningCurveView *curve() const { return m_curve; }
    HistoryView *history() const { return m_history; }
    StudyReportView *report() const { return m_report; }

private:
    QGroupBox *buildColumn();
    void reloadHistory();

    MainWindow *m_main;
    QGroupBox *m_column = nullptr;
    QStackedWidget *m_groups = nullptr;
    QGroupBox *m_curveBox = nullptr;
    QGroupBox *m_adviceBox = nullptr;
    LearningCurveView *m_curve = nullptr;
    QTextBrowser *m_advice = nullptr;
    StudyReportView *m_report = nullptr;
    HistoryView *m_history = nullptr;
};
