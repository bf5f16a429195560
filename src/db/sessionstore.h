#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

class Clock;

// The statements every session builder shares: the session id, the scratch selection in tmp_id,
// the answer records in test_page and the working copy in tmp. All throw db::Error.
namespace db {

// "yyyyMMddhhmmss" of now; when that id was already issued or is in use, waits for the next second.
QString newPageId(const QSqlDatabase &db, Clock &clock);

void clearTmp(const QSqlDatabase &db);
void clearTmpId(const QSqlDatabase &db);

// Appends the first n questions of one type of a chapter, in table order, to tmp_id.
void selectFirstOfType(const QSqlDatabase &db, const QString &chapterId, int type, int n);

struct Selected
{
    QString pId;
    double score = 0;
    QString type;
};
// tmp_id joined with the question types.
QList<Selected> listSelection(const QSqlDatabase &db);
int countSelectionOfType(const QSqlDatabase &db, int type);

struct AnswerRecord
{
    QString pId;
    double score = 0;
    QVariant type;             // null for the targeted builders, which leave p_type empty
    QString firstAnswer;       // copied from an earlier record by some builders
    bool mask = false;
    bool okMask = false;
};
void appendAnswerRecords(const QSqlDatabase &db, const QString &pageId, const QList<AnswerRecord> &records);

// The working copy of a practice session: one tmp row per question and one per case sub-question,
// sub-question rows carrying the sub-question's options, answer, explanation, marks and stem.
void copyForPractice(const QSqlDatabase &db, const QString &pageId);

// The working copy of an exam: tmp cleared, one row per answer record with its check-later flag "false".
void copyForExam(const QSqlDatabase &db, const QString &pageId);

// The summary row of a finished session: appended when the session has none yet, else overwritten.
struct PageTotal
{
    int right = 0;
    int wrong = 0;
    int notDone = 0;
    int done = 0;
    QString timeText;
    QString sessionKind;
    double score = 0;
};
void storePageTotal(const QSqlDatabase &db, const QString &pageId, const PageTotal &total);

// The practice window's rows: by type, question and sub-question number.
QSqlQuery readPracticeCopy(const QSqlDatabase &db, const QString &pageId);

// The tmp row of a question (subNumber "0" for a question that is not a case question).
QSqlQuery workingRow(const QSqlDatabase &db, const QString &pId, const QString &subNumber);

// The session's answer records (the random-paper builder reads them by type and question).
QSqlQuery sessionRecords(const QSqlDatabase &db, const QString &pageId, bool byTypeAndQuestion = false);

} // namespace db
