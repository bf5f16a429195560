#include "exam/sessioncursor.h"

#include "db/sql.h"

using namespace Qt::StringLiterals;

QString SessionCursor::cardCondition(Filter filter)
{
    switch (filter) {
    case Filter::Right:
        return u" and b.p_real_yn=1 "_s;
    case Filter::Wrong:
        return u" and b.p_real_yn=0 "_s;
    case Filter::Undone:
        return u" and b.p_do_yn=0 "_s;
    case Filter::All:
        break;
    }
    return {};
}

void SessionCursor::select(const QSqlDatabase &db, const QString &pageId, Filter filter)
{
    QSqlQuery q = db::run(db,
                          u"select b.p_id from test_page b where b.page_id=?"_s + cardCondition(filter)
                              + u" order by b.p_type,b.p_id"_s,
                          {pageId});
    QStringList ids;
    while (q.next())
        ids << q.value(0).toString();
    m_pageId = pageId;
    m_filter = filter;
    m_ids = ids;
    m_row = 0;
    moveTo(1);
}

bool SessionCursor::moveTo(int row)
{
    if (row < 1 || row > rowCount() || row == m_row)
        return false;
    m_row = row;
    Q_EMIT moved();
    return true;
}
