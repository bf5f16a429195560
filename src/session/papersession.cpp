#include "session/papersession.h"

#include "db/questiontypes.h"
#include "db/sessionstore.h"
#include "db/sql.h"
#include "session/chaptersession.h"
#include "shell/clock.h"
#include "text/listtext.h"
#include "text/markstext.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace paper {

namespace {

// Label118..Label120 and Label73: the count, the unit text and the marks label of the type.
QString countLine(int count, int type)
{
    static const char16_t *const units[] = {u"", u"  题,每题", u"  题,每题", u"  题,每题", u" 大题,每题", u"  大题,每题",
                                            u"  题,每题"};
    return QString::number(count) + QString::fromUtf16(units[type]) + db::typeScoreLabel(type);
}

QList<db::AnswerRecord> recordsOf(QSqlQuery &q)
{
    QList<db::AnswerRecord> out;
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toDouble(), q.value(2).toInt(), u""_s, false, false});
    return out;
}

// Answer records and exam copy of a new session, as one unit: a failure leaves nothing behind.
Built writeSession(const QSqlDatabase &db, Clock &clock, const QList<db::AnswerRecord> &records)
{
    Built built;
    bool recordsWritten = false;
    try {
        db::Transaction tx(db);
        built.pageId = db::newPageId(db, clock);
        db::appendAnswerRecords(db, built.pageId, records);
        recordsWritten = true;
        db::copyForExam(db, built.pageId);
        tx.commit();
    } catch (const db::Error &) {
        throw BuildError(recordsWritten ? u"建立临时通用题库出错..."_s : u"建立临时题库出错..."_s);
    }
    built.questionTotal = int(records.size());
    return built;
}

} // namespace

int randomFourthType(const QString &courseName)
{
    if (courseName.contains(u"基础"_s))
        return 4;
    if (courseName.contains(u"财经"_s))
        return 5;
    if (courseName.contains(u"电算"_s))
        return 6;
    return 0;
}

FourthLine fourthLine(const QString &courseName)
{
    const int type = session::fourthType(courseName);
    if (type == 0)
        return {};
    return {session::fourthTypeName(type), type == 6 ? u" 15 题,每题4分"_s : u" 2 大题,共20分"_s};
}

QList<Paper> papers(const QSqlDatabase &db, const QString &mId)
{
    QList<Paper> out;
    QSqlQuery q = db::run(db, u"select c_id,c_name from cap_id where m_id=? and m_type='2'"_s, {mId});
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString()});
    return out;
}

PaperInfo paperInfo(const QSqlDatabase &db, const QString &cId)
{
    PaperInfo info;
    QSqlQuery paper = db::run(
        db,
        u"select a.c_name,b.m_name from cap_id a left join ma_id b on a.m_id=b.m_id where a.m_type='2' and a.c_id=?"_s,
        {cId});
    if (!paper.next())
        return info;
    info.found = true;
    info.name = paper.value(0).toString();
    info.course = paper.value(1).toString();
    QSqlQuery q = db::run(db, u"select p_type,count(p_id) from ex_page_id where c_id=? group by p_type"_s, {cId});
    while (q.next()) {
        const int type = q.value(0).toInt();
        const int n = q.value(1).toInt();
        info.total += n;
        if (type >= 1 && type <= 6)
            info.byType[type] = n;
    }
    if (info.total == 0) {
        info.single = info.multiple = info.judge = info.fourth = u"0 题"_s;
        return info;
    }
    info.single = countLine(info.byType[1], 1);
    info.multiple = countLine(info.byType[2], 2);
    info.judge = countLine(info.byType[3], 3);
    for (int type = 4; type <= 6; ++type) {
        if (info.byType[type] != 0) {
            info.fourth = countLine(info.byType[type], type);
            break;
        }
    }
    return info;
}

Built buildFixed(const QSqlDatabase &db, Clock &clock, const QString &cId)
{
    QList<db::AnswerRecord> records;
    try {
        QSqlQuery q = db::run(db, u"select p_id,p_score,p_type from ex_page_id where c_id=? order by p_type,p_id"_s, {cId});
        records = recordsOf(q);
    } catch (const db::Error &) {
        throw BuildError(u"建立临时题库出错..."_s);
    }
    return writeSession(db, clock, records);
}

