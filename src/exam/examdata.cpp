#include "exam/examdata.h"

#include "db/sql.h"

using namespace Qt::StringLiterals;

namespace exam {

std::optional<Question> loadQuestion(const QSqlDatabase &db, const QString &pId)
{
    QSqlQuery q = db::run(db,
                          u"select c_id,p_id,p_type,p_subject_name,p_a,p_b,p_c,p_d,p_e,p_f,p_anwser,p_anwser_memo,"
                          "p_mask,p_score from ex_page_id where p_id=?"_s,
                          {pId});
    if (!q.next())
        return std::nullopt;
    Question out;
    out.cId = q.value(0).toString();
    out.pId = q.value(1).toString();
    out.type = q.value(2).toInt();
    out.subject = q.value(3).toString();
    for (int k = 0; k < 6; ++k)
        out.options[k] = q.value(4 + k).toString();
    out.answer = q.value(10).toString();
    out.memo = q.value(11).toString();
    out.amountsMode = q.value(12).toBool();
    out.score = q.value(13).toDouble();
    return out;
}

std::optional<SubQuestion> loadSubQuestion(const QSqlDatabase &db, const QString &pId, const QString &mId)
{
    QSqlQuery q = db::run(db,
                          u"select m_subject,ma,mb,mc,md,me,mf,m_anwser,m_des,m_score from ex_sub "
                          "where p_id=? and m_id=? order by m_id"_s,
                          {pId, mId});
    if (!q.next())
        return std::nullopt;
    SubQuestion out;
    out.pId = pId;
    out.mId = mId;
    out.subject = q.value(0).toString();
    for (int k = 0; k < 6; ++k)
        out.options[k] = q.value(1 + k).toString();
    out.answer = q.value(7).toString();
    out.des = q.value(8).toString();
    out.score = q.value(9).toDouble();
    return out;
}

std::optional<AnswerRow> loadAnswerRow(const QSqlDatabase &db, const QString &pageId, const QString &pId)
{
    QSqlQuery q = db::run(db,
                          u"select p_a,p_b,p_c,p_d,p_e,p_f,p_answer,p_do_yn,p_real_yn,p_mask,p_score,p_type "
                          "from test_page where page_id=? and p_id=?"_s,
                          {pageId, pId});
    if (!q.next())
        return std::nullopt;
    AnswerRow out;
    out.pageId = pageId;
    out.pId = pId;
    for (int k = 0; k < 6; ++k)
        out.flags[k] = q.value(k).toBool();
    out.answer = q.value(6).toString();
    out.done = q.value(7).toBool();
    out.right = q.value(8).toBool();
    out.mask = q.value(9).toBool();
    out.score = q.value(10);
    out.type = q.value(11).toInt();
    return out;
}

} // namespace exam
