#include "records/reviewschedule.h"

#include "db/sql.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace records {

ReviewState afterAnswer(ReviewState state, const QDate &day, bool right)
{
    if (!right)
        return {0, day};
    if (!state.isDue(day))
        return state;
    if (state.step + 1 >= int(kReviewDays.size()))
        return {};
    return {state.step + 1, day};
}

namespace {

struct DueQuestion
{
    QString pId;
    QChar type; // the first character of p_type: the types are "1".."6"
};

// The day of a session id, which begins with it ("yyyyMMdd"), handed over by the query as the number
// yyyyMMdd: numbers cost the query no string to make.
QDate dayOf(qint64 yyyymmdd)
{
    return QDate(int(yyyymmdd / 10000), int(yyyymmdd / 100 % 100), int(yyyymmdd % 100));
}

// The questions due today (of one course, or of all when courseId is empty), each with the row
// number of its chapter. Only the latest wrong answer and the right answers after it decide a
// question's state: the former is one backward step of test_page's (p_id, page_id, ...) covering
// index from the question's newest record, evaluated once per question (the LIMIT keeps the
// subquery from being folded into the join, which would repeat it), the latter the range of the
// index after it, in session order.
QList<std::pair<qint64, DueQuestion>> due(const QSqlDatabase &db, const QString &courseId, const QDate &today)
{
    QVariantList values;
    QString questions = u"select c.{rownum} as ch,b.p_id as p_id,b.p_type as p_type,"
                        "(select k.page_id from test_page k where k.p_id=b.p_id and k.p_do_yn=1 and k.p_real_yn=0"
                        " order by k.page_id desc limit 1) as lw from cap_id c join ex_page_id b on b.c_id=c.c_id"_s;
    if (!courseId.isEmpty()) {
        questions += u" where c.m_id=?"_s;
        values << courseId;
    }
    QSqlQuery q = db::run(db,
                          u"select x.ch,x.p_id,case when length(x.p_type)>0 then {char1}(x.p_type) else 0 end,"
                          "cast(substr(x.lw,1,8) as integer),cast(substr(t.page_id,1,8) as integer) from ("_s +
                              questions +
                              u" {nolimit}) x left join test_page t on t.p_id=x.p_id and t.page_id>x.lw"
                              " and t.p_do_yn=1 and t.p_real_yn=1 where x.lw is not null"_s,
                          values);

    QList<std::pair<qint64, DueQuestion>> out;
    // The rows of one question come together.
    std::pair<qint64, DueQuestion> current;
    qint64 lastWrong = 0;
    QList<qint64> rights;
    bool started = false;
    const auto finish = [&] {
        if (!started)
            return;
        ReviewState state = afterAnswer({}, dayOf(lastWrong), false);
        std::sort(rights.begin(), rights.end());
        for (qint64 day : std::as_const(rights))
            state = afterAnswer(state, dayOf(day), true);
        if (state.isDue(today))
            out.append(current);
    };
    while (q.next()) {
        QString pId = q.value(1).toString();
        if (!started || pId != current.second.pId) {
            finish();
            started = true;
            current = {q.value(0).toLongLong(), {std::move(pId), QChar(char16_t(q.value(2).toInt()))}};
            lastWrong = q.value(3).toLongLong();
            rights.clear();
        }
        if (!q.isNull(4))
            rights << q.value(4).toLongLong();
    }
    finish();
    return out;
}

} // namespace

namespace {

QStringList inTypeOrder(QList<DueQuestion> list)
{
    std::sort(list.begin(), list.end(), [](const DueQuestion &a, const DueQuestion &b) {
        return a.type != b.type ? a.type < b.type : a.pId < b.pId;
    });
    QStringList out;
    out.reserve(list.size());
    for (const DueQuestion &d : list)
        out << d.pId;
    return out;
}

} // namespace

QList<CourseDue> dueCounts(const QSqlDatabase &db, const QDate &today)
{
    QList<CourseDue> out;
    QList<QList<DueQuestion>> perCourse;
    QHash<QString, qsizetype> index;
    // In table order, as the course lists of the setup panels show them.
    QSqlQuery courses = db::run(db, u"select m_id,m_name from ma_id"_s);
    while (courses.next()) {
        index.insert(courses.value(0).toString(), out.size());
        out.append({courses.value(0).toString(), courses.value(1).toString(), 0, {}});
        perCourse.append(QList<DueQuestion>());
    }
    QHash<qint64, qsizetype> courseOfChapter;
    QSqlQuery chapters = db::run(db, u"select {rownum},m_id from cap_id"_s);
    while (chapters.next()) {
        const auto at = index.constFind(chapters.value(1).toString());
        if (at != index.cend())
            courseOfChapter.insert(chapters.value(0).toLongLong(), *at);
    }
    for (const auto &[chapter, d] : due(db, QString(), today)) {
        const auto at = courseOfChapter.constFind(chapter);
        if (at != courseOfChapter.cend())
            perCourse[*at].append(d);
    }
    for (qsizetype k = 0; k < out.size(); ++k) {
        out[k].questions = inTypeOrder(perCourse.at(k));
        out[k].due = int(out[k].questions.size());
    }
    return out;
}

QStringList dueQuestions(const QSqlDatabase &db, const QString &courseId, const QDate &today)
{
    QList<DueQuestion> list;
    for (const auto &[chapter, d] : due(db, courseId, today))
        list.append(d);
    return inTypeOrder(list);
}

} // namespace records