int randomQuota(int type)
{
    switch (type) {
    case 1:
    case 2:
    case 3:
        return 20;
    case 4:
    case 5:
        return 2;
    case 6:
        return 15;
    default:
        return 0;
    }
}

QList<int> drawDistinct(int n, int poolSize, QRandomGenerator &rng)
{
    n = qMin(n, poolSize);
    QList<int> drawn;
    drawn.reserve(n);
    for (int i = 0; i < n; ++i) {
        int r = int(rng.bounded(poolSize));
        while (text::valueInPrefix(drawn, i, r))
            r = int(rng.bounded(poolSize));
        drawn.append(r);
    }
    for (int &r : drawn)
        ++r;
    return drawn;
}

Built buildRandom(const QSqlDatabase &db, Clock &clock, const QString &mId, const QString &courseName,
                  QRandomGenerator &rng)
{
    QList<db::AnswerRecord> records;
    QList<int> order;
    QList<int> types{1, 2, 3};
    if (const int fourth = randomFourthType(courseName))
        types << fourth;
    try {
        for (const int type : types) {
            QSqlQuery q = db::run(db,
                                  u"select p_id,p_score,p_type from ex_page_id where c_id in(select c_id from cap_id "
                                  "where m_type='2' and m_id=?) and p_type=?"_s,
                                  {mId, QString::number(type)});
            const QList<db::AnswerRecord> pool = recordsOf(q);
            if (pool.isEmpty())
                continue;
            const QList<int> drawn = drawDistinct(randomQuota(type), int(pool.size()), rng);
            for (const int row : drawn)
                records.append(pool.at(row - 1));
            order += drawn;
        }
    } catch (const db::Error &) {
        throw BuildError(u"建立临时题库出错..."_s);
    }
    if (records.isEmpty())
        throw BuildError(u"当前课程的试卷中没有题目,无法进行随机考试...."_s);
    Built built = writeSession(db, clock, records);
    built.drawOrder = order;
    return built;
}

Brief brief(const QSqlDatabase &db, const QString &pageId)
{
    Brief out;
    const auto markOf = [](const QVariant &v) { return v.isNull() ? u"0"_s : text::marksText(v.toDouble()); };
    for (int type = 1; type <= 3; ++type) {
        QSqlQuery q = db::run(db,
                              u"select count(a.p_id),sum(a.p_score) from test_page a,ex_page_id b where a.p_id=b.p_id "
                              "and b.p_type=? and page_id=?"_s,
                              {QString::number(type), pageId});
        q.next();
        out.counts[type - 1] = q.value(0).toInt();
        out.marks[type - 1] = markOf(q.value(1));
        out.total += q.value(1).toDouble();
    }
    struct Fourth
    {
        int type;
        const char16_t *name;
        const char16_t *sql;
    };
    static const Fourth fourths[] = {
        {4, u"计算分析题",
         u"select count(a.p_id)*4,sum(a.p_score) from test_page a,ex_page_id b where a.p_id=b.p_id and b.p_type='4' "
         "and page_id=?"},
        {5, u"案例分析题",
         u"select count(a.p_id),sum(b.m_score) from test_page a,ex_sub b where a.p_id=b.p_id and a.p_type=5 "
         "and page_id=?"},
        {6, u"实务操作题",
         u"select count(a.p_id),sum(a.p_score) from test_page a,ex_page_id b where a.p_id=b.p_id and b.p_type='6' "
         "and page_id=?"},
    };
    for (const Fourth &f : fourths) {
        QSqlQuery q = db::run(db, QString::fromUtf16(f.sql), {pageId});
        q.next();
        if (q.value(0).toInt() == 0)
            continue;
        out.fourthType = f.type;
        out.fourthName = QString::fromUtf16(f.name);
        out.fourthCount = q.value(0).toInt();
        out.fourthMarks = markOf(q.value(1));
        out.total += q.value(1).toDouble();
        out.picture = u"skin/logon-3-%1.jpg"_s.arg(f.type - 3);
        break;
    }
    out.totalText = text::marksText(out.total);
    return out;
}

} // namespace paper
