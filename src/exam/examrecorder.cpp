#include "exam/examrecorder.h"

#include "db/sql.h"
#include "practice/judging.h"
#include "text/listtext.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace exam {

namespace {

const QString kLetters = u"ABCDEF"_s;

QVariantList flagValues(const Boxes &boxes)
{
    QVariantList out;
    for (const bool b : boxes)
        out << (b ? 1 : 0);
    return out;
}

} // namespace

bool recordChoice(const QSqlDatabase &db, const QString &pageId, const Question &question, const Boxes &boxes)
{
    const QString letters = practice::choiceAnswer(question.type, boxes);
    if (letters.isEmpty())
        return false;
    QVariantList values = flagValues(boxes);
    values << letters << (letters == question.answer ? 1 : 0) << pageId << question.pId;
    db::run(db,
            u"update test_page set p_a=?,p_b=?,p_c=?,p_d=?,p_e=?,p_f=?,p_answer=?,p_do_yn=1,p_real_yn=? "
            "where page_id=? and p_id=?"_s,
            values);
    return true;
}

bool recordCaseSub(const QSqlDatabase &db, const QString &pageId, const Question &question, int sub,
                   const QString &letters)
{
    if (letters.isEmpty() || sub < 1 || sub > 6)
        return false;
    db::Transaction tx(db);
    const QString stored = db::scalar(db, u"select p_answer from test_page where page_id=? and p_id=?"_s,
                                      {pageId, question.pId})
                               .toString();
    const QString list = text::listSetItem(letters, stored, 6, u'/', sub);

    QHash<QString, std::pair<QString, double>> subs;
    QSqlQuery q = db::run(db, u"select m_id,m_anwser,m_score from ex_sub where p_id=?"_s, {question.pId});
    while (q.next())
        subs.insert(q.value(0).toString(), {q.value(1).toString(), q.value(2).toDouble()});
    double marks = 0;
    for (int i = 1; i <= subs.size(); ++i) {
        const auto it = subs.constFind(QString::number(i));
        if (it != subs.cend() && text::listItem(list, 6, u'/', i) == it->first)
            marks += it->second;
    }
    // One decimal at most; marks of 0 store no value.
    const double rounded = qRound64(marks * 10) / 10.0;
    const QVariant score = rounded == 0 ? QVariant(QMetaType::fromType<double>()) : QVariant(rounded);
    const bool done = list != u"/////" && list != u"//////";
    static const char *const flags[] = {"p_a", "p_b", "p_c", "p_d", "p_e", "p_f"};
    db::run(db,
            u"update test_page set %1=1,p_answer=?,p_do_yn=?,p_real_yn=1,p_score=? where page_id=? and p_id=?"_s.arg(
                QLatin1StringView(flags[sub - 1])),
            {list, done ? 1 : 0, score, pageId, question.pId});
    tx.commit();
    return true;
}

bool recordCalculation(const QSqlDatabase &db, const QString &pageId, const Question &question,
                       const practice::EditorContent &editor)
{
    const practice::CalculationResult result = question.amountsMode
        ? practice::judgeAmounts(editor, question.options, question.score)
        : practice::judgeEntries(editor, question.options, question.score);
    if (!result.record)
        return false;
    db::run(db, u"update test_page set p_answer=?,p_do_yn=1,p_real_yn=1,p_score=? where page_id=? and p_id=?"_s,
            {result.answer, result.score, pageId, question.pId});
    return true;
}

Boxes restoredBoxes(const AnswerRow &row, int sub)
{
    Boxes boxes{};
    if (!row.done)
        return boxes;
    if (row.type != 5)
        return row.flags;
    if (sub < 1)
        return boxes;
    const QString item = text::listItem(row.answer, 6, u'/', sub);
    for (int k = 0; k < 6; ++k)
        boxes[k] = item.contains(kLetters.at(k));
    return boxes;
}

void markUndone(const QSqlDatabase &db, const QString &pageId, const QString &pId)
{
    db::run(db, u"update test_page set p_do_yn=0 where page_id=? and p_id=?"_s, {pageId, pId});
}

SubAnswer calcSubAnswer(const QString &answer, int sub)
{
    SubAnswer out{u"请查看解析..."_s, {}};
    if (answer.isEmpty())
        return out;
    QString item = text::listItem(answer, 6, u'/', sub);
    if (item.startsWith(u';'))
        item.remove(0, 1);
    out.yours = item.replace(u'=', u' ').replace(u';', u'\n');
    return out;
}

SubAnswer caseSubAnswer(const QString &answer, const QString &subAnswer, int sub)
{
    return {subAnswer, text::listItem(answer, 6, u'/', sub)};
}

SubAnswer noSubAnswer()
{
    return {u"未择定答案"_s, u"未确定答案"_s};
}

void setCheckLater(const QSqlDatabase &db, const QString &pId, int type, int sub, bool marked)
{
    const QString flag = marked ? u"true"_s : u"false"_s;
    db::Transaction tx(db);
    QString value = flag;
    if ((type == 4 || type == 5) && sub >= 1) {
        const QString stored = db::scalar(db, u"select m_down from tmp where c_p_id=?"_s, {pId}).toString();
        value = text::listSetItem(flag, stored, 6, u'/', sub);
    }
    db::run(db, u"update tmp set m_down=? where c_p_id=?"_s, {value, pId});
    tx.commit();
}

} // namespace exam
