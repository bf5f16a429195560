#pragma once

#include <QSqlDatabase>
#include <QString>

#include <array>

// Handing in an exam: the totals of the session's answer records, the confirmation text with the
// unanswered question types, the session's one page_total row and the texts of the exam-result panel.
namespace exam {

struct Totals
{
    int done = 0;
    int right = 0;
    int wrong = 0;    // not right, unanswered rows included
    int notDone = 0;  // counted rows, so never below zero
    double score = 0; // marks of the right rows
    std::array<int, 7> undoneOfType{}; // index = question type 1..6
    std::array<int, 7> allOfType{};
};

// Totals over all answer records of a session. Throws db::Error.
Totals computeTotals(const QSqlDatabase &db, const QString &pageId);

// Full marks of all the session's questions, as the question bank gives them. Throws db::Error.
double sessionMarks(const QSqlDatabase &db, const QString &pageId);

// "确定进行提交试卷吗?" when everything is done, else the list of types with unanswered questions.
QString confirmationText(const Totals &totals);

// Appends the session's page_total row or overwrites the one it has, in one transaction. Throws db::Error.
void writePageTotal(const QSqlDatabase &db, const QString &pageId, const Totals &totals, const QString &timeText,
                    const QString &sessionKind);

// The values of the exam-result panel ("考试成绩"), in the order of its captions.
struct ExamResult
{
    QString course;        // 考试课程:
    QString paper;         // 考试试卷:
    QString questionCount; // 试卷题目数:
    QString time;          // 用时:
    QString start;         // 开始时间:
    QString done;          // 已做完题数:
    QString notDone;       // 未完成题数:
    QString right;         // 正确题数:
    QString wrong;         // 错误题数:
    QString fullMarks;     // 满分:
    QString score;         // 您本次得分:
    QString rate;          // 正确率:
};

struct ResultInputs
{
    QString sessionKind;
    QString courseName;
    QString paperName;
    int questionTotal = 0;
    QString timeText;
    QString startText;
    double fullMarks = 0;
};
ExamResult resultOf(const Totals &totals, const ResultInputs &inputs);

// score / full marks × 100 with one decimal and "%"; "0.0%" without full marks.
QString rateText(double score, double fullMarks);

} // namespace exam
