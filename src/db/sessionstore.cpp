#include "db/sessionstore.h"

#include "db/sql.h"
#include "shell/clock.h"

using namespace Qt::StringLiterals;

namespace db {

QString newPageId(const QSqlDatabase &db, Clock &clock)
{
    static QString lastIssued;
    for (;;) {
        const QDateTime now = clock.now();
        const QString id = now.toString(u"yyyyMMddHHmmss"_s);
        const bool used = id == lastIssued
            || scalar(db, u"SELECT COUNT(*) FROM test_page WHERE page_id=?"_s, {id}, 0).toInt() > 0
            || scalar(db, u"SELECT COUNT(*) FROM page_total WHERE page_id=?"_s, {id}, 0).toInt() > 0;
        if (!used) {
            lastIssued = id;
            return id;
        }
        clock.sleep(1000 - now.time().msec());
    }
}

void clearTmp(const QSqlDatabase &db)
{
    run(db, u"delete from tmp"_s);
}

void clearTmpId(const QSqlDatabase &db)
{
    run(db, u"delete from tmp_id"_s);
}

void selectFirstOfType(const QSqlDatabase &db, const QString &chapterId, int type, int n)
{
    if (n <= 0)
        return;
    run(db, u"insert into tmp_id select p_id,p_score from ex_page_id where p_type=? and c_id=? limit ?"_s,
        {QString::number(type), chapterId, n});
}

QList<Selected> listSelection(const QSqlDatabase &db)
{
    QList<Selected> out;
    QSqlQuery q = run(db, u"select a.p_id,a.p_score,b.p_type from tmp_id a,ex_page_id b where a.p_id=b.p_id"_s);
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toDouble(), q.value(2).toString()});
    return out;
}

int countSelectionOfType(const QSqlDatabase &db, int type)
{
    return scalar(db, u"select count(a.p_id) from tmp_id a,ex_page_id b where a.p_id=b.p_id and b.p_type=?"_s,
                  {QString::number(type)}, 0)
        .toInt();
}

void appendAnswerRecords(const QSqlDatabase &db, const QString &pageId, const QList<AnswerRecord> &records)
{
    // A hundred rows per statement: on a server each statement is a round trip.
    constexpr qsizetype kRows = 100;
    const QString head = u"insert into test_page (page_id,p_id,p_a,p_b,p_c,p_d,p_e,p_f,p_answer,p_do_yn,p_real_yn,"
                         "p_mask,p_ok_mask,p_first_answer,p_score,p_type) values "_s;
    const QString row = u"(?,?,0,0,0,0,0,0,'',0,0,?,?,?,?,?)"_s;
    Transaction tx(db);
    for (qsizetype from = 0; from < records.size(); from += kRows) {
        const qsizetype n = qMin(kRows, records.size() - from);
        QVariantList values;
        values.reserve(n * 7);
        for (qsizetype k = from; k < from + n; ++k) {
            const AnswerRecord &r = records.at(k);
            values << pageId << r.pId << (r.mask ? 1 : 0) << (r.okMask ? 1 : 0)
                   << (r.firstAnswer.isNull() ? u""_s : r.firstAnswer) // empty text, never NULL
                   << r.score << (r.type.isNull() ? QVariant(QMetaType::fromType<int>()) : QVariant(r.type.toInt()));
        }
        try {
            run(db, head + QStringList(n, row).join(u','), values);
        } catch (const Error &) {
            throw Error(u"无法写入答题记录: "_s + records.at(from).pId);
        }
    }
    tx.commit();
}

