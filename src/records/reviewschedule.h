#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>

// The review schedule of wrongly answered questions, computed from the answer records alone: a
// question answered wrongly comes back after 1 day, then 2, 4, 7, 15 and 30 days. An answer given
// on or after the day it is due is a review: right moves it one step on (right at the last step
// takes it off the schedule), wrong sends it back to the start. A wrong answer at any time sends it
// back to the start; a right one before it is due changes nothing. An answer's day is the day of
// its session.
namespace records {

inline constexpr std::array<int, 6> kReviewDays{1, 2, 4, 7, 15, 30};

struct ReviewState
{
    int step = -1; // index into kReviewDays; -1 when not on the schedule
    QDate since;   // day of the answer that set the step

    bool scheduled() const { return step >= 0; }
    QDate due() const { return scheduled() ? since.addDays(kReviewDays[step]) : QDate(); }
    bool isDue(const QDate &today) const { return scheduled() && due() <= today; }
};

// The state after one more answer, given on day `day`.
ReviewState afterAnswer(ReviewState state, const QDate &day, bool right);

struct CourseDue
{
    QString courseId;
    QString courseName;
    int due = 0;
    QStringList questions; // the questions due, in type and id order
};

// Questions due today per course, every course in table order; one pass over the records. Throws db::Error.
QList<CourseDue> dueCounts(const QSqlDatabase &db, const QDate &today);
// The questions of one course due today, in type and id order. Throws db::Error.
QStringList dueQuestions(const QSqlDatabase &db, const QString &courseId, const QDate &today);

} // namespace records
