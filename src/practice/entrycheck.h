#pragma once

#include "practice/judging.h"

#include <QList>
#include <QString>

// An entries-mode answer explained line by line against the key, for the answer panel. It explains;
// the marks still come from judgeEntries().
//
// Lines of one sub-item are paired with the key's lines in whatever order they were written. Of
// all pairings the one with the fewest faults is taken: a pair that differs in one respect (side,
// account or amount) is one fault, a key line left unpaired (missing) or a learner's line left
// unpaired (extra) is one fault each, and lines that differ in more than one respect never pair.
namespace practice {

enum class LineVerdict { Right, WrongSide, WrongAccount, WrongAmount, Missing, Extra };

struct KeyLine
{
    Direction direction = Direction::None;
    QString account;
    QString amount;
    bool operator==(const KeyLine &) const = default;
};

struct LineCheck
{
    LineVerdict verdict = LineVerdict::Right;
    KeyLine given;    // empty for Missing
    KeyLine expected; // empty for Extra
    bool operator==(const LineCheck &) const = default;
};

struct SubItemCheck
{
    int subItem = 0;       // 1..6
    bool credited = false; // the judging gave this sub-item its share
    QList<LineCheck> lines;
    int faults() const;
};

// The lines of a key text such as "借:库存现金=100;贷:银行存款=100" ("-" and "" hold none).
QList<KeyLine> keyLines(const QString &key);

// Amounts are the same when they are the same number ("100", "100.00", "1,000" and "1000");
// a text that is no number only equals itself.
bool sameAmount(const QString &a, const QString &b);

// The best pairing of one sub-item's lines: learner's lines in their order, missing key lines
// after them.
QList<LineCheck> checkLines(const QList<KeyLine> &given, const QList<KeyLine> &key);

// Every sub-item with a key or with a line of the learner, in order.
QList<SubItemCheck> checkEntries(const EditorContent &content, const SubItemAnswers &key);
// The same from a stored answer text.
QList<SubItemCheck> checkEntries(const QString &answer, const SubItemAnswers &key);

// "借:库存现金=100"
QString keyLineText(const KeyLine &line);
// One line of the explanation, e.g. "金额错误：借:原材料=500，应为 600".
QString describe(const LineCheck &check);
// The whole explanation as plain text: a heading per sub-item, then its lines.
QString explanationText(const QList<SubItemCheck> &checks);

} // namespace practice
