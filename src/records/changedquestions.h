#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Questions whose key a bank update changed, as the merge listed them in qm_changed, seen from the
// learner's side: those he had answered before the change are worth practising again. His old
// answer records stay as they were. A sub-question's changed key counts for its case question.
namespace records {

struct ChangedQuestion
{
    QString pId;
    QString chapter;
    QString stem;
    QDate changedOn; // the day of the latest update that changed its key
};

// Of the keys changed by the merge at changedAt ("yyyyMMddhhmmss"): how many questions, and how
// many of them the learner had answered before. Throw db::Error.
int changedKeysAt(const QSqlDatabase &db, const QString &changedAt);
int answeredChangedAt(const QSqlDatabase &db, const QString &changedAt);

// The report lines of the updater for those two counts.
QStringList changedReportLines(int changedKeys, int answered);

// The questions answered before their key changed, of one course (all courses when courseId is
// empty), in type and id order; untoldOnly: only changes the learner was not told of at a start.
// Throw db::Error.
QList<ChangedQuestion> answeredChanged(const QSqlDatabase &db, const QString &courseId, bool untoldOnly = false);
// Marks every listed change as told. Throws db::Error.
void markChangesTold(const QSqlDatabase &db);

// The notice at start-up.
QString changedNotice(int count);

} // namespace records
