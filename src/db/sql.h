#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <stdexcept>

// Thin helpers over Qt SQL: statements with bound values that throw db::Error on failure, and a
// transaction guard. Callers at the window boundary catch db::Error and show its message.
namespace db {

class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Prepares and runs sql with values bound to its "?" placeholders in order; the query is positioned
// before its first row. The engine's pieces are put in first (db::adapt).
QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// First column of the first row, or fallback when there is no row.
QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {},
                const QVariant &fallback = {});

// Rolls back unless commit() was called. Nests: only the outermost guard talks to the database.
class Transaction final
{
public:
    explicit Transaction(const QSqlDatabase &db);
    ~Transaction();
    void commit();

private:
    Q_DISABLE_COPY_MOVE(Transaction)
    QSqlDatabase m_db;
    bool m_outer = false;
    bool m_done = false;
};

} // namespace db
