#pragma once

#include "db/dialect.h"

#include <QSqlDatabase>
#include <QStringList>

// The question bank's tables, their column order and the indexes the queries rely on.
namespace db {

inline constexpr int kSchemaVersion = 2;

// Content tables, in the order the updater merges them.
const QStringList &contentTables();
// Session tables written by the main program.
const QStringList &sessionTables();

// The CREATE TABLE statement of a table (columns in their fixed order). On the server a text column
// takes any length, as SQLite's do, and compares by code point.
QString createStatement(const QString &table, Engine engine = Engine::Sqlite);

// Column names of a table in order, as the schema defines them.
QStringList columns(const QString &table);

// Which tables a schema holds: the SQLite file all of them; on the server the content schema the
// shared ones and each learner's schema his session tables and his list of changed questions.
enum class SchemaScope { Whole, Content, Learner };

// Creates every missing table and index of the scope in the connection's (first) schema and
// upgrades older layouts in place; rows are kept. Throws db::Error.
void ensureSchema(const QSqlDatabase &db, SchemaScope scope = SchemaScope::Whole);

// Tables present in the database (on the server: in the connection's first schema).
QStringList existingTables(const QSqlDatabase &db);

} // namespace db
