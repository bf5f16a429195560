#include "records/ui/studypanel.h"

#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/skinbackground.h"
#include "records/historymodel.h"
#include "records/studyhistory.h"
#include "records/ui/aidpractice.h"
#include "records/ui/historyview.h"
#include "records/ui/learningcurve.h"
#include "records/ui/studyreportview.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

StudyPanel::StudyPanel(MainWindow *main, QWidget *panel8)
    : QWidget(panel8)
    , m_main(main)
{
    setObjectName(u"studyPanel"_s);
    auto *outer = new QVBoxLayout(panel8);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(8);
    row->addWidget(buildColumn());

    m_groups = new QStackedWidget(this);
    m_groups->setObjectName(u"studyGroups"_s);
    m_curveBox = new QGroupBox(u"曲线"_s, m_groups);
    m_curveBox->setObjectName(u"gbCurve"_s);
    m_curve = new LearningCurveView(m_curveBox);
    (new QVBoxLayout(m_curveBox))->addWidget(m_curve);
    m_adviceBox = new QGroupBox(u"学习建议"_s, m_groups);
    m_adviceBox->setObjectName(u"gbAdvice"_s);
    m_report = new StudyReportView(main, m_adviceBox);
    m_advice = m_report->browser();
    (new QVBoxLayout(m_adviceBox))->addWidget(m_report);
    m_history = new HistoryView(m_groups);
    m_groups->addWidget(m_curveBox);
    m_groups->addWidget(m_adviceBox);
    m_groups->addWidget(m_history);
    row->addWidget(m_groups, 1);

    connect(main, &MainWindow::studyProgressRequested, this, &StudyPanel::openPanel);
    // Questions whose key an update changed are told of once, at the start after the update.
    connect(main, &MainWindow::firstShown, this, [main] { aids::tellChangedQuestions(main); });
}

QGroupBox *StudyPanel::buildColumn()
{
    m_column = new QGroupBox(u" 学习进度 "_s, this);
    m_column->setObjectName(u"gbProgress"_s);
    m_column->setFixedWidth(176);
    auto *column = new QVBoxLayout(m_column);
    column->setContentsMargins(27, 24, 27, 12);
    column->setSpacing(10);
    const auto button = [this, column](const QString &name, const QString &caption, void (StudyPanel::*action)()) {
        auto *b = new QToolButton(m_column);
        b->setObjectName(name);
        b->setText(caption);
        b->setAccessibleName(caption);
        b->setAutoRaise(true);
        b->setFixedSize(121, 41);
        if (action)
            connect(b, &QToolButton::clicked, this, action);
        column->addWidget(b);
        return b;
    };
    button(u"SpeedButton18"_s, u"学习曲线"_s, &StudyPanel::showCurve);
    button(u"SpeedButton19"_s, u"历史记录"_s, &StudyPanel::showHistory);
    button(u"SpeedButton39"_s, u"清除记录"_s, &StudyPanel::clearRecords);
    button(u"adviceButton"_s, u"学习建议"_s, &StudyPanel::showAdvice);
    column->addStretch();
    return m_column;
}

void StudyPanel::openPanel()
{
    skin::setBackground(m_column, skin::picture(u"skin/bg16.bmp"_s));
    m_curve->setAxisTitles(u"正确率%"_s, u"次数"_s);
    m_curve->clear();
    m_curve->setSeriesTitle(u"正确率"_s);
    showCurve();
}

void StudyPanel::showCurve()
{
    m_groups->setCurrentWidget(m_curveBox);
    m_curve->setPictures(skin::picture(u"skin/bg19.bmp"_s), skin::picture(u"skin/bg19-1.bmp"_s));
    reloadHistory();
}

void StudyPanel::reloadHistory()
{
    // The curve is rebuilt from scratch each time, so pressing "学习曲线" twice draws it once.
    m_history->close();
    m_curve->clear();
    try {
        m_history->reload();
        if (m_history->model()->rowCount() == 0)
            return;
        m_main->showWaitNotice(MainWindow::WaitNotice::Opening, true);
        const QList<records::CurvePoint> points = records::curvePoints(db::bank());
        m_curve->setPoints(points);
        m_main->showWaitNotice(MainWindow::WaitNotice::Opening, false);
    } catch (const db::Error &e) {
        m_main->showWaitNotice(MainWindow::WaitNotice::Opening, false);
        messages::inform(this, e.message(), u"错误信息"_s);
    }
}

void StudyPanel::showAdvice()
{
    m_groups->setCurrentWidget(m_adviceBox);
    m_report->reload();
}

void StudyPanel::showHistory()
{
    m_groups->setCurrentWidget(m_history);
    m_history->selectFirst();
}

void StudyPanel::clearRecords()
{
    try {
        if (records::sessionCount(db::bank()) == 0) {
            messages::informYes(this, u"当前没有学习记录，无需本次操作..."_s, u"信息提示"_s);
            return;
        }
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    if (!messages::askYesNo(this, u"确定需要清除学习记录吗?"_s, u"信息提示"_s))
        return;
    // A session window would go on writing the records being deleted.
    if (!m_main->closeSessionWindows())
        return;
    try {
        records::clearRecords(db::bank());
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
    }
    QWidget *panel8 = m_main->panel(u"Panel8"_s);
    m_main->bringToFront(panel8);
    reloadHistory();
    m_groups->setCurrentWidget(m_history);
}
