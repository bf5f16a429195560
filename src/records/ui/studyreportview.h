#pragma once

#include "records/changedquestions.h"
#include "records/studyreport.h"

#include <QHash>
#include <QWidget>

#include <array>

class MainWindow;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QTextBrowser;

// The study report in the "学习建议" group: the course chosen, today's reviews per course with
// "今日复习", a small chart per chapter, the three weakest chapters each with a button that
// practises its wrong and unanswered questions, the questions whose key changed with a button to
// practise them, and the rest (rates per type, the questions answered wrongly most often, the
// chapters not practised yet) as text. Everything shown comes from records::buildStudyReport,
// records::dueCounts and records::answeredChanged.
//
// Children: adviceCourse, dueLabel, reviewTodayButton, dueCourses, chapterCharts (a scroll area;
// rate_<chapter id> per chapter), weakLabel, weakChapter1..3, changedPracticeButton, wbAdvice.
class StudyReportView final : public QWidget
{
    Q_OBJECT
public:
    StudyReportView(MainWindow *main, QWidget *parent);

    // Reads the courses and the due counts again and shows the chosen course's report.
    void reload();
    void showCourse(const QString &courseId);

    QTextBrowser *browser() const { return m_text; }
    const records::StudyReport &report() const { return m_report; }

    // "今日复习", a weak chapter's button (0..2), the changed-questions button.
    void reviewTodayClick();
    void weakChapterClick(int index);
    void changedPracticeClick();

private:
    QString courseId() const;
    QString courseName() const;
    void fillCharts();
    void fillText();

    MainWindow *m_main;
    records::StudyReport m_report;
    QList<records::ChangedQuestion> m_changed;
    QStringList m_due;
    QHash<QString, QStringList> m_dueByCourse; // as read by reload()
    QComboBox *m_course = nullptr;
    QLabel *m_dueLabel = nullptr;
    QPushButton *m_reviewToday = nullptr;
    QLabel *m_dueCourses = nullptr;
    QWidget *m_charts = nullptr;
    QGridLayout *m_chartGrid = nullptr;
    QLabel *m_weakLabel = nullptr;
    std::array<QPushButton *, 3> m_weak{};
    QPushButton *m_changedButton = nullptr;
    QTextBrowser *m_text = nullptr;
};
