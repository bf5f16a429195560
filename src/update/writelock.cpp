#include "update/writelock.h"

#include "db/sql.h"

#include <QSqlQuery>
#include <QThread>

using namespace Qt::StringLiterals;

namespace update {

WriteLock::WriteLock(const QSqlDatabase &db, int holdMs, int pauseMs)
    : m_db(db)
    , m_holdMs(holdMs)
    , m_pauseMs(pauseMs)
{
}

WriteLock::~WriteLock()
{
    if (m_open)
        rollback();
}

void WriteLock::transaction(const std::function<void()> &work)
{
    db::run(m_db, u"BEGIN IMMEDIATE"_s);
    m_open = true;
    if (!m_held.isValid())
        m_held.start();
    work();
    db::run(m_db, u"COMMIT"_s);
    m_open = false;
    ++m_commits;
    if (m_held.elapsed() >= m_holdMs) {
        QThread::msleep(m_pauseMs);
        m_held.invalidate();
    }
}

void WriteLock::rollback()
{
    QSqlQuery q(m_db);
    q.exec(u"ROLLBACK"_s);
    m_open = false;
}

} // namespace update
