#pragma once

#include <QString>
#include <QStringList>

// Which questions a merge changes: before a planned table overwrites its rows, the questions (and
// case sub-questions) whose key or stem the new row alters are written to qm_changed with the
// time of the update. Learners' answer records are left as they are; the trainer reads the list.
namespace update {

struct MergeNames;

// The statements for one table of the merge plan: for ex_page_id and ex_sub, one statement per
// watched column, each binding the time of the update ("yyyyMMddhhmmss"); none for other tables.
// localColumns / incomingColumns pair up by position as the merge copies them; plan is the
// table's plan table (n, src, dst) where dst is the local row a new row overwrites.
QStringList changeStatements(const MergeNames &names, const QString &table, const QStringList &localColumns, const QStringList &incomingColumns,
                             const QString &plan);

} // namespace update
