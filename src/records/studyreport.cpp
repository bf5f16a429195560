#include "records/studyreport.h"

#include "db/questiontypes.h"
#include "db/sql.h"

#include <QHash>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace records {

namespace {

// Per question: the number of its wrong answers and of its right answers, and the session ids of
// its latest right and latest wrong answer. Each is one seek or range of test_page's (p_id, p_do_yn,
// p_real_yn, page_id) index, read from the index alone; a join grouped by question would sort
// every answer record of the course instead.
const QString kPerQuestion =
    u"(select count(*) from test_page k where k.p_id=b.p_id and k.p_do_yn=1 and k.p_real_yn=0),"
    "(select count(*) from test_page k where k.p_id=b.p_id and k.p_do_yn=1 and k.p_real_yn=1),"
    "(select max(k.page_id) from test_page k where k.p_id=b.p_id and k.p_do_yn=1 and k.p_real_yn=1),"
    "(select max(k.page_id) from test_page k where k.p_id=b.p_id and k.p_do_yn=1 and k.p_real_yn=0)"_s;

// A right and a wrong answer in the same session count as right.
bool latestIsRight(const QVariant &latestRight, const QVariant &latestWrong)
{
    return !latestRight.isNull() && (latestWrong.isNull() || latestRight.toString() >= latestWrong.toString());
}

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
    QSqlQuery q = db::run(db,
                          u"select b.p_id,b.c_id,b.p_type,"_s + kPerQuestion +
                              u" from cap_id c join ex_page_id b on b.c_id=c.c_id where c.m_id=?"_s,
                          {courseId});
    while (q.next()) {
        const int right = q.value(4).toInt();
        const int answers = q.value(3).toInt() + right;
        const bool latestRight = latestIsRight(q.value(5), q.value(6));
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
    QSqlQuery q = db::run(
        db, u"select b.p_id,"_s + kPerQuestion + u" from ex_page_id b where b.c_id=? order by b.p_type,b.p_id"_s,
        {chapterId});
    while (q.next()) {
        if (!latestIsRight(q.value(3), q.value(4)))
            out << q.value(0).toString();
    }
    return out;
}

} // namespace records
