#include "records/studyreport.h"

#include "db/questiontypes.h"
#include "db/sql.h"

#include <QHash>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace records {

namespace {

// The newest answer of a question as its session id followed by "1" (right) or "0": session ids
// are fixed-width build times, so the greatest such text is the latest answer.
const QString kLatest = u"max(k.page_id || case when k.p_real_yn=1 then '1' else '0' end)"_s;

double rate(int right, int of)
{
    return of == 0 ? -1 : 100.0 * right / of;
}

void count(RateLine &line, int answers, int right, bool latestRight)
{
    ++line.questions;
    if (answers == 0)
        return;
    ++line.answeredQuestions;
    line.rightLatest += latestRight ? 1 : 0;
    line.answers += answers;
    line.rightAnswers += right;
}

} // namespace

double RateLine::latestRate() const
{
    return rate(rightLatest, answeredQuestions);
}

double RateLine::overallRate() const
{
    return rate(rightAnswers, answers);
}

StudyReport buildStudyReport(const QSqlDatabase &db, const QString &courseId, int mostWrongLimit)
{
    StudyReport report;
    QHash<QString, qsizetype> chapterIndex;
    QHash<QString, QString> chapterNames;
    QSqlQuery chapters = db::run(db, u"select c_id,c_name,m_type from cap_id where m_id=? order by c_id"_s, {courseId});
    while (chapters.next()) {
        const QString id = chapters.value(0).toString();
        chapterNames.insert(id, chapters.value(1).toString());
        if (chapters.value(2).toString() != u"1")
            continue;
        chapterIndex.insert(id, report.chapters.size());
        report.chapters.append({id, chapters.value(1).toString()});
    }

    std::array<RateLine, 7> types;
    QList<FrequentWrong> wrong;
    // One row per question of the course with the count of its answers, of its right answers and
    // its latest answer; the join reads test_page through its (p_id, p_do_yn, p_real_yn, page_id)
    // index alone.
    QSqlQuery q = db::run(db,
                          u"select b.p_id,b.c_id,b.p_type,count(k.p_id),"
                          "sum(case when k.p_real_yn=1 then 1 else 0 end),"_s +
                              kLatest +
                              u" from cap_id c join ex_page_id b on b.c_id=c.c_id"
                              " left join test_page k on k.p_id=b.p_id and k.p_do_yn=1"
                              " where c.m_id=? group by b.p_id,b.c_id,b.p_type"_s,
                          {courseId});
    while (q.next()) {
        const int answers = q.value(3).toInt();
        const int right = q.value(4).toInt();
        const bool latestRight = q.value(5).toString().endsWith(u'1');
        report.answers += answers;
        const auto at = chapterIndex.constFind(q.value(1).toString());
        if (at != chapterIndex.cend())
            count(report.chapters[*at], answers, right, latestRight);
        const QString type = q.value(2).toString();
        const int t = type.size() == 1 && type[0] >= u'1' && type[0] <= u'6' ? type[0].unicode() - u'0' : 0;
        if (t)
            count(types[t], answers, right, latestRight);
        if (answers > right)
            wrong.append({q.value(0).toString(), chapterNames.value(q.value(1).toString()), QString(), answers - right,
                          answers});
    }
    for (int t = 1; t <= 6; ++t) {
        if (types[t].questions == 0)
            continue;
        types[t].key = QString::number(t);
        types[t].name = db::typeName(t);
        report.types.append(types[t]);
    }

    std::stable_sort(wrong.begin(), wrong.end(), [](const FrequentWrong &a, const FrequentWrong &b) {
        return a.wrong != b.wrong ? a.wrong > b.wrong : a.pId < b.pId;
    });
    if (wrong.size() > mostWrongLimit)
        wrong.resize(qMax(0, mostWrongLimit));
    if (!wrong.isEmpty()) {
        QStringList marks;
        QVariantList ids;
        for (const FrequentWrong &w : wrong) {
            marks << u"?"_s;
            ids << w.pId;
        }
        QHash<QString, QString> stems;
        QSqlQuery s =
            db::run(db, u"select p_id,p_subject_name from ex_page_id where p_id in (%1)"_s.arg(marks.join(u',')), ids);
        while (s.next())
            stems.insert(s.value(0).toString(), s.value(1).toString());
        for (FrequentWrong &w : wrong)
            w.stem = stems.value(w.pId);
    }
    report.mostWrong = wrong;

    QList<RateLine> practised;
    for (const RateLine &c : std::as_const(report.chapters)) {
        if (c.answeredQuestions == 0)
            report.unpractised << c.name;
        else
            practised << c;
    }
    std::stable_sort(practised.begin(), practised.end(), [](const RateLine &a, const RateLine &b) {
        return a.latestRate() != b.latestRate() ? a.latestRate() < b.latestRate() : a.wrongLatest() > b.wrongLatest();
    });
    report.weakest = practised.mid(0, 3);
    return report;
}

QStringList weakQuestions(const QSqlDatabase &db, const QString &chapterId)
{
    QStringList out;
    QSqlQuery q = db::run(db,
                          u"select b.p_id,"_s + kLatest +
                              u" from ex_page_id b left join test_page k on k.p_id=b.p_id and k.p_do_yn=1"
                              " where b.c_id=? group by b.p_id,b.p_type order by b.p_type,b.p_id"_s,
                          {chapterId});
    while (q.next()) {
        if (!q.value(1).toString().endsWith(u'1'))
            out << q.value(0).toString();
    }
    return out;
}

} // namespace records
