#pragma once

#include <QString>

#include <array>

// The content of the accounting-entry answer editor as data, and the answer texts it turns into.
//
// Entries mode: a sub-item's lines read "借:" or "贷:", the account, "=", the amount; lines are joined
// by ";" and the six sub-items by "/" (five separators, none at the end). Only line 1 of sub-item 1 is
// written without a leading ";", so the other sub-items start with ";" as soon as they hold a line:
//     借:库存现金=100;贷:银行存款=100/;借:原材料=50////
// Amounts mode: the six trimmed computed amounts joined by "/" ("/////" when all are empty).
namespace practice {

inline constexpr int kSubItems = 6;
inline constexpr int kLinesPerSubItem = 6;

enum class Direction { None, Debit, Credit };

struct EntryLine
{
    bool shown = false;
    Direction direction = Direction::None;
    QString account;
    QString amount;

    // A line counts for the answer when it is shown and has a direction.
    bool taken() const { return shown && direction != Direction::None; }
    bool operator==(const EntryLine &) const = default;
};

using SubItemLines = std::array<EntryLine, kLinesPerSubItem>;

struct EditorContent
{
    std::array<QString, kSubItems> amounts;    // computed-amount boxes
    std::array<SubItemLines, kSubItems> lines; // entry lines of each sub-item
    bool operator==(const EditorContent &) const = default;
};

// "借:" or "贷:", the trimmed account, "=", the trimmed amount. Empty for a line without direction.
QString lineText(const EntryLine &line);

// The text of one sub-item's taken lines; firstSubItem decides whether line 1 goes without ";".
QString subItemText(const SubItemLines &lines, bool firstSubItem);

QString entriesAnswer(const EditorContent &content);
QString amountsAnswer(const EditorContent &content);

// The six pieces of a saved answer: piece k lies between the (k-1)-th and k-th "/", the sixth is
// everything after the fifth "/"; missing pieces are empty.
std::array<QString, kSubItems> splitAnswer(const QString &answer);

// The lines of one sub-item restored from its text. A text without ":" restores nothing; a leading
// ";" is ignored; at most six lines are restored, the sixth amount ends at the next ";".
SubItemLines parseSubItem(const QString &text);

// What the editor shows for a question when it becomes current. amountsMode is the question's
// mode, done/answer come from its answer record. When an answered entries-mode record holds no
// entry line at all, *notDone is set: the caller turns the record back into an unanswered one.
EditorContent editorContentFor(bool amountsMode, bool done, const QString &answer, bool *notDone = nullptr);

} // namespace practice
