#pragma once

#include "exam/examsession.h"
#include "practice/practiceinputs.h"

#include <QSqlDatabase>
#include <QString>

// The review modes of the two result panels, without widgets: which answer records of the finished
// session each button selects, what it says when there are none, the resets of "重新练习" and
// "重新考试", and the inputs of the practice or exam window it reopens. Everything that reads or
// writes throws db::Error; a reset is one transaction.
namespace records {

// The five buttons of each result panel, left to right.
enum class Review {
    AllAnswers, // "查看所有答案"
    Wrong,      // "查看错题"
    Right,      // "查看对题"
    Unanswered, // "未做题目"
    Again,      // "重新练习" / "重新考试"
};

// Reviews that show only part of the session and say so when that part is empty.
inline bool isFiltered(Review r)
{
    return r == Review::Wrong || r == Review::Right || r == Review::Unanswered;
}

// "重新考试": the session kind of an exam taken again.
QString resitKind();

// ---- practice ---------------------------------------------------------------------------------

// Answer records of the session a practice review shows. Wrong and right take answered records
// only; "查看所有答案" and "重新练习" take every record of the session.
int practiceSelection(const QSqlDatabase &db, const QString &pageId, Review review);
// What an empty selection says; empty for the reviews that never refuse.
QString practiceEmptyMessage(Review review);

// "重新练习": clears every answer of the session in test_page (first answers, marks and scores
// stay) and in its working rows. When tmp holds no row of the session, the working copy is built
// again from the session's records first, as a chapter build makes it.
void resetPracticeSession(const QSqlDatabase &db, const QString &pageId);

// "计算分析题:" / "案例分析题:" / "实务操作题:" by the course of the session's questions; empty when
// the session has none.
QString sessionFourthTypeName(const QSqlDatabase &db, const QString &pageId);

struct PracticeReviewContext
{
    QString pageId;
    QString sessionKind; // the main window's
    QString autoTime;    // configured seconds per question, as text
    QString startTime;   // "hh:mm:ss" of now
};
// Resets the session for "重新练习", then gives the practice window's inputs of the review.
practice::PracticeInputs preparePracticeReview(const QSqlDatabase &db, Review review,
                                               const PracticeReviewContext &context);

// ---- exam -------------------------------------------------------------------------------------

// The answer-card and session-cursor filter of an exam review; an unanswered question counts as
// wrong here.
SessionCursor::Filter examFilter(Review review);
int examSelection(const QSqlDatabase &db, const QString &pageId, Review review);
QString examEmptyMessage(Review review);

// "重新考试": clears every answer of the session in test_page; the working copy (marks for later) stays.
void resetExamSession(const QSqlDatabase &db, const QString &pageId);

// Full marks of the questions a review shows (their marks in the question bank).
double examReviewMarks(const QSqlDatabase &db, const QString &pageId, Review review);

// "第1题                共计" + total + "题", the counter a review window opens with.
QString examReviewCounter(int total);

struct ExamReviewContext
{
    QString pageId;
    QString sessionKind; // the main window's; "重新考试" replaces it for Review::Again
    int minutes = 0;     // the mock-exam panel's minutes box
    int fontSize = 0;    // the mock-exam panel's font-size box
    QString courseName;  // as the exam window showed them
    QString paperName;
    QString startText; // date and time of now
};
// Resets the session for "重新考试", then gives the exam window's inputs of the review.
ExamInputs prepareExamReview(const QSqlDatabase &db, Review review, const ExamReviewContext &context);

} // namespace records
