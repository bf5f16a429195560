#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The study report of one course, built from the learner's answer records: how often he answers
// right per chapter and per question type, the questions he gets wrong most often, the chapters he
// has not practised yet and his three weakest chapters. Only answered records count (an answer
// record left unanswered is not an answer).
namespace records {

struct RateLine
{
    QString key;  // chapter id, or the type "1".."6"
    QString name; // chapter name, or the type's name
    int questions = 0;
    int answeredQuestions = 0; // questions with at least one answer
    int rightLatest = 0;       // of those, questions whose latest answer is right
    int answers = 0;           // every answer to its questions
    int rightAnswers = 0;

    // In percent, 0..100; -1 when nothing was answered.
    double latestRate() const;
    double overallRate() const;
    // Questions whose latest answer is wrong, and questions never answered.
    int wrongLatest() const { return answeredQuestions - rightLatest; }
    int unanswered() const { return questions - answeredQuestions; }
};

struct FrequentWrong
{
    QString pId;
    QString chapter; // chapter name
    QString stem;
    int wrong = 0;
    int answers = 0;
};

struct StudyReport
{
    QList<RateLine> chapters; // the course's practice chapters, in id order
    QList<RateLine> types;    // types 1..6 that the course holds (chapters and papers)
    QList<FrequentWrong> mostWrong;
    QStringList unpractised; // names of chapters without any answer
    QList<RateLine> weakest; // at most three practised chapters, lowest latest rate first
    int answers = 0;         // every answer within the course
};

// Throws db::Error.
StudyReport buildStudyReport(const QSqlDatabase &db, const QString &courseId, int mostWrongLimit = 10);

// The practice set of a chapter's weak spots: its questions whose latest answer is wrong and those
// never answered, in type and id order. Throws db::Error.
QStringList weakQuestions(const QSqlDatabase &db, const QString &chapterId);

} // namespace records
