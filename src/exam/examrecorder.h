#pragma once

#include "exam/examdata.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>

// Recording an exam answer into the session's test_page row when the learner leaves a question,
// and what the inputs show when the learner comes back. Writes throw db::Error.
namespace exam {

using Boxes = std::array<bool, 6>;

// The letters of the checked boxes: type 1 the last checked, type 3 "A" or "B" (B wins), types 2
// and 5 all of them in order A to F. Empty when nothing is checked.
QString lettersOf(int type, const Boxes &boxes);

// Types 1..3: the boxes, the letters, done, right = letters equal the question's answer. Nothing is
// written without a letter. Returns whether the row was written.
bool recordChoice(const QSqlDatabase &db, const QString &pageId, const Question &question, const Boxes &boxes);

// A case sub-question (sub = its m_id, 1..6): item sub of the answer list replaced, flag sub set,
// marks summed over the sub-questions whose item equals their answer ("#.#"; none right stores no
// value), right always true.
bool recordCaseSub(const QSqlDatabase &db, const QString &pageId, const Question &question, int sub,
                   const QString &letters);

// The share of one sub-item of a calculation question: its marks over the sub-items that are not
// "-", rounded to two decimals; 0 without any.
double subItemShare(const Question &question);

// Amounts mode: six trimmed amounts joined by "/", a share for each equal to its sub-item's answer.
// Nothing is written for "/////" or "0/0/0/0/0/0".
bool recordAmounts(const QSqlDatabase &db, const QString &pageId, const Question &question,
                   const std::array<QString, 6> &amounts);

// Entries mode: answer is the editor's text of all six sub-items, lines[k] the taken line texts of
// sub-item k+1 ("借:原材料=500"). A sub-item earns its share when as many of its lines occur in its
// correct text as that text has lines. Nothing is written unless answer holds a ":".
bool recordEntries(const QSqlDatabase &db, const QString &pageId, const Question &question, const QString &answer,
                   const std::array<QStringList, 6> &lines);

// The six parts of a calculation answer: part k between the (k-1)-th and the k-th "/", the sixth
// everything after the fifth.
std::array<QString, 6> calcParts(const QString &answer);

// Box states shown when coming back to a question: types 1..3 the stored flags; type 5 the letters
// of item sub of the answer list (all unchecked for sub 0); unanswered rows all unchecked.
Boxes restoredBoxes(const AnswerRow &row, int sub);

// An entries-mode answer without any entry line is turned back into an unanswered row.
void markUndone(const QSqlDatabase &db, const QString &pageId, const QString &pId);

// Texts of the answer panel's answer row for a calculation or case sub-item, or for a node without
// sub-number.
struct SubAnswer
{
    QString correct;
    QString yours;
};
SubAnswer calcSubAnswer(const QString &answer, int sub);
SubAnswer caseSubAnswer(const QString &answer, const QString &subAnswer, int sub);
SubAnswer noSubAnswer();

// The check-later flag of a question (types 1, 2, 3, 6, or a case without sub-questions: sub 0) or
// of sub-item sub of a calculation or case question, kept in tmp.m_down.
void setCheckLater(const QSqlDatabase &db, const QString &pId, int type, int sub, bool marked);

} // namespace exam
