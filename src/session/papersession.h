#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include "db/sql.h"

#include <array>

class Clock;
class QRandomGenerator;

// The mock-exam setup without widgets: courses and their papers, the information lines of a chosen
// paper, the session builds of a fixed and of a random paper, and the counts and marks the exam
// instructions show for a built session.
namespace paper {

inline constexpr auto kFixedKind = "模拟考试";
inline constexpr auto kRandomKind = "随机考试";

// The fourth question type a random paper draws: 4 when the course name contains "基础", otherwise
// 5 for "财经", otherwise 6 for "电算", else 0 (the first match wins).
int randomFourthType(const QString &courseName);

// Label74 / Label73 of the information box for a course, before a paper is chosen; a later match
// of the name overwrites an earlier one. Empty name when the course has no fourth type.
struct FourthLine
{
    QString name;
    QString line;
};
FourthLine fourthLine(const QString &courseName);

struct Paper
{
    QString cId;
    QString name;
};
QList<Paper> papers(const QSqlDatabase &db, const QString &mId);

// A chosen paper and the texts of its information lines.
struct PaperInfo
{
    bool found = false;
    QString name;
    QString course; // the name of the paper's own course
    int total = 0;
    std::array<int, 7> byType{}; // index = question type 1..6
    QString single;              // Label118
    QString multiple;            // Label119
    QString judge;               // Label120
    QString fourth;              // Label73; empty: keep its text
};
PaperInfo paperInfo(const QSqlDatabase &db, const QString &cId);

// A build failure with the message to show; nothing of the session was written.
class BuildError final : public db::Error
{
public:
    using db::Error::Error;
};

struct Built
{
    QString pageId;
    int questionTotal = 0;
    QList<int> drawOrder; // random paper: the 1-based pool rows drawn, type after type
};

// All questions of one paper by type and question, the answer records and the exam copy, in one
// transaction. Throws BuildError ("建立临时题库出错..." or "建立临时通用题库出错...").
Built buildFixed(const QSqlDatabase &db, Clock &clock, const QString &cId);

// Random quotas: 20 of each of types 1..3 and the course's fourth type: 2 (type 4), 2 (type 5) or 15 (type 6).
int randomQuota(int type);

// Draws from all papers of the course per type, distinct questions, quota or the whole pool when it
// is smaller. Throws BuildError when the course's papers hold no question at all.
Built buildRandom(const QSqlDatabase &db, Clock &clock, const QString &mId, const QString &courseName,
                  QRandomGenerator &rng);

// n distinct numbers from 0..poolSize-1, each drawn until it differs from those before, plus 1.
QList<int> drawDistinct(int n, int poolSize, QRandomGenerator &rng);

// What the instructions window shows of a built session.
struct Brief
{
    std::array<int, 3> counts{};   // types 1..3
    std::array<QString, 3> marks;  // their marks texts
    int fourthType = 0;            // 0: the session has no fourth-type question
    QString fourthName;            // "计算分析题", "案例分析题", "实务操作题"
    int fourthCount = 0;           // four per calculation question; sub-questions for case questions
    QString fourthMarks;
    QString picture;               // "skin/logon-3-1.jpg" .. "skin/logon-3-3.jpg", empty without a fourth type
    double total = 0;
    QString totalText;
};
Brief brief(const QSqlDatabase &db, const QString &pageId);

} // namespace paper
