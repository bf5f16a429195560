#include "practice/practicetotals.h"

#include "db/sessionstore.h"
#include "db/sql.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace practice {

PracticeTotals computeTotals(const QSqlDatabase &db, const QString &pageId)
{
    PracticeTotals t;
    auto count = [&](const QString &sql, const QVariantList &values) { return db::scalar(db, sql, values, 0).toInt(); };
    auto sum = [&](const QString &sql, const QVariantList &values) {
        return db::scalar(db, sql, values, 0).toDouble();
    };
    t.done = count(u"select count(page_id) from test_page where p_do_yn=? and page_id=?"_s, {1, pageId});
    t.notDone = count(u"select count(page_id) from test_page where p_do_yn=? and page_id=?"_s, {0, pageId});
    t.right = count(u"select count(page_id) from tmp where p_real_yn=? and page_id=?"_s, {1, pageId});
    t.score = sum(u"select sum(p_score) from test_page where p_real_yn=? and page_id=?"_s, {1, pageId});
    t.fullMarks = sum(u"select sum(c_p_score) from tmp where page_id=?"_s, {pageId});
    t.wrong = count(u"select count(page_id) from tmp where p_real_yn=? and page_id=?"_s, {0, pageId});
    return t;
}

void storeTotals(const QSqlDatabase &db, const QString &pageId, const PracticeTotals &totals,
                 const QString &elapsedText, const QString &sessionKind)
{
    db::storePageTotal(db, pageId,
                       {totals.right, totals.wrong, totals.notDone, totals.done, elapsedText, sessionKind, totals.score});
}

QString percentText(double score, double fullMarks)
{
    if (fullMarks == 0)
        return u"0.0%"_s;
    // nearbyint follows the default rounding mode, which rounds halves to the even neighbour.
    return QString::number(std::nearbyint(score / fullMarks * 100)) + u'%';
}

} // namespace practice
