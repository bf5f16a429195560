#pragma once

#include <QSqlDatabase>
#include <QString>

// The totals of a finished practice session, their row in page_total and the texts of the
// practice-result panel.
namespace practice {

struct PracticeTotals
{
    int done = 0;     // answer records answered
    int notDone = 0;  // answer records not answered
    int right = 0;    // working rows judged right (each case sub-question counts once)
    int wrong = 0;    // working rows not judged right
    double score = 0; // marks of the records judged right
    double fullMarks = 0;
};

// Over every answer record and working row of the session, whatever part a window showed.
// Throws db::Error.
PracticeTotals computeTotals(const QSqlDatabase &db, const QString &pageId);

// Appends the session's page_total row, or overwrites it when the session has one already, in one
// transaction. Throws db::Error.
void storeTotals(const QSqlDatabase &db, const QString &pageId, const PracticeTotals &totals,
                 const QString &elapsedText, const QString &sessionKind);

// What the practice-result panel shows of a finished session.
struct PracticeResult
{
    QString course;
    QString chapter;
    QString startTime;
    QString elapsed;
    int questionTotal = 0;
    PracticeTotals totals;
};

// score / full × 100 rounded half to even, with "%"; "0.0%" when full is 0.
QString percentText(double score, double fullMarks);

} // namespace practice
