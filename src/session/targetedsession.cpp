#include "session/targetedsession.h"

#include "db/questiontypes.h"
#include "db/sessionstore.h"
#include "db/sql.h"
#include "session/chaptersession.h"
#include "shell/clock.h"

using namespace Qt::StringLiterals;

namespace session {

TargetedTexts targetedTexts(TargetedMode mode)
{
    switch (mode) {
    case TargetedMode::Essence:
        return {u"精华题目"_s, u"精华类练习"_s, u"精华练习:"_s, u"提供了所有已练习中曾标记精华类试题,"_s};
    case TargetedMode::Search:
        return {u"搜索练习"_s, u"搜索类练习"_s, u"搜索练习:"_s,
                u"提供了所有已练习题及模拟试卷中包含用户选择内容的试题,"_s};
    case TargetedMode::Wrong:
        break;
    }
    return {u"错题复习"_s, u"错题类复习"_s, u"错题练习:"_s, u"提供了所有已练习过和模拟考试中曾出错误类试题,"_s};
}

bool isBlankSearch(const QString &text)
{
    return text.trimmed().isEmpty();
}

QString searchPattern(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    return u'%' + escaped + u'%';
}

PeriodLabels periodLabels(const QDate &today)
{
    const QString format = u"yyyy-MM-dd"_s;
    return {today.toString(format), u"(从"_s + today.addDays(-7).toString(format) + u"到今天)"_s,
            u"(从"_s + today.addDays(-30).toString(format) + u"到今天)"_s};
}

namespace {

const QString kIdFormat = u"yyyyMMdd"_s;

// The from and where clauses of a selection: the questions of the course (its chapters and its
// papers), each joined with its newest qualifying record. The sub-query finds that record's rowid
// with one seek in an index that leads with p_id and ends in page_id, so the record itself is
// read once, and a question met twice in one session still yields one row.
QString selectionFrom(const TargetedQuery &query, QVariantList *values)
{
    QString sql = u" from cap_id c,ex_page_id b,test_page k where c.m_id=? and b.c_id=c.c_id"_s;
    values->append(query.courseId);
    if (query.mode == TargetedMode::Search) {
        sql += u" and b.p_subject_name like ? escape '\\'"_s;
        values->append(searchPattern(query.searchText));
    }
    sql += u" and k.{rowid}=(select t.{rowid} from test_page t where t.p_id=b.p_id"_s;
    switch (query.mode) {
    case TargetedMode::Essence:
        sql += u" and t.p_ok_mask=1"_s;
        break;
    case TargetedMode::Search:
        break;
    case TargetedMode::Wrong:
        sql += u" and t.p_do_yn=1 and t.p_real_yn=0"_s;
        // Session ids are the build time as "yyyyMMddhhmmss" and compare as text.
        switch (query.period) {
        case WrongPeriod::Today:
            sql += u" and t.page_id>=? and t.page_id<?"_s;
            values->append(query.today.toString(kIdFormat));
            values->append(query.today.addDays(1).toString(kIdFormat));
            break;
        case WrongPeriod::LastWeek:
            sql += u" and t.page_id>?"_s;
            values->append(query.today.addDays(-7).toString(kIdFormat) + u"000000"_s);
            break;
        case WrongPeriod::LastMonth:
            sql += u" and t.page_id>?"_s;
            values->append(query.today.addDays(-30).toString(kIdFormat) + u"000000"_s);
            break;
        case WrongPeriod::All:
            break;
        }
        break;
    }
    return sql + u" order by t.page_id desc limit 1)"_s;
}

} // namespace

QList<TargetedRecord> selectTargeted(const QSqlDatabase &db, const TargetedQuery &query, int limit)
{
    QVariantList values;
    QString sql = u"select k.page_id,k.p_id,k.p_first_answer,k.p_score,k.p_mask,k.p_ok_mask,b.p_type"_s +
                  selectionFrom(query, &values) + u" order by b.p_type,k.p_id"_s;
    if (limit >= 0) {
        sql += u" limit ?"_s;
        values.append(limit);
    }
    QList<TargetedRecord> out;
    QSqlQuery q = db::run(db, sql, values);
    while (q.next()) {
        out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toDouble(),
                    q.value(4).toBool(), q.value(5).toBool(), q.value(6).toInt()});
    }
    return out;
}

