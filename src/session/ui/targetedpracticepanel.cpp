#include "session/ui/targetedpracticepanel.h"

#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/practicelauncher.h"
#include "practice/ui/practicewindow.h"
#include "session/ui/chapterpracticepanel.h"
#include "shell/clock.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>

using namespace Qt::StringLiterals;
using session::TargetedMode;

void TargetedPracticePanel::setModeTexts(TargetedMode mode)
{
    m_query.mode = mode;
    const session::TargetedTexts texts = session::targetedTexts(mode);
    m_settings->setTitle(texts.heading);
    m_heading->setText(texts.heading);
    m_title->setText(texts.title);
    m_description->setText(texts.description);
    m_autoAdvance->setChecked(false);
    // What another mode found cannot be started under this one.
    showResult({});
}

void TargetedPracticePanel::bringToFront()
{
    m_chapterPanel->boxes()->setCurrentWidget(this);
}

bool TargetedPracticePanel::currentCourse()
{
    m_query.courseId = m_chapterPanel->courseId(m_courses->currentIndex());
    m_query.today = Clock::instance().now().date();
    return !m_query.courseId.isEmpty();
}

void TargetedPracticePanel::runSelection()
{
    if (!currentCourse()) {
        showResult({});
        return;
    }
    session::TargetedCounts counts;
    try {
        counts = session::storeSelection(db::bank(), m_query);
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        counts = {};
    }
    showResult(counts);
}

void TargetedPracticePanel::showResult(const session::TargetedCounts &counts)
{
    const int n = counts.total;
    m_found->setText(QString::number(n));
    m_howMany->setRange(n > 0 ? 1 : 0, n);
    m_howMany->setValue(n);
    m_startFrom->setRange(n > 0 ? 1 : 0, n);
    m_startFrom->setValue(n > 0 ? 1 : 0);
    m_howMany->setEnabled(n > 0);
    m_startFrom->setEnabled(n > 0);
    const session::TargetedLines lines = session::targetedLines(m_query.mode, m_courses->currentText(), counts);
    m_lines[0]->setText(lines.single);
    m_lines[1]->setText(lines.multiple);
    m_lines[2]->setText(lines.judge);
    m_fourthName->setText(lines.fourthName);
    m_fourthLine->setText(lines.fourthLine);
    m_start->setEnabled(n > 0);
}

void TargetedPracticePanel::SpeedButton21Click()
{
    setModeTexts(TargetedMode::Essence);
    m_main->setSessionKind(session::targetedTexts(TargetedMode::Essence).sessionKind);
    m_searchBox->hide();
    m_periodBox->hide();
    runSelection();
    bringToFront();
}

void TargetedPracticePanel::SpeedButton22Click()
{
    bringToFront();
    setModeTexts(TargetedMode::Search);
    m_main->setSessionKind(session::targetedTexts(TargetedMode::Search).sessionKind);
    m_periodBox->hide();
    m_searchBox->show();
    m_searchBox->raise();
    m_searchText->clear();
    m_searchText->setFocus();
}

void TargetedPracticePanel::SpeedButton31Click()
{
    const QString text = m_searchText->text();
    if (session::isBlankSearch(text)) {
        messages::inform(this, u"当前搜索内容为空,请重新输入...."_s, u"信息提示"_s);
        m_searchText->setFocus();
        return;
    }
    m_heading->setText(u"搜索包含【"_s + text + u"】的练习题及模拟试卷题"_s);
    m_query.searchText = text;
    runSelection();
    if (m_found->text() == u"0"_s) {
        messages::inform(this, u"按当前搜索内容:["_s + text + u"],结果为零,请重新输入...."_s, u"信息提示"_s);
        m_searchText->selectAll();
        m_searchText->setFocus();
        return;
    }
    m_searchBox->hide();
}

void TargetedPracticePanel::SpeedButton40Click()
{
    m_searchBox->hide();
    bringToFront();
}

void TargetedPracticePanel::SpeedButton23Click()
{
    bringToFront();
    setModeTexts(TargetedMode::Wrong);
    m_main->setSessionKind(session::targetedTexts(TargetedMode::Wrong).sessionKind);
    m_searchBox->hide();
    const session::PeriodLabels labels = session::periodLabels(Clock::instance().now().date());
    m_periodLabels[0]->setText(labels.today);
    m_periodLabels[1]->setText(labels.week);
    m_periodLabels[2]->setText(labels.month);
    m_periods[0]->setChecked(true);
    m_periodBox->show();
    m_periodBox->raise();
}

void TargetedPracticePanel::SpeedButton52Click()
{
    m_periodBox->hide();
    static constexpr std::array kPeriods{session::WrongPeriod::Today, session::WrongPeriod::LastWeek,
                                         session::WrongPeriod::LastMonth, session::WrongPeriod::All};
    for (size_t k = 0; k < m_periods.size(); ++k) {
        if (m_periods[k]->isChecked())
            m_query.period = kPeriods[k];
    }
    runSelection();
}

void TargetedPracticePanel::SpeedButton53Click()
{
    m_periodBox->hide();
    bringToFront();
}

void TargetedPracticePanel::autoAdvanceToggled(bool checked)
{
    // Unchecked means no countdown: 0 seconds.
    if (!checked)
        m_seconds->setValue(0);
    else if (m_seconds->value() == 0)
        m_seconds->setValue(m_main->config().autoTime.toInt());
    m_seconds->setEnabled(checked);
}

void TargetedPracticePanel::SpeedButton24Click()
{
    bool corrected = false;
    const int start = session::startIndex(m_howMany->value(), m_startFrom->value(), &corrected);
    if (corrected) {
        messages::inform(
            this, u"您重新设置的题型,最后题目数不能从:"_s + m_startFrom->text() + u"开始,程序自动从第1题开始..."_s,
            u"信息提示"_s);
    }
    // The working copy is about to be replaced: the windows that show the old one go first.
    if (!m_main->closeSessionWindows())
        return;
    if (!currentCourse())
        return;
    session::TargetedBuild built;
    try {
        built = session::buildTargetedSession(db::bank(), Clock::instance(), m_query, m_howMany->value());
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    if (built.pageId.isEmpty()) {
        // The records changed since they were counted (cleared, for instance).
        runSelection();
        return;
    }
    m_main->setCurrentPageId(built.pageId);

    practice::PracticeInputs in;
    in.sessionKind = session::targetedTexts(m_query.mode).sessionKind;
    in.countdownStart = m_seconds->value();
    in.questionSeconds = m_seconds->value();
    in.questionTotal = built.questionTotal;
    in.startTime = Clock::instance().now().toString(u"HH:mm:ss"_s);
    in.autoAdvance = m_autoAdvance->isChecked();
    in.elapsedClock = true;
    in.firstNumber = QString::number(start);
    in.startPosition = start;
    in.fourthTypeName = m_fourthName->text();
    in.fontSize = m_fontSize->value();
    in.answerCover = true;
    in.questionSet = practice::QuestionSet::Session;
    in.pageId = built.pageId;
    openPracticeWindow(m_main, in);
}
