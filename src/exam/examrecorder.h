#pragma once

#include "exam/examdata.h"
#include "practice/entrytext.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>

// Recording an exam answer into the session's test_page row when the learner leaves a question,
// and what the inputs show when the learner comes back. Writes throw db::Error.
namespace exam {

using Boxes = std::array<bool, 6>;

// Types 1..3: the boxes, the letters, done, right = letters equal the question's answer. Nothing is
// written without a letter. Returns whether the row was written.
bool recordChoice(const QSqlDatabase &db, const QString &pageId, const Question &question, const Boxes &boxes);

// A case sub-question (sub = its m_id, 1..6): item sub of the answer list replaced, flag sub set,
// marks summed over the sub-questions whose item equals their answer ("#.#"; none right stores no
// value), right always true.
bool recordCaseSub(const QSqlDatabase &db, const QString &pageId, const Question &question, int sub,
                   const QString &letters);

// A calculation question judged from the editor in the question's mode (amounts or entries): the
// answer text, marks earned = the share of every right sub-item, right always true. Nothing is
// written for an answer that counts as none (blank or zero amounts, no entry line).
bool recordCalculation(const QSqlDatabase &db, const QString &pageId, const Question &question,
                       const practice::EditorContent &editor);

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
