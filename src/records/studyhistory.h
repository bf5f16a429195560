#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <optional>

// The learner's finished sessions as the study-progress panel reads them: the texts of the history
// grid, the points of the learning curve, the course and chapter of a session, and clearing every
// record. All queries throw db::Error.
namespace records {

// "yyyyMMddhhmmss" shown as "yy-MM-dd hh:mm"; seconds and century are left out.
QString pageIdText(const QString &pageId);

// The rate of right answers over answered questions, cut to a whole percent ("66%"); "未完成" when
// nothing was judged; empty when the session has no count of right answers.
QString rateText(const QVariant &right, const QVariant &wrong);

// One point of the learning curve: x counts sessions from the newest (1) to the oldest; y is right
// answers over all questions of the session, in percent, not rounded.
struct CurvePoint
{
    int x = 0;
    double y = 0;
    QString label;

    bool operator==(const CurvePoint &) const = default;
};

// Curve value of one session; none when the session counts no question at all.
std::optional<double> curveValue(const QVariant &right, const QVariant &notDone, const QVariant &done);

// Every finished session's point, in ascending x (newest first).
QList<CurvePoint> curvePoints(const QSqlDatabase &db);

// Course and chapter of the first answer record of a session whose question is still in the bank.
struct CourseChapter
{
    QString course;
    QString chapter;
};
std::optional<CourseChapter> courseOf(const QSqlDatabase &db, const QString &pageId);

int sessionCount(const QSqlDatabase &db);

// Deletes every session summary and every answer record, together or not at all. The working
// copy (tmp, tmp_id) stays.
void clearRecords(const QSqlDatabase &db);

} // namespace records
