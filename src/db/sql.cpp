#include "db/sql.h"

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
    query.setForwardOnly(true);
    if (!query.prepare(sql))
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
