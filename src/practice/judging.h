#pragma once

#include "practice/entrytext.h"

#include <QString>

#include <array>

// Judging of a practice answer, free of any window or database: option exclusivity, the answer
// text of the option boxes and the marks of a calculation question.
namespace practice {

using Choices = std::array<bool, 6>;                   // option boxes A..F
using SubItemAnswers = std::array<QString, kSubItems>; // correct answers of sub-items 1..6, "-" = unused

// The boxes after option `index` (0 = A) became checked: a single choice keeps only that box,
// true/false keeps only A or B; other types allow any combination. Unchecking changes nothing.
Choices afterChecking(int type, Choices boxes, int index);

// Types 1, 2, 3 and 5: the letters of the checked boxes. Single choice: the last checked letter;
// true/false: "A" or "B" (B wins); multiple choice and case sub-questions: all letters A..F in order.
QString choiceAnswer(int type, const Choices &boxes);

// Marks of one sub-item: the question's marks over the number of used sub-items, rounded to two
// decimals; 0 when no sub-item is used.
double subItemShare(double score, const SubItemAnswers &correct);

struct CalculationResult
{
    QString answer;
    double score = 0;
    bool record = false; // false: the input counts as no answer and nothing is written
};

// Amounts mode: each trimmed amount equal (as text) to its correct answer earns the share.
// "/////" and "0/0/0/0/0/0" are no answer.
CalculationResult judgeAmounts(const EditorContent &content, const SubItemAnswers &correct, double score);

// Entries mode: a taken line matches when its text occurs inside the sub-item's correct answer; a
// sub-item earns the share when its matches equal the correct answer's ";" count plus one. The
// answer is recorded when it holds at least one line.
CalculationResult judgeEntries(const EditorContent &content, const SubItemAnswers &correct, double score);
// The rule judgeEntries() applies to one sub-item.
bool entriesSubItemCredited(const SubItemLines &lines, const QString &correct);

// True/false answers are shown as "对" ("A") and "错"; other types show the stored text.
QString displayAnswer(const QString &type, const QString &answer);

} // namespace practice
