#include "practice/judging.h"

#include "text/listtext.h"

using namespace Qt::StringLiterals;

namespace practice {

Choices afterChecking(int type, Choices boxes, int index)
{
    if (index < 0 || index >= 6 || !boxes[index])
        return boxes;
    if (type == 1) {
        for (int k = 0; k < 6; ++k)
            boxes[k] = k == index;
    } else if (type == 3 && index < 2) {
        boxes[1 - index] = false;
    }
    return boxes;
}

QString choiceAnswer(int type, const Choices &boxes)
{
    QString letters;
    for (int k = 0; k < 6; ++k) {
        if (boxes[k])
            letters += QChar(u'A' + k);
    }
    switch (type) {
    case 1:
        return letters.isEmpty() ? QString() : letters.right(1);
    case 3:
        return boxes[1] ? u"B"_s : boxes[0] ? u"A"_s : QString();
    case 2:
    case 5:
        return letters;
    default:
        return {};
    }
}

double subItemShare(double score, const SubItemAnswers &correct)
{
    int used = 0;
    for (const QString &c : correct)
        used += c == u"-" ? 0 : 1;
    if (used == 0)
        return 0;
    return QString::number(score / used, 'f', 2).toDouble();
}

CalculationResult judgeAmounts(const EditorContent &content, const SubItemAnswers &correct, double score)
{
    const double share = subItemShare(score, correct);
    CalculationResult result;
    result.answer = amountsAnswer(content);
    for (int k = 0; k < kSubItems; ++k) {
        if (content.amounts[k].trimmed() == correct[k])
            result.score += share;
    }
    result.record = result.answer != u"/////" && result.answer != u"0/0/0/0/0/0";
    return result;
}

CalculationResult judgeEntries(const EditorContent &content, const SubItemAnswers &correct, double score)
{
    const double share = subItemShare(score, correct);
    CalculationResult result;
    result.answer = entriesAnswer(content);
    for (int k = 0; k < kSubItems; ++k) {
        if (entriesSubItemCredited(content.lines[k], correct[k]))
            result.score += share;
    }
    result.record = !result.answer.isEmpty() && result.answer.contains(u':');
    return result;
}

bool entriesSubItemCredited(const SubItemLines &lines, const QString &correct)
{
    int matches = 0;
    for (const EntryLine &line : lines) {
        if (line.taken() && correct.contains(lineText(line)))
            ++matches;
    }
    return matches == text::countDelimiters(u';', correct) + 1;
}

QString displayAnswer(const QString &type, const QString &answer)
{
    if (type != u"3" || answer.isEmpty())
        return answer;
    return answer == u"A" ? u"对"_s : u"错"_s;
}

} // namespace practice
