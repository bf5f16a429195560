#pragma once

#include "db/dialect.h"

#include <QString>
#include <QStringList>

// The statements that merge one table of the new bank into the local one. Identifiers come from
// the two banks' table layouts and are quoted; values are bound. The statements hold the
// placeholders of db::adapt() and go through it.
//
// A table is merged in two steps. Staging reads both banks and writes only temporary tables: it
// numbers the keys of the new table and plans, per key, whether its last new row overwrites the
// first local row of that key (when that row differs) or is appended. Applying carries out the
// plan with a few set-wise statements, so the write lock is held only for the rows that change.
namespace update {

inline constexpr auto kIncomingSchema = "qm_new";

// How the statements name the two tables on the local connection: the new bank's table (attached,
// or copied to the server) and its column that numbers its rows in the new bank's order.
struct MergeNames
{
    db::Engine engine = db::Engine::Sqlite;
    QString incoming;    // qualified and quoted
    QString incomingRow; // a column of incoming
    // The local table, qualified and quoted.
    QString local(const QString &table) const;
};

struct MergeStatements
{
    // Whether the local table has a row; the number of rows and of distinct keys of the new table.
    QString localHasRows;
    QString incomingRows;
    QString incomingKeys;
    // The local table's row count and largest row number: a plan is valid only while both stay.
    QString localState;

    // An empty local table and a new table without repeated keys: the new rows are appended as
    // they are, in their order.
    QString copy;

    // Number the keys of the new table in the order of their first row: {temp}.qm_keys (n, last_row).
    // Then make the table's plan (n, src, dst): dst is the local row to overwrite, NULL to append.
    QStringList numberKeys;
    QStringList createPlan;
    // Plans a window of keys; binds the window's first and last key number.
    QString plan;
    QStringList dropKeys;

    // Carry out the plan.
    QString overwrite;
    QString append;

    QStringList cleanUp;

    // The table's plan (n, src, dst), as named in the statements above.
    QString planTable;
};

// index: the table's number in merge order (names its plan). localColumns: the local table's
// columns. incomingColumns: the new table's first columns, one per local column (copying goes by
// position). localKeys[i] is compared with incomingKeys[i].
MergeStatements mergeStatements(const MergeNames &names, int index, const QString &table, const QStringList &localColumns,
                                const QStringList &incomingColumns, const QStringList &localKeys,
                                const QStringList &incomingKeys);

} // namespace update
