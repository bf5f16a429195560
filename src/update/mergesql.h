#pragma once

#include <QString>
#include <QStringList>

// The statements that merge one table of the attached new bank (schema qm_new) into the local
// one. Identifiers come from the two banks' table layouts and are quoted; values are bound.
namespace update {

inline constexpr auto kIncomingSchema = "qm_new";

struct MergeStatements
{
    // Whether the local table has a row; the number of rows and of distinct keys of the new table.
    QString localHasRows;
    QString incomingRows;
    QString incomingKeys;
    // An empty local table and a new table without repeated keys: the new rows are copied as they
    // are. nextWindow gives the last row number of the window after the bound one (and the bound
    // window size); copy takes the window's bounds, exclusive and inclusive.
    QString nextWindow;
    QString copy;

    // Numbers the keys of the new table in the order of their first row: temp.qm_keys (n, last_row).
    QStringList numberKeys;
    // Both take the window's first and last key number.
    QString overwrite; // the first local row of each key, when it differs from the key's last new row
    QString append;    // the key's last new row, for keys the local table lacks
    // Undo of a table merged in several transactions: saving the rows before they are overwritten,
    // and putting them back (appended rows are those above the largest row number before).
    QStringList startUndo;
    QStringList restore; // binds the largest row number before the merge
    QStringList cleanUp;
};

// localColumns: the local table's columns. incomingColumns: the new table's first columns, one per
// local column (copying goes by position). localKeys[i] is compared with incomingKeys[i].
MergeStatements mergeStatements(const QString &table, const QStringList &localColumns,
                                const QStringList &incomingColumns, const QStringList &localKeys,
                                const QStringList &incomingKeys);

} // namespace update
