#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The columns of a question sheet, as their titles on the sheet's first row. Columns may come in
// any order; those marked required must be present (their cells may still be empty where the
// row's type allows it).
namespace sheet {

enum Column {
    Course,
    Chapter,
    Kind,
    Type,
    Stem,
    OptionA,
    OptionB,
    OptionC,
    OptionD,
    OptionE,
    OptionF,
    Answer,
    Memo,
    Marks,
    QuestionKey,
    CaseKey,
    ShownAnswer,
    CourseKey,
    ChapterKey,
    Speaker,
    Package,
    ColumnCount
};

// "课程", "章节", ... in the order above, which is also the order an export writes.
QString columnTitle(int column);
bool isRequired(int column);
// The column a title names (also "选项A".."选项F" for the options), or -1.
int columnOf(const QString &title);

// "章节练习" -> "1", "模拟试卷" -> "2" (also the codes themselves); empty when unknown.
QString kindCode(const QString &text);
QString kindName(const QString &code);

// A type name ("单选题" ...) or its number 1..6; 0 when unknown.
int typeCode(const QString &text);

// The fourth type a course name selects: "基础" 4, "财经" 5, "电算" 6, else 0.
int fourthType(const QString &courseName);

// Letters, digits and "_", 1 to 14 characters: what a key of the bank may hold.
bool isKey(const QString &text);

// A number as a sheet shows it: at most four decimals, no trailing zeros ("10", "12.5").
QString numberText(double value);
// A number exactly as stored, in as few digits as read back to the same value ("12.5", "0.125").
QString exactNumberText(double value);

inline constexpr int kOptionCount = 6;
inline constexpr int kMaxNameLength = 50;
inline constexpr int kMaxAnswerLength = 255;

} // namespace sheet