void copyForPractice(const QSqlDatabase &db, const QString &pageId)
{
    Transaction tx(db);
    run(db,
        u"insert into tmp select ppp.*,'0' as e_m_id,'非案例题' as e_subject_name from "
        "(select * from ma_id a,cap_id b,ex_page_id c,test_page d where a.m_id=b.m_id and c.p_type<>'5' "
        "and b.c_id=c.c_id and c.p_id=d.p_id and d.page_id=? order by c.p_type) as ppp"_s,
        {pageId});
    run(db,
        u"insert into tmp select a.*,b.*,c.*,d.*,e.m_id as e_m_id,e.m_subject from ma_id a,cap_id b,ex_page_id c,"
        "test_page d,ex_sub e\n where a.m_id=b.m_id and d.p_id=e.p_id and c.p_type='5' and b.c_id=c.c_id "
        "and c.p_id=d.p_id and d.page_id=? order by c.p_id"_s,
        {pageId});

    QSqlQuery subs = run(db,
                         u"select c.p_id,c.m_id,c.m_subject,c.ma,c.mb,c.mc,c.md,c.me,c.mf,c.m_anwser,c.m_des,"
                         "c.m_score,c.m_type from test_page a,ex_page_id b,ex_sub c where a.p_id=b.p_id "
                         "and a.p_id=c.p_id and b.p_type='5' and a.page_id=? order by c.p_id,c.m_id"_s,
                         {pageId});
    QSqlQuery update(db);
    if (!update.prepare(u"update tmp set c_p_a=?,c_p_b=?,c_p_c=?,c_p_d=?,c_p_e=?,c_p_f=?,p_anwser=?,"
                        "p_anwser_memo=?,c_p_score=?,d_p_type=?,e_m_id=?,e_subject_name=? "
                        "where c_p_id=? and e_m_id=?"_s))
        throw Error(u"数据库语句出错"_s);
    while (subs.next()) {
        for (int k = 3; k <= 8; ++k)
            update.addBindValue(subs.value(k)); // ma..mf
        update.addBindValue(subs.value(9));     // m_anwser
        update.addBindValue(subs.value(10));    // m_des
        update.addBindValue(subs.value(11));    // m_score
        update.addBindValue(subs.value(12));    // m_type
        update.addBindValue(subs.value(1));     // m_id
        update.addBindValue(subs.value(2));     // m_subject
        update.addBindValue(subs.value(0));
        update.addBindValue(subs.value(1));
        if (!update.exec())
            throw Error(u"无法写入案例小题: "_s + subs.value(0).toString());
    }
    tx.commit();
}

void copyForExam(const QSqlDatabase &db, const QString &pageId)
{
    Transaction tx(db);
    clearTmp(db);
    run(db, u"insert into tmp(c_p_id,m_down) select p_id,'false' from test_page where page_id=?"_s, {pageId});
    tx.commit();
}

void storePageTotal(const QSqlDatabase &db, const QString &pageId, const PageTotal &total)
{
    Transaction tx(db);
    const QVariantList values{QString::number(total.right),   QString::number(total.wrong),
                              QString::number(total.notDone), QString::number(total.done),
                              total.timeText,                 total.sessionKind,
                              total.score,                    pageId};
    if (scalar(db, u"select count(page_id) from page_total where page_id=?"_s, {pageId}, 0).toInt() > 0)
        run(db,
            u"update page_total set p_true=?,p_false=?,p_nothing=?,p_doing=?,p_time=?,p_type=?,p_score=? "
            "where page_id=?"_s,
            values);
    else
        run(db,
            u"insert into page_total (p_true,p_false,p_nothing,p_doing,p_time,p_type,p_score,page_id) "
            "values (?,?,?,?,?,?,?,?)"_s,
            values);
    tx.commit();
}

QSqlQuery readPracticeCopy(const QSqlDatabase &db, const QString &pageId)
{
    return run(db, u"select * from tmp where page_id=? order by p_type,c_p_id,e_m_id"_s, {pageId});
}

QSqlQuery workingRow(const QSqlDatabase &db, const QString &pId, const QString &subNumber)
{
    return run(db, u"select * from tmp where c_p_id=? and e_m_id=?"_s, {pId, subNumber});
}

QSqlQuery sessionRecords(const QSqlDatabase &db, const QString &pageId, bool byTypeAndQuestion)
{
    return run(db,
               byTypeAndQuestion ? u"select * from test_page where page_id=? order by p_type,p_id"_s
                                 : u"select * from test_page where page_id=?"_s,
               {pageId});
}

} // namespace db