TargetedCounts storeSelection(const QSqlDatabase &db, const TargetedQuery &query)
{
    db::Transaction tx(db);
    db::clearTmpId(db);
    QVariantList values;
    db::run(db, u"insert into tmp_id select b.p_id,k.p_score"_s + selectionFrom(query, &values), values);
    TargetedCounts counts;
    QSqlQuery q = db::run(
        db, u"select b.p_type,count(a.p_id) from tmp_id a,ex_page_id b where a.p_id=b.p_id group by b.p_type"_s);
    while (q.next()) {
        const QString type = q.value(0).toString();
        const int n = q.value(1).toInt();
        counts.total += n;
        if (type.size() == 1 && type[0] >= u'1' && type[0] <= u'6')
            counts.perType[type[0].unicode() - u'0'] = n;
    }
    tx.commit();
    return counts;
}

TargetedLines targetedLines(TargetedMode mode, const QString &courseName, const TargetedCounts &counts)
{
    TargetedLines lines;
    const int fourth = fourthType(courseName);
    lines.fourthName = fourthTypeName(fourth);
    const bool wrong = mode == TargetedMode::Wrong;
    if (counts.total == 0) {
        const QString zero = wrong ? u"0题"_s : u"0 题"_s;
        lines.single = lines.multiple = lines.judge = zero;
        lines.fourthLine = u"0 题"_s;
        return lines;
    }
    const auto line = [&](int type) {
        return QString::number(counts.perType[type]) + u" 题,每题"_s + db::typeScoreLabel(type);
    };
    lines.single = line(1);
    lines.multiple = line(2);
    lines.judge = line(3);
    const QString n = fourth ? QString::number(counts.perType[fourth]) : QString();
    switch (fourth) {
    case 4:
        lines.fourthLine = n + (wrong ? u" 大题,共20分"_s : u" 大题,每题"_s + db::typeScoreLabel(4));
        break;
    case 5:
        lines.fourthLine = n + (wrong ? u" 大题,共20分"_s : u" 题,每题"_s + db::typeScoreLabel(5));
        break;
    case 6:
        lines.fourthLine = line(6);
        break;
    default:
        break;
    }
    return lines;
}

int startIndex(int howMany, int startFrom, bool *corrected)
{
    const bool beyond = howMany < startFrom;
    if (corrected)
        *corrected = beyond;
    return beyond ? 1 : startFrom;
}

TargetedBuild buildTargetedSession(const QSqlDatabase &db, Clock &clock, const TargetedQuery &query, int howMany)
{
    TargetedBuild result;
    if (howMany <= 0)
        return result;
    db::Transaction tx(db);
    db::clearTmp(db);
    const QList<TargetedRecord> selected = selectTargeted(db, query, howMany);
    if (selected.isEmpty())
        return result;
    const QString pageId = db::newPageId(db, clock);
    const bool copyMarks = query.mode != TargetedMode::Search;
    QList<db::AnswerRecord> records;
    records.reserve(selected.size());
    for (const TargetedRecord &r : selected) {
        if (copyMarks)
            records.append({r.pId, r.score, QVariant(), r.firstAnswer, r.mask, r.okMask});
        else
            records.append({r.pId, r.score, QVariant(), u""_s, false, false});
    }
    db::appendAnswerRecords(db, pageId, records);
    db::copyForPractice(db, pageId);
    tx.commit();
    result.pageId = pageId;
    result.questionTotal = int(selected.size());
    return result;
}

} // namespace session
