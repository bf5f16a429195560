#include "exam/handin.h"

#include "db/sessionstore.h"
#include "db/sql.h"
#include "text/markstext.h"

using namespace Qt::StringLiterals;

namespace exam {

Totals computeTotals(const QSqlDatabase &db, const QString &pageId)
{
    Totals t;
    QSqlQuery q = db::run(db,
                          u"select sum(case when p_do_yn=1 then 1 else 0 end),"
                          "sum(case when p_real_yn=1 then 1 else 0 end),"
                          "sum(case when p_real_yn=1 then p_score else 0 end),count(page_id) "
                          "from test_page where page_id=?"_s,
                          {pageId});
    if (q.next()) {
        t.done = q.value(0).toInt();
        t.right = q.value(1).toInt();
        t.score = q.value(2).toDouble();
        const int all = q.value(3).toInt();
        t.wrong = all - t.right;
        t.notDone = all - t.done;
    }
    q = db::run(db,
                u"select b.p_type,sum(case when a.p_do_yn=1 then 0 else 1 end),count(a.page_id) "
                "from test_page a,ex_page_id b where a.p_id=b.p_id and a.page_id=? group by b.p_type"_s,
                {pageId});
    while (q.next()) {
        const int type = q.value(0).toInt();
        if (type < 1 || type > 6)
            continue;
        t.undoneOfType[type] = q.value(1).toInt();
        t.allOfType[type] = q.value(2).toInt();
    }
    return t;
}

double sessionMarks(const QSqlDatabase &db, const QString &pageId)
{
    return db::scalar(
               db, u"select sum(p_score) from ex_page_id where p_id in(select p_id from test_page where page_id=?)"_s,
               {pageId}, 0)
        .toDouble();
}

QString confirmationText(const Totals &totals)
{
    if (totals.notDone <= 0)
        return u"确定进行提交试卷吗?"_s;
    static const char16_t *const labels[] = {u". 单选题有:   ", u". 多选题有:   ", u". 判断题有:   ",
                                             u". 计算题有:   ", u". 案例题有:   ", u". 实务题有:   "};
    int types = 0;
    QString lines;
    for (int type = 1; type <= 6; ++type) {
        if (totals.undoneOfType[type] < 1)
            continue;
        ++types;
        lines += u"     "_s + QString::number(types) + QString::fromUtf16(labels[type - 1])
            + QString::number(totals.undoneOfType[type]) + u"  题未做!                计(  "_s
            + QString::number(totals.allOfType[type]) + u"  题)\r\n"_s;
    }
    return u"您还有"_s + QString::number(types) + u"题类未做\r\n\r\n"_s + lines + u"\r\n您确定进行提交试卷吗?"_s;
}

void writePageTotal(const QSqlDatabase &db, const QString &pageId, const Totals &totals, const QString &timeText,
                    const QString &sessionKind)
{
    db::storePageTotal(db, pageId,
                       {totals.right, totals.wrong, totals.notDone, totals.done, timeText, sessionKind, totals.score});
}

QString rateText(double score, double fullMarks)
{
    if (fullMarks == 0)
        return u"0.0%"_s;
    return QString::number(score / fullMarks * 100, 'f', 1) + u'%';
}

ExamResult resultOf(const Totals &totals, const ResultInputs &in)
{
    const bool random = in.sessionKind.contains(u"随机考试"_s);
    ExamResult r;
    r.course = random ? u"随机课程"_s : in.courseName;
    r.paper = random ? u"随机试卷"_s : in.paperName;
    r.questionCount = QString::number(in.questionTotal) + u" 题"_s;
    r.time = in.timeText;
    r.start = in.startText;
    r.done = QString::number(totals.done) + u" 题"_s;
    r.notDone = QString::number(totals.notDone) + u" 题"_s;
    r.right = QString::number(totals.right) + u" 题"_s;
    r.wrong = QString::number(totals.wrong) + u" 题"_s;
    r.fullMarks = text::marksText(in.fullMarks) + u" 分"_s;
    r.score = text::marksText(totals.score) + u" 分"_s;
    r.rate = rateText(totals.score, in.fullMarks);
    return r;
}

} // namespace exam
