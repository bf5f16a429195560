#include "records/studyreport.h"

#include "db/questiontypes.h"
#include "db/sql.h"

#include <QHash>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace records {

namespace {

// Per question, from test_page's (p_id, page_id, ...) covering index: its answers and right
// answers packed into one number (answers * 2^32 + right), so that one range of the index gives
// both; and whether its latest answer is right, a right and a wrong answer in the same session
// counting as right. Only answered records (p_do_yn=1, p_real_yn 0 or 1) count.
const QString kPerQuestion =
    u"(select count(*)*4294967296+coalesce(sum(k.p_real_yn),0) from test_page k"
    " where k.p_id=b.p_id and k.p_do_yn=1 and k.p_real_yn in (0,1)),"
    "(select max(k.p_real_yn) from test_page k where k.p_id=b.p_id and k.p_do_yn=1 and k.p_real_yn in (0,1)"
    " and k.page_id=(select j.page_id from test_page j where j.p_id=b.p_id and j.p_do_yn=1"
    " and j.p_real_yn in (0,1) order by j.page_id desc limit 1))"_s;

struct Answers
{
    int answers = 0;
    int right = 0;
    bool latestRight = false;
};

// The two values of kPerQuestion, from the given column on.
Answers answersOf(const QSqlQuery &q, int column)
{
    const qint64 packed = q.value(column).toLongLong();
    return {int(packed >> 32), int(packed & 0xffffffff), q.value(column + 1).toInt() == 1};
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
    // By the chapter's row number: its place among the practice chapters (-1 for a paper) and id.
    QHash<qint64, std::pair<qsizetype, QString>> chapterOf;
    QHash<QString, QString> chapterNames;
    QSqlQuery chapters =
        db::run(db, u"select {rownum},c_id,c_name,m_type from cap_id where m_id=? order by c_id"_s, {courseId});
    while (chapters.next()) {
        const QString id = chapters.value(1).toString();
        const QString name = chapters.value(2).toString();
        const bool practice = chapters.value(3).toString() == u"1";
        chapterNames.insert(id, name);
        chapterOf.insert(chapters.value(0).toLongLong(), {practice ? report.chapters.size() : -1, id});
        if (practice)
            report.chapters.append({id, name});
    }

    std::array<RateLine, 7> types;
    QList<FrequentWrong> wrong;
    // Numbers rather than texts where the text is not needed: every text value is a string to make.
    QSqlQuery q =
        db::run(db,
                u"select b.p_id,c.{rownum},case when b.p_type in ('1','2','3','4','5','6') then"
                " cast(b.p_type as integer) else 0 end,"_s +
                    kPerQuestion + u" from cap_id c {joinfirst} ex_page_id b on b.c_id=c.c_id where c.m_id=?"_s,
                {courseId});
    while (q.next()) {
        const auto [answers, right, latestRight] = answersOf(q, 3);
        report.answers += answers;
        const auto chapter = chapterOf.constFind(q.value(1).toLongLong());
        if (chapter != chapterOf.cend() && chapter->first >= 0)
            count(report.chapters[chapter->first], answers, right, latestRight);
        const int t = q.value(2).toInt();
        if (t >= 1 && t <= 6)
            count(types[t], answers, right, latestRight);
        if (answers > right && chapter != chapterOf.cend())
            wrong.append({q.value(0).toString(), chapter->second, QString(), answers - right, answers});
    }
    for (int t = 1; t <= 6; ++t) {
        if (types[t].questions == 0)
            continue;
        types[t].key = QString::number(t);
        types[t].name = db::typeName(t);
        report.types.append(types[t]);
    }

    // Most wrong answers first, then by id; only the first few are kept.
    const auto more = [](const FrequentWrong &a, const FrequentWrong &b) {
        return a.wrong != b.wrong ? a.wrong > b.wrong : a.pId < b.pId;
    };
    const qsizetype kept = qBound(qsizetype(0), qsizetype(mostWrongLimit), wrong.size());
    std::partial_sort(wrong.begin(), wrong.begin() + kept, wrong.end(), more);
    wrong.resize(kept);
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
        for (FrequentWrong &w : wrong) {
            w.stem = stems.value(w.pId);
            w.chapter = chapterNames.value(w.chapter); // the chapter id until here
        }
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
        if (!answersOf(q, 1).latestRight)
            out << q.value(0).toString();
    }
    return out;
}

} // namespace records
