#pragma once

#include <QSqlDatabase>
#include <QStringList>

// The question bank's tables, their column order and the indexes the queries rely on.
namespace db {

inline constexpr int kSchemaVersion = 2;

// Content tables, in the order the updater merges them.
const QStringList &contentTables();
// Session tables written by the main program.
const QStringList &sessionTables();

// The CREATE TABLE statement of a table (columns in their fixed order).
QString createStatement(const QString &table);

// Column names of a table in order, as the schema defines them.
QStringList columns(const QString &table);

// Creates every missing table and index and upgrades older layouts in place; rows are kept.
// Throws db::Error.
void ensureSchema(const QSqlDatabase &db);

// Tables present in the database.
QStringList existingTables(const QSqlDatabase &db);

} // namespace db
