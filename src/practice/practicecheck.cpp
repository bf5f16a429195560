// Recording an answer (check_answerClick) of the practice window.
#include "practice/practicesession.h"

#include "db/sql.h"
#include "text/listtext.h"

using namespace Qt::StringLiterals;

namespace practice {

namespace {

QVariantList boxValues(const Choices &boxes)
{
    QVariantList v;
    for (bool b : boxes)
        v << (b ? 1 : 0);
    return v;
}

// Marks of a case question: the sub-questions whose item in the answer list equals their answer.
double caseMarks(const QSqlDatabase &db, const QString &pId, const QString &list)
{
    double marks = 0;
    QSqlQuery q = db::run(db, u"select m_id,m_anwser,m_score from ex_sub where p_id=?"_s, {pId});
    while (q.next()) {
        const int k = q.value(0).toString().toInt();
        if (k >= 1 && k <= 6 && text::listItem(list, 6, u'/', k) == q.value(1).toString())
            marks += q.value(2).toDouble();
    }
    return marks;
}

} // namespace

void PracticeSession::check(const AnswerInput &input)
{
    const PracticeRow *row = current();
    if (!row)
        return;
    switch (row->typeCode()) {
    case 1:
    case 2:
    case 3:
    case 5:
        checkChoice(*row, input);
        break;
    case 4:
        checkCalculation(*row, input);
        break;
    default:
        break; // practical operation is never recorded
    }
}

void PracticeSession::checkChoice(const PracticeRow &row, const AnswerInput &input)
{
    const int type = row.typeCode();
    const QString answer = choiceAnswer(type, input.boxes);
    const bool answered = !answer.isEmpty();
    const bool right = answer == row.correct;
    readRecord();

    db::Transaction tx(m_db);
    const QVariantList key = {row.pageId, row.pId, row.subNumber};
    db::run(m_db,
            u"update tmp set d_p_a=?,d_p_b=?,d_p_c=?,d_p_d=?,d_p_e=?,d_p_f=?,p_do_yn=? "
            "where page_id=? and c_p_id=? and e_m_id=?"_s,
            boxValues(input.boxes) + QVariantList{row.done || answered ? 1 : 0} + key);
    if (answered && m_record.exists) {
        QString recorded = answer;
        bool recordRight = right;
        double score = m_record.score;
        if (type == 5) {
            // A case question keeps one answer list; its marks are those of its right sub-questions.
            recorded = text::listSetItem(answer, m_record.answer, 6, u'/', row.subNumber.toInt());
            score = caseMarks(m_db, row.pId, recorded);
            recordRight = true;
        }
        db::run(m_db,
                u"update test_page set p_a=?,p_b=?,p_c=?,p_d=?,p_e=?,p_f=?,p_answer=?,p_first_answer=?,"
                "p_do_yn=1,p_real_yn=?,p_score=? where page_id=? and p_id=?"_s,
                boxValues(input.boxes) + QVariantList{recorded, m_record.done ? m_record.firstAnswer : recorded,
                                                      recordRight ? 1 : 0, score, row.pageId, row.pId});
    }
    if (answered)
        db::run(m_db, u"update tmp set p_real_yn=? where page_id=? and c_p_id=? and e_m_id=?"_s,
                QVariantList{right ? 1 : 0} + key);
    tx.commit();

    PracticeRow &mine = m_rows[m_index];
    mine.chosen = input.boxes;
    if (answered) {
        mine.done = true;
        mine.right = right;
    }
    readRecord();
}

void PracticeSession::checkCalculation(const PracticeRow &row, const AnswerInput &input)
{
    const CalculationResult result = row.amountsMode ? judgeAmounts(input.editor, row.options, row.score)
                                                     : judgeEntries(input.editor, row.options, row.score);
    if (!result.record)
        return;
    db::run(m_db, u"update test_page set p_answer=?,p_do_yn=1,p_real_yn=1,p_score=? where page_id=? and p_id=?"_s,
            {result.answer, result.score, row.pageId, row.pId});
    readRecord();
}

} // namespace practice
