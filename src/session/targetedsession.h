#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>

class Clock;

// Targeted practice without widgets: practice sets built from the learner's own answer records
// within one course (questions marked as essence, questions whose stem contains a text, questions
// answered wrongly in a period). Each selection holds, per qualifying question, its newest
// qualifying answer record.
namespace session {

enum class TargetedMode { Essence, Search, Wrong };
enum class WrongPeriod { Today, LastWeek, LastMonth, All };

struct TargetedTexts
{
    QString sessionKind; // "精华题目", "搜索练习", "错题复习"
    QString heading;     // settings box caption and Label53
    QString title;       // Label46
    QString description; // Label47
};
TargetedTexts targetedTexts(TargetedMode mode);

struct TargetedQuery
{
    TargetedMode mode = TargetedMode::Essence;
    QString courseId;
    QString searchText; // used as typed, blanks included
    WrongPeriod period = WrongPeriod::Today;
    QDate today;
};

// True when a search text is nothing but blanks.
bool isBlankSearch(const QString &text);
// "%text%" for LIKE ... ESCAPE '\': a "%", "_" or "\" in the text stands for itself.
QString searchPattern(const QString &text);

// The texts of the period box: today "yyyy-MM-dd", and "(从…到今天)" for the week and the month.
struct PeriodLabels
{
    QString today;
    QString week;
    QString month;
};
PeriodLabels periodLabels(const QDate &today);

// One selected question with the answer record it was chosen by.
struct TargetedRecord
{
    QString pageId;
    QString pId;
    QString firstAnswer;
    double score = 0;
    bool mask = false;
    bool okMask = false;
    int type = 0;
};

// The selection, ordered by question type and question id, at most limit rows (all when < 0).
// Throws db::Error.
QList<TargetedRecord> selectTargeted(const QSqlDatabase &db, const TargetedQuery &query, int limit = -1);

struct TargetedCounts
{
    int total = 0;
    std::array<int, 7> perType{}; // index 1..6
};
// Replaces tmp_id with the selection (one transaction) and counts it per type. Throws db::Error.
TargetedCounts storeSelection(const QSqlDatabase &db, const TargetedQuery &query);

// The count lines of the settings box.
struct TargetedLines
{
    QString single;     // Label88
    QString multiple;   // Label87
    QString judge;      // Label86
    QString fourthName; // Label82, empty when the course name selects no fourth type
    QString fourthLine; // Label79
};
TargetedLines targetedLines(TargetedMode mode, const QString &courseName, const TargetedCounts &counts);

// Where the practice starts: startFrom, or 1 (corrected set) when it lies beyond howMany.
int startIndex(int howMany, int startFrom, bool *corrected);

struct TargetedBuild
{
    QString pageId;
    int questionTotal = 0;
};
// Runs the selection again and builds a practice session from its first howMany rows: one answer
// record each (no type; first answer, marks and essence copied except in the search) and the
// practice copy in tmp, in one transaction. An empty page id when nothing was selected.
// Throws db::Error.
TargetedBuild buildTargetedSession(const QSqlDatabase &db, Clock &clock, const TargetedQuery &query, int howMany);

} // namespace session
