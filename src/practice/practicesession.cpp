#include "practice/practicesession.h"

#include "db/questiontypes.h"
#include "db/sql.h"

using namespace Qt::StringLiterals;

namespace practice {

namespace {

const QString kRowColumns =
    u"m_name,c_name,c_p_id,page_id,p_type,p_subject_name,c_p_a,c_p_b,c_p_c,c_p_d,c_p_e,c_p_f,p_anwser,"
    "p_anwser_memo,c_p_mask,c_p_score,e_m_id,e_subject_name,d_p_a,d_p_b,d_p_c,d_p_d,d_p_e,d_p_f,p_do_yn,"
    "p_real_yn,d_p_mask,d_p_ok_mask"_s;

PracticeRow readRow(const QSqlQuery &q)
{
    PracticeRow r;
    r.course = q.value(0).toString();
    r.chapter = q.value(1).toString();
    r.pId = q.value(2).toString();
    r.pageId = q.value(3).toString();
    r.type = q.value(4).toString();
    r.stem = q.value(5).toString();
    for (int k = 0; k < 6; ++k)
        r.options[k] = q.value(6 + k).toString();
    r.correct = q.value(12).toString();
    r.memo = q.value(13).toString();
    r.amountsMode = q.value(14).toBool();
    r.score = q.value(15).toDouble();
    r.subNumber = q.value(16).toString();
    r.subStem = q.value(17).toString();
    for (int k = 0; k < 6; ++k)
        r.chosen[k] = q.value(18 + k).toBool();
    r.done = q.value(24).toBool();
    r.right = q.value(25).toBool();
    r.marked = q.value(26).toBool();
    r.essence = q.value(27).toBool();
    return r;
}

} // namespace

void PracticeSession::open(QuestionSet set, const QString &pageId)
{
    QString where;
    QVariantList values;
    const QString answered =
        u" where c_p_id in (select p_id from test_page where p_do_yn=? and p_real_yn=? and page_id=?)"_s;
    switch (set) {
    case QuestionSet::Session:
        where = u" where page_id=?"_s;
        values = {pageId};
        break;
    case QuestionSet::AnsweredWrong:
        where = answered;
        values = {1, 0, pageId};
        break;
    case QuestionSet::AnsweredRight:
        where = answered;
        values = {1, 1, pageId};
        break;
    case QuestionSet::Unanswered:
        where = u" where c_p_id in (select p_id from test_page where p_do_yn=? and page_id=?)"_s;
        values = {0, pageId};
        break;
    case QuestionSet::WholeTable:
        break;
    }
    QSqlQuery q = db::run(
        m_db, u"select "_s + kRowColumns + u" from tmp"_s + where + u" order by p_type,c_p_id,e_m_id"_s, values);
    QList<PracticeRow> rows;
    while (q.next())
        rows.append(readRow(q));
    m_rows = std::move(rows);
    m_open = true;
    m_pastEnd = false;
    m_index = m_rows.isEmpty() ? -1 : 0;
    m_record = {};
}

void PracticeSession::next()
{
    if (m_pastEnd || m_index < 0)
        return;
    if (atLast())
        m_pastEnd = true;
    else
        ++m_index;
}

void PracticeSession::previous()
{
    m_pastEnd = false;
    if (m_index > 0)
        --m_index;
}

void PracticeSession::setIndex(int index)
{
    if (index < 0 || index >= count())
        return;
    m_pastEnd = false;
    m_index = index;
}

int PracticeSession::numberWithinType() const
{
    const PracticeRow *row = current();
    if (!row)
        return 0;
    const int type = row->typeCode();
    int lower = 0;
    if (type >= 2 && type <= 6) {
        for (const PracticeRow &r : m_rows) {
            const int t = r.typeCode();
            lower += t >= 1 && t < type ? 1 : 0;
        }
    }
    return m_index + 1 - lower;
}

std::array<int, 7> PracticeSession::typeCountsOfWorkingCopy() const
{
    std::array<int, 7> counts{};
    QSqlQuery q = db::run(m_db, u"select p_type,count(m_type) from tmp group by p_type"_s);
    while (q.next()) {
        const int t = q.value(0).toString().toInt();
        if (t >= 1 && t <= 6 && q.value(0).toString() == QString::number(t))
            counts[t] = q.value(1).toInt();
    }
    return counts;
}

void PracticeSession::readRecord()
{
    m_record = {};
    const PracticeRow *row = current();
    if (!row)
        return;
    QSqlQuery q = db::run(m_db,
                          u"select p_a,p_b,p_c,p_d,p_e,p_f,p_answer,p_do_yn,p_real_yn,p_mask,p_ok_mask,"
                          "p_first_answer,p_score from test_page where page_id=? and p_id=?"_s,
                          {row->pageId, row->pId});
    if (!q.next())
        return;
    m_record.exists = true;
    for (int k = 0; k < 6; ++k)
        m_record.boxes[k] = q.value(k).toBool();
    m_record.answer = q.value(6).toString();
    m_record.done = q.value(7).toBool();
    m_record.right = q.value(8).toBool();
    m_record.marked = q.value(9).toBool();
    m_record.essence = q.value(10).toBool();
    m_record.firstAnswer = q.value(11).toString();
    m_record.score = q.value(12).toDouble();
}

void PracticeSession::reloadRecord()
{
    readRecord();
    const PracticeRow *row = current();
    if (!row || !m_record.exists)
        return;
    if (m_record.marked == row->marked && m_record.essence == row->essence)
        return;
    db::run(m_db, u"update test_page set p_mask=?,p_ok_mask=? where page_id=? and p_id=?"_s,
            {row->marked ? 1 : 0, row->essence ? 1 : 0, row->pageId, row->pId});
    m_record.marked = row->marked;
    m_record.essence = row->essence;
}

void PracticeSession::setMarkFlag(const QString &column, bool PracticeRow::*field, bool value)
{
    const PracticeRow *row = current();
    if (!row)
        return;
    const QString pageId = row->pageId;
    const QString pId = row->pId;
    db::Transaction tx(m_db);
    // column is one of two fixed names, never typed text.
    db::run(m_db, u"update tmp set d_"_s + column + u"=? where page_id=? and c_p_id=?"_s, {value ? 1 : 0, pageId, pId});
    db::run(m_db, u"update test_page set "_s + column + u"=? where page_id=? and p_id=?"_s,
            {value ? 1 : 0, pageId, pId});
    tx.commit();
    for (PracticeRow &r : m_rows) {
        if (r.pageId == pageId && r.pId == pId)
            r.*field = value;
    }
    readRecord();
}

void PracticeSession::toggleMark()
{
    if (const PracticeRow *row = current())
        setMarkFlag(u"p_mask"_s, &PracticeRow::marked, !row->marked);
}

void PracticeSession::toggleEssence()
{
    if (const PracticeRow *row = current())
        setMarkFlag(u"p_ok_mask"_s, &PracticeRow::essence, !row->essence);
}

EditorContent PracticeSession::editorContent()
{
    const PracticeRow *row = current();
    if (!row)
        return {};
    readRecord();
    bool notDone = false;
    EditorContent content = editorContentFor(row->amountsMode, m_record.done, m_record.answer, &notDone);
    if (notDone) {
        db::run(m_db, u"update test_page set p_do_yn=? where page_id=? and p_id=?"_s, {0, row->pageId, row->pId});
        m_record.done = false;
    }
    return content;
}

QString typeName(const QString &type)
{
    const int t = type.toInt();
    return type == QString::number(t) ? db::typeName(t) : QString();
}

QString sidePanelTypeName(const QString &type)
{
    return type == u"6" ? u"实务操作分析题"_s : typeName(type);
}

} // namespace practice
