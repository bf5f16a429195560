#include "db/sql.h"

#include "db/dialect.h"

#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>

using namespace Qt::StringLiterals;

namespace db {

namespace {
// Open transactions per connection name, so that nested guards share the outer one.
thread_local QHash<QString, int> g_depth;
}

namespace {

// A value as an SQL literal. Every value is written as quoted text, which PostgreSQL reads as a
// literal of the type its place asks for, as it does with a prepared statement's parameters: a
// number bound to a text column stays right. Yes/no values are the integers 1 and 0.
QString literal(const QSqlDatabase &db, const QVariant &value)
{
    if (value.isNull())
        return u"NULL"_s;
    QSqlField field(u"v"_s, QMetaType(QMetaType::QString));
    if (value.typeId() == QMetaType::Bool)
        field.setValue(value.toBool() ? u"1"_s : u"0"_s);
    else
        field.setValue(value.toString());
    return db.driver()->formatValue(field);
}

// sql with each "?" outside quotes replaced by the next value's literal.
QString withLiterals(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QString out;
    out.reserve(sql.size() + values.size() * 8);
    qsizetype next = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            if (next == values.size())
                throw Error(u"数据库语句出错: 参数个数不符"_s);
            out += literal(db, values.at(next++));
            continue;
        }
        out += c;
    }
    if (next != values.size())
        throw Error(u"数据库语句出错: 参数个数不符"_s);
    return out;
}

} // namespace

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(db);
    const bool server = dialect(db).engine == Engine::Postgres;
    // Forward-only on the server means rows fetched one at a time, and the next statement on the
    // connection would drop the rest: callers read one query while running others.
    query.setForwardOnly(!server);
    // The server's driver prepares through PREPARE, runs through EXECUTE with the values written
    // out as literals and frees through DEALLOCATE: three round trips, and no DDL. The values go
    // into the statement instead, written out by the driver in the same way: one round trip.
    if (server) {
        if (!query.exec(withLiterals(db, adapt(db, sql), values)))
            throw Error(u"数据库操作出错: "_s + query.lastError().text());
        return query;
    }
    if (!query.prepare(adapt(db, sql)))
        throw Error(u"数据库语句出错: "_s + query.lastError().text());
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec())
        throw Error(u"数据库操作出错: "_s + query.lastError().text());
    return query;
}

QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &values, const QVariant &fallback)
{
    QSqlQuery query = run(db, sql, values);
    return query.next() ? query.value(0) : fallback;
}

Transaction::Transaction(const QSqlDatabase &db) : m_db(db)
{
    int &depth = g_depth[m_db.connectionName()];
    m_outer = depth == 0;
    if (m_outer && !m_db.transaction())
        throw Error(u"数据库事务无法开始: "_s + m_db.lastError().text());
    ++depth;
}

Transaction::~Transaction()
{
    --g_depth[m_db.connectionName()];
    if (m_outer && !m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    if (m_done)
        return;
    if (m_outer && !m_db.commit())
        throw Error(u"数据库事务无法提交: "_s + m_db.lastError().text());
    m_done = true;
}

} // namespace db
