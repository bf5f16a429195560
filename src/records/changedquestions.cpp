#include "records/changedquestions.h"

#include "db/sql.h"

using namespace Qt::StringLiterals;

namespace records {

namespace {

// A change the learner had answered the question before: one of his answer records is older than
// the update (session ids and change times are both "yyyyMMddhhmmss").
const QString kAnsweredBefore =
    u"exists (select 1 from test_page t where t.p_id=c.p_id and t.p_do_yn=1 and t.page_id<c.changed_at)"_s;

} // namespace

int changedKeysAt(const QSqlDatabase &db, const QString &changedAt)
{
    return db::scalar(db, u"select count(distinct c.p_id) from qm_changed c where c.what='key' and c.changed_at=?"_s,
                      {changedAt}, 0)
        .toInt();
}

int answeredChangedAt(const QSqlDatabase &db, const QString &changedAt)
{
    return db::scalar(db,
                      u"select count(distinct c.p_id) from qm_changed c where c.what='key' and c.changed_at=? and "_s +
                          kAnsweredBefore,
                      {changedAt}, 0)
        .toInt();
}

QStringList changedReportLines(int changedKeys, int answered)
{
    return {u"答案有修改的题目:%1  题"_s.arg(changedKeys), u"其中您做过的题目:%1  题"_s.arg(answered)};
}

QList<ChangedQuestion> answeredChanged(const QSqlDatabase &db, const QString &courseId, bool untoldOnly)
{
    QVariantList values;
    QString sql = u"select b.p_id,ch.c_name,b.p_subject_name,max(c.changed_at) from qm_changed c"
                  " join ex_page_id b on b.p_id=c.p_id join cap_id ch on ch.c_id=b.c_id"
                  " where c.what='key' and "_s +
                  kAnsweredBefore;
    if (untoldOnly)
        sql += u" and c.told=0"_s;
    if (!courseId.isEmpty()) {
        sql += u" and ch.m_id=?"_s;
        values << courseId;
    }
    sql += u" group by b.p_id,ch.c_name,b.p_subject_name,b.p_type order by b.p_type,b.p_id"_s;
    QList<ChangedQuestion> out;
    QSqlQuery q = db::run(db, sql, values);
    while (q.next()) {
        out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                    QDate::fromString(q.value(3).toString().left(8), u"yyyyMMdd"_s)});
    }
    return out;
}

void markChangesTold(const QSqlDatabase &db)
{
    db::run(db, u"update qm_changed set told=1 where told=0"_s);
}

QString changedNotice(int count)
{
    return u"题库更新后,您以前做过的 %1 道题目的答案已经修改(您原来的答题记录保持不变).\n是否现在练习这些题目?"_s.arg(
        count);
}

} // namespace records
