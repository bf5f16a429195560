#include "db/sql.h"

#include "db/dialect.h"

#include <QHash>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace db {

namespace {
// Open transactions per connection name, so that nested guards share the outer one.
thread_local QHash<QString, int> g_depth;
}

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(db);
    const bool server = dialect(db).engine == Engine::Postgres;
    // Forward-only on the server means rows fetched one at a time, and the next statement on the
    // connection would drop the rest: callers read one query while running others.
    query.setForwardOnly(!server);
    // The server's driver prepares through PREPARE, which takes no DDL: a statement without values
    // goes as it is.
    if (server && values.isEmpty()) {
        if (!query.exec(adapt(db, sql)))
            throw Error(u"数据库操作出错: "_s + query.lastError().text());
        return query;
    }
    if (!query.prepare(adapt(db, sql)))
        throw Error(u"数据库语句出错: "_s + query.lastError().text());
    // Yes/no columns are integers in both engines; PostgreSQL will not take a boolean for one.
    for (const QVariant &v : values)
        query.addBindValue(server && v.typeId() == QMetaType::Bool ? QVariant(v.toBool() ? 1 : 0) : v);
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
