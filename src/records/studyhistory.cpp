#include "records/studyhistory.h"

#include "db/sql.h"

using namespace Qt::StringLiterals;

namespace records {

namespace {

// Counts are stored as short texts; a missing or malformed one counts as 0.
qint64 count(const QVariant &v)
{
    return v.toLongLong();
}

} // namespace

QString pageIdText(const QString &pageId)
{
    if (pageId.isEmpty())
        return {};
    return pageId.mid(2, 2) + u'-' + pageId.mid(4, 2) + u'-' + pageId.mid(6, 2) + u' ' + pageId.mid(8, 2) + u':' +
           pageId.mid(10, 2);
}

QString rateText(const QVariant &right, const QVariant &wrong)
{
    if (right.isNull())
        return {};
    const qint64 t = count(right) + count(wrong);
    if (t <= 0)
        return u"未完成"_s;
    // Whole numbers, so that 29 of 100 is 29% and not the 28 a floating-point cut would give.
    return u"%1%"_s.arg(count(right) * 100 / t);
}

std::optional<double> curveValue(const QVariant &right, const QVariant &notDone, const QVariant &done)
{
    const qint64 questions = count(notDone) + count(done);
    if (questions == 0)
        return std::nullopt;
    return double(count(right)) * 100.0 / double(questions);
}

QList<CurvePoint> curvePoints(const QSqlDatabase &db)
{
    QSqlQuery q = db::run(db, u"select p_true,p_nothing,p_doing from page_total order by page_id DESC"_s);
    QList<CurvePoint> points;
    int x = 0;
    while (q.next()) {
        ++x;
        if (const auto y = curveValue(q.value(0), q.value(1), q.value(2)))
            points.append({x, *y, QString::number(x)});
    }
    return points;
}

std::optional<CourseChapter> courseOf(const QSqlDatabase &db, const QString &pageId)
{
    QSqlQuery q = db::run(db,
                          u"select a.m_name,b.c_name from ma_id a,cap_id b,ex_page_id c,test_page d"
                          " where a.m_id=b.m_id and b.c_id=c.c_id and c.p_id=d.p_id and d.page_id=? LIMIT 1"_s,
                          {pageId});
    if (!q.next())
        return std::nullopt;
    return CourseChapter{q.value(0).toString(), q.value(1).toString()};
}

int sessionCount(const QSqlDatabase &db)
{
    return db::scalar(db, u"select count(*) from page_total"_s, {}, 0).toInt();
}

void clearRecords(const QSqlDatabase &db)
{
    db::Transaction tx(db);
    db::run(db, u"delete from page_total"_s);
    db::run(db, u"delete from test_page"_s);
    tx.commit();
}

} // namespace records
