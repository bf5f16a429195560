#include "records/ui/studyreportview.h"

#include "db/connection.h"
#include "db/sql.h"
#include "records/reviewschedule.h"
#include "records/ui/aidpractice.h"
#include "records/ui/ratebars.h"
#include "shell/clock.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString percent(double rate)
{
    return rate < 0 ? u"—"_s : u"%1%"_s.arg(rate, 0, 'f', 1);
}

QString shortStem(const QString &stem)
{
    const QString s = stem.simplified();
    return s.size() > 40 ? s.left(40) + u"…"_s : s;
}

} // namespace

StudyReportView::StudyReportView(MainWindow *main, QWidget *parent)
    : QWidget(parent)
    , m_main(main)
{
    setObjectName(u"studyReport"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *top = new QHBoxLayout;
    auto *courseLabel = new QLabel(u"课程:"_s, this);
    m_course = new QComboBox(this);
    m_course->setObjectName(u"adviceCourse"_s);
    m_course->setMinimumWidth(200);
    courseLabel->setBuddy(m_course);
    m_dueLabel = new QLabel(this);
    m_dueLabel->setObjectName(u"dueLabel"_s);
    m_reviewToday = new QPushButton(u"今日复习"_s, this);
    m_reviewToday->setObjectName(u"reviewTodayButton"_s);
    m_reviewToday->setAccessibleName(u"今日复习"_s);
    top->addWidget(courseLabel);
    top->addWidget(m_course);
    top->addSpacing(16);
    top->addWidget(m_dueLabel);
    top->addWidget(m_reviewToday);
    top->addStretch();
    layout->addLayout(top);
    m_dueCourses = new QLabel(this);
    m_dueCourses->setObjectName(u"dueCourses"_s);
    m_dueCourses->setWordWrap(true);
    layout->addWidget(m_dueCourses);

    auto *body = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    auto *chartsTitle = new QLabel(u"各章正确率（上：最近一次作答，下：全部作答）"_s, this);
    left->addWidget(chartsTitle);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(u"chapterCharts"_s);
    scroll->setWidgetResizable(true);
    m_charts = new QWidget(scroll);
    m_chartGrid = new QGridLayout(m_charts);
    m_chartGrid->setContentsMargins(4, 4, 4, 4);
    m_chartGrid->setVerticalSpacing(4);
    scroll->setWidget(m_charts);
    left->addWidget(scroll, 1);
    m_weakLabel = new QLabel(this);
    m_weakLabel->setObjectName(u"weakLabel"_s);
    left->addWidget(m_weakLabel);
    for (int k = 0; k < 3; ++k) {
        m_weak[k] = new QPushButton(this);
        m_weak[k]->setObjectName(u"weakChapter%1"_s.arg(k + 1));
        connect(m_weak[k], &QPushButton::clicked, this, [this, k] { weakChapterClick(k); });
        left->addWidget(m_weak[k]);
    }
    m_changedButton = new QPushButton(this);
    m_changedButton->setObjectName(u"changedPracticeButton"_s);
    left->addWidget(m_changedButton);
    body->addLayout(left, 3);
    m_text = new QTextBrowser(this);
    m_text->setObjectName(u"wbAdvice"_s);
    m_text->setAccessibleName(u"学习建议"_s);
    body->addWidget(m_text, 2);
    layout->addLayout(body, 1);

    connect(m_course, &QComboBox::activated, this, [this] { showCourse(courseId()); });
    connect(m_reviewToday, &QPushButton::clicked, this, &StudyReportView::reviewTodayClick);
    connect(m_changedButton, &QPushButton::clicked, this, &StudyReportView::changedPracticeClick);
}

QString StudyReportView::courseId() const
{
    return m_course->currentData().toString();
}

QString StudyReportView::courseName() const
{
    return m_course->currentText();
}

void StudyReportView::reload()
{
    const QString chosen = courseId();
    QList<records::CourseDue> due;
    try {
        due = records::dueCounts(db::bank(), Clock::instance().now().date());
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    m_course->clear();
    m_dueByCourse.clear();
    QStringList parts;
    for (const records::CourseDue &d : due) {
        m_dueByCourse.insert(d.courseId, d.questions);
        m_course->addItem(d.courseName, d.courseId);
        parts << u"%1 %2 题"_s.arg(d.courseName).arg(d.due);
    }
    m_dueCourses->setText(u"各课程今日需复习: "_s + parts.join(u"，"_s));
    const int at = m_course->findData(chosen);
    m_course->setCurrentIndex(at < 0 ? 0 : at);
    showCourse(courseId());
}

void StudyReportView::showCourse(const QString &id)
{
    try {
        m_report = id.isEmpty() ? records::StudyReport{} : records::buildStudyReport(db::bank(), id);
        m_changed = id.isEmpty() ? QList<records::ChangedQuestion>() : records::answeredChanged(db::bank(), id);
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    m_due = m_dueByCourse.value(id);
    m_dueLabel->setText(u"今日需复习: %1 题"_s.arg(m_due.size()));
    m_reviewToday->setEnabled(!m_due.isEmpty());
    m_weakLabel->setText(m_report.weakest.isEmpty() ? u"最薄弱的章节: 无（还没有练习过的章节）"_s : u"最薄弱的章节:"_s);
    for (int k = 0; k < 3; ++k) {
        const bool shown = k < m_report.weakest.size();
        m_weak[k]->setVisible(shown);
        if (!shown)
            continue;
        const records::RateLine &c = m_report.weakest.at(k);
        const QString caption = u"练习 %1（错题 %2，未做 %3）"_s.arg(c.name).arg(c.wrongLatest()).arg(c.unanswered());
        m_weak[k]->setText(caption);
        m_weak[k]->setAccessibleName(caption);
    }
    const QString changedCaption = u"练习答案已修改的题目（%1 题）"_s.arg(m_changed.size());
    m_changedButton->setText(changedCaption);
    m_changedButton->setAccessibleName(changedCaption);
    m_changedButton->setVisible(!m_changed.isEmpty());
    fillCharts();
    fillText();
}

void StudyReportView::fillCharts()
{
    while (QLayoutItem *item = m_chartGrid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int row = 0;
    for (const records::RateLine &c : std::as_const(m_report.chapters)) {
        auto *name = new QLabel(c.name, m_charts);
        name->setWordWrap(true);
        name->setMinimumWidth(150);
        name->setMaximumWidth(190);
        auto *bars = new RateBars(m_charts);
        bars->setObjectName(u"rate_"_s + c.key);
        bars->setAccessibleName(c.name);
        bars->setRates(c.latestRate(), c.overallRate());
        auto *counts = new QLabel(u"已做 %1/%2 题"_s.arg(c.answeredQuestions).arg(c.questions), m_charts);
        m_chartGrid->addWidget(name, row, 0);
        m_chartGrid->addWidget(bars, row, 1);
        m_chartGrid->addWidget(counts, row, 2);
        ++row;
    }
    m_chartGrid->setColumnStretch(1, 1);
    m_chartGrid->setRowStretch(row, 1);
}

void StudyReportView::fillText()
{
    QString html;
    if (m_report.answers == 0)
        html += u"<p>本课程还没有答题记录，先从章节练习开始吧。</p>"_s;
    html += u"<h4>各题型正确率</h4><table cellspacing=0 cellpadding=2 border=1>"
            "<tr><th>题型</th><th>题数</th><th>已做</th><th>最近一次正确率</th><th>全部作答正确率</th></tr>"_s;
    for (const records::RateLine &t : std::as_const(m_report.types)) {
        html += u"<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>"_s.arg(t.name.toHtmlEscaped())
                    .arg(t.questions)
                    .arg(t.answeredQuestions)
                    .arg(percent(t.latestRate()), percent(t.overallRate()));
    }
    html += u"</table>"_s;

    html += u"<h4>最常做错的题目</h4>"_s;
    if (m_report.mostWrong.isEmpty()) {
        html += u"<p>无</p>"_s;
    } else {
        html += u"<ol>"_s;
        for (const records::FrequentWrong &w : std::as_const(m_report.mostWrong))
            html += u"<li>%1 <span style='color:gray'>（%2，错 %3 次 / 共做 %4 次）</span></li>"_s
                        .arg(shortStem(w.stem).toHtmlEscaped(), w.chapter.toHtmlEscaped())
                        .arg(w.wrong)
                        .arg(w.answers);
        html += u"</ol>"_s;
    }

    html += u"<h4>尚未练习的章节</h4><p>%1</p>"_s.arg(
        m_report.unpractised.isEmpty() ? u"无"_s : m_report.unpractised.join(u"、"_s).toHtmlEscaped());

    html += u"<h4>题库更新后答案已修改的题目</h4>"_s;
    if (m_changed.isEmpty()) {
        html += u"<p>无</p>"_s;
    } else {
        html += u"<ul>"_s;
        for (const records::ChangedQuestion &c : std::as_const(m_changed))
            html += u"<li>%1 <span style='color:gray'>（%2，%3 修改）</span></li>"_s.arg(
                shortStem(c.stem).toHtmlEscaped(), c.chapter.toHtmlEscaped(), c.changedOn.toString(u"yyyy-MM-dd"_s));
        html += u"</ul>"_s;
    }
    m_text->setHtml(html);
}

void StudyReportView::reviewTodayClick()
{
    aids::openPractice(m_main, this, m_due, QString::fromUtf8(aids::kReviewKind), courseName());
}

void StudyReportView::weakChapterClick(int index)
{
    if (index < 0 || index >= m_report.weakest.size())
        return;
    QStringList ids;
    try {
        ids = records::weakQuestions(db::bank(), m_report.weakest.at(index).key);
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    aids::openPractice(m_main, this, ids, QString::fromUtf8(aids::kWeakChapterKind), courseName());
}

void StudyReportView::changedPracticeClick()
{
    QStringList ids;
    for (const records::ChangedQuestion &c : std::as_const(m_changed))
        ids << c.pId;
    aids::openPractice(m_main, this, ids, QString::fromUtf8(aids::kChangedKind), courseName());
}
