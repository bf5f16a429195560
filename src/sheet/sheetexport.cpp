#include "sheet/sheetexport.h"

#include "db/questiontypes.h"
#include "db/sql.h"
#include "sheet/calcanswer.h"
#include "sheet/csvfile.h"
#include "sheet/sheetcolumns.h"

#include <QHash>
#include <QSqlQuery>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

const QString kUnused = u"-"_s;

struct Sub
{
    int number = 0;
    QStringList values; // m_subject, ma..mf, m_anwser, m_des, m_score, m_type
};

QString judgement(const QString &answer)
{
    return answer == u"A" ? u"对"_s : u"错"_s;
}

QHash<QString, QList<Sub>> readSubs(const QSqlDatabase &db)
{
    QHash<QString, QList<Sub>> subs;
    QSqlQuery q = db::run(db, u"SELECT p_id, m_id, m_subject, ma, mb, mc, md, me, mf, m_anwser, m_des, m_score, "
                              u"m_type FROM ex_sub ORDER BY {rowid}"_s);
    while (q.next()) {
        Sub s;
        s.number = q.value(1).toInt();
        for (int k = 2; k <= 12; ++k)
            s.values << q.value(k).toString();
        subs[q.value(0).toString()].append(s);
    }
    for (auto &list : subs)
        std::stable_sort(list.begin(), list.end(), [](const Sub &a, const Sub &b) { return a.number < b.number; });
    return subs;
}

void setOptions(QStringList &row, const QStringList &options)
{
    for (int k = 0; k < kOptionCount; ++k)
        row[OptionA + k] = options.value(k) == kUnused ? QString() : options.value(k);
}

} // namespace

bool exportSheet(const QSqlDatabase &db, const QString &course, SheetExport *out, QString *error)
{
    *out = {};
    try {
        if (!course.isEmpty() &&
            !db::scalar(db, u"SELECT 1 FROM ma_id WHERE m_id = ? OR m_name = ?"_s, {course, course}).isValid()) {
            *error = u"题库中没有课程 \"%1\"."_s.arg(course);
            return false;
        }
        const QHash<QString, QList<Sub>> subs = readSubs(db);
        QStringList header;
        for (int c = 0; c < ColumnCount; ++c)
            header << columnTitle(c);
        out->bytes = "\xEF\xBB\xBF" + csvRecord(header);

        QString sql = u"SELECT m.m_name, c.c_name, c.m_type, q.p_type, q.p_subject_name, q.p_a, q.p_b, q.p_c, q.p_d, "
                      u"q.p_e, q.p_f, q.p_anwser, q.p_anwser_memo, q.p_score, q.p_id, q.p_mask, m.m_id, c.c_id, "
                      u"m.m_speaker, m.m_down FROM ex_page_id q JOIN cap_id c ON c.c_id = q.c_id "
                      u"JOIN ma_id m ON m.m_id = c.m_id"_s;
        QVariantList values;
        if (!course.isEmpty()) {
            sql += u" WHERE m.m_id = ? OR m.m_name = ?"_s;
            values = {course, course};
        }
        QSqlQuery q = db::run(db, sql + u" ORDER BY q.{rowid}"_s, values);
        while (q.next()) {
            QStringList row(ColumnCount);
            const int type = q.value(3).toInt();
            const QString pId = q.value(14).toString();
            QStringList cells;
            for (int k = 5; k <= 10; ++k)
                cells << q.value(k).toString();
            const QString answer = q.value(11).toString();
            row[Course] = q.value(0).toString();
            row[Chapter] = q.value(1).toString();
            row[Kind] = kindName(q.value(2).toString());
            row[Type] = db::typeName(type);
            row[Stem] = q.value(4).toString();
            row[Memo] = q.value(12).toString();
            row[Marks] = exactNumberText(q.value(13).toDouble());
            row[QuestionKey] = pId;
            row[CourseKey] = q.value(16).toString();
            row[ChapterKey] = q.value(17).toString();
            row[Speaker] = q.value(18).toString();
            row[Package] = q.value(19).toString();
            QList<QStringList> subRows;
            switch (type) {
            case 1:
            case 2:
                setOptions(row, cells);
                row[Answer] = answer;
                break;
            case 3:
                row[Answer] = judgement(answer);
                break;
            case 4: {
                row[Answer] = calcAnswerCell(cells);
                if (answer != calcReferenceAnswer(cells, q.value(15).toInt() != 0))
                    row[ShownAnswer] = answer;
                break;
            }
            case 5: {
                QStringList letters;
                double sum = 0;
                for (const Sub &s : subs.value(pId)) {
                    QStringList sub(ColumnCount);
                    sub[Course] = row[Course];
                    sub[Chapter] = row[Chapter];
                    sub[Kind] = row[Kind];
                    const QString subType = s.values.at(10);
                    sub[Type] =
                        subType == u"3" ? db::typeName(3) : (subType == u"2" ? db::typeName(2) : db::typeName(1));
                    sub[Stem] = s.values.at(0);
                    if (subType == u"3") {
                        sub[Answer] = judgement(s.values.at(7));
                    } else {
                        setOptions(sub, s.values.mid(1, 6));
                        sub[Answer] = s.values.at(7);
                    }
                    sub[Memo] = s.values.at(8);
                    sub[Marks] = exactNumberText(s.values.at(9).toDouble());
                    sub[CaseKey] = pId;
                    subRows << sub;
                    letters << s.values.at(7);
                    sum += s.values.at(9).toDouble();
                }
                if (answer != caseReferenceAnswer(letters))
                    row[ShownAnswer] = answer;
                if (q.value(13).toDouble() == sum)
                    row[Marks].clear();
                break;
            }
            default:
                row[Answer] = answer;
                break;
            }
            out->bytes += csvRecord(row);
            for (const QStringList &sub : std::as_const(subRows))
                out->bytes += csvRecord(sub);
            ++out->questions;
        }
    } catch (const db::Error &e) {
        *error = e.message();
        return false;
    }
    return true;
}

} // namespace sheet
