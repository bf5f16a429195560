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
    QString courseId;
    QString pId;
    QString type;
};

// Session ids begin with the build day, "yyyyMMdd". Read by hand: this runs for every answer
// that matters to the schedule.
QDate dayOf(QStringView pageId)
{
    if (pageId.size() < 8)
        return {};
    bool okYear = false, okMonth = false, okDay = false;
    const int year = pageId.first(4).toInt(&okYear);
    const int month = pageId.sliced(4, 2).toInt(&okMonth);
    const int day = pageId.sliced(6, 2).toInt(&okDay);
    return okYear && okMonth && okDay ? QDate(year, month, day) : QDate();
}

// The questions due today (of one course, or of all when courseId is empty). Only the latest wrong
// answer and the right answers after it decide a question's state, so each question costs one
// index seek for the former and one range of the index for the latter.
QList<DueQuestion> due(const QSqlDatabase &db, const QString &courseId, const QDate &today)
{
    QVariantList values;
    QString questions = u"select c.m_id as m_id,b.p_id as p_id,b.p_type as p_type,"
                        "(select max(t.page_id) from test_page t where t.p_id=b.p_id and t.p_do_yn=1"
                        " and t.p_real_yn=0) as lw from cap_id c join ex_page_id b on b.c_id=c.c_id"_s;
    if (!courseId.isEmpty()) {
        questions += u" where c.m_id=?"_s;
        values << courseId;
    }
    QSqlQuery q = db::run(db,
                          u"select x.m_id,x.p_id,x.p_type,x.lw,k.page_id from ("_s + questions +
                              u") x left join test_page k on k.p_id=x.p_id and k.p_do_yn=1 and k.p_real_yn=1"
                              " and k.page_id>x.lw where x.lw is not null"_s,
                          values);
    q.setForwardOnly(true);

    struct Walk
    {
        DueQuestion question;
        QString lastWrong;
        QStringList rights;
    };
    QHash<QString, qsizetype> index;
    QList<Walk> walks;
    while (q.next()) {
        const QString pId = q.value(1).toString();
        auto at = index.constFind(pId);
        if (at == index.cend()) {
            at = index.insert(pId, walks.size());
            walks.append({{q.value(0).toString(), pId, q.value(2).toString()}, q.value(3).toString(), {}});
        }
        if (!q.isNull(4))
            walks[*at].rights << q.value(4).toString();
    }
    QList<DueQuestion> out;
    for (Walk &w : walks) {
        ReviewState state = afterAnswer({}, dayOf(w.lastWrong), false);
        if (w.rights.size() > 1)
            w.rights.sort();
        for (const QString &right : std::as_const(w.rights))
            state = afterAnswer(state, dayOf(right), true);
        if (state.isDue(today))
            out.append(w.question);
    }
    return out;
}

} // namespace

namespace {

QStringList inTypeOrder(QList<DueQuestion> list)
{
    std::stable_sort(list.begin(), list.end(), [](const DueQuestion &a, const DueQuestion &b) {
        return a.type != b.type ? a.type < b.type : a.pId < b.pId;
    });
    QStringList out;
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
    for (const DueQuestion &d : due(db, QString(), today)) {
        const auto at = index.constFind(d.courseId);
        if (at != index.cend())
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
    return inTypeOrder(due(db, courseId, today));
}

} // namespace records
