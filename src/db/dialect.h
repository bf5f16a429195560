#pragma once

#include <QSqlDatabase>
#include <QString>

// What differs between the two engines the bank lives on, in one place. Statements above the
// connection are written once; where a piece of one differs, it asks this table for the piece.
namespace db {

enum class Engine { Sqlite, Postgres };

struct Dialect
{
    Engine engine;
    // A row's identity within its table, usable in comparisons and ORDER BY: rowid / ctid.
    const char16_t *rowId;
    // The same as a 64-bit integer, for code that keys rows by number.
    const char16_t *rowNumber;
    // Schema of a connection's temporary tables: temp / pg_temp.
    const char16_t *tempSchema;
    // The code point of a text's first character.
    const char16_t *firstCharCode;
    // Keeps a subquery from being folded into the query around it ("no limit" in each engine).
    const char16_t *noLimit;
    // Added to each text column type so that ORDER BY and comparisons work on code points as in
    // SQLite, whatever the server's locale.
    const char16_t *textCollation;
    // A join that reads its left table first (SQLite's planner keeps the order of a cross join).
    const char16_t *joinInOrder;
    // Lists the tables of the connection's first schema (SQLite: the file).
    const char16_t *tablesQuery;

    // The updater's merge. It plans under a read snapshot that holds up no writer, then writes in a
    // transaction that keeps other writers of the merged tables out while readers go on: SQLite's
    // BEGIN IMMEDIATE, or on the server a plain transaction whose first statement is lockTables
    // (%1: the tables), nullptr where the transaction locks by itself.
    const char16_t *beginSnapshot;
    const char16_t *beginWrite;
    const char16_t *lockTables;
    // With COUNT(*), what tells whether any row of a table was added, changed or removed since.
    const char16_t *rowsStamp;
    // Column type that holds a {rowid}.
    const char16_t *rowIdType;
    // Prefix naming the connection's own tables where an attached bank has the same names.
    const char16_t *ownTables;
    // Key comparison of two values, NULL matching NULL, in a form the engine finds by index: %1, %2.
    const char16_t *sameKey;
};

const Dialect &dialect(Engine engine);
const Dialect &dialect(const QSqlDatabase &db);

// Replaces each {rowid}, {rownum}, {temp}, {char1}, {nolimit}, {joinfirst} in sql with the engine's piece.
QString adapt(const QSqlDatabase &db, QString sql);

} // namespace db
