#pragma once

#include <QString>
#include <QStringList>

// The answer of a calculation question as a sheet holds it: its sub-items separated by "/", each
// either one amount ("22800") or entry lines in the bank's notation ("借:原材料=20000;贷:银行存款=20000").
// Full-width "：", "；" and "＝", as a Chinese input method types them, are taken as their ASCII forms.
namespace sheet {

struct CalcAnswer
{
    bool amounts = true;
    QStringList items; // the sub-items in the bank's notation, 1 to 6
};

// Parses and checks a cell: every sub-item filled, all amounts or all entry lines, at most six
// lines a sub-item, accounts from the chart of accounts, debits equal to credits per sub-item.
// Returns false with every problem found appended to problems.
bool parseCalcAnswer(const QString &cell, CalcAnswer *answer, QStringList *problems);

// The cell for a question's six answer columns ("-" = sub-item not used): the reverse of the above.
QString calcAnswerCell(const QStringList &cells);

// The reference answer shown to the learner, "(1)3000；(2)借：原材料 500，贷：银行存款 500"; a text
// longer than the column allows becomes "见答案解析".
QString calcReferenceAnswer(const QStringList &cells, bool amounts);

// "1.A；2.BC": the answers of a case question's sub-questions.
QString caseReferenceAnswer(const QStringList &letters);

} // namespace sheet
