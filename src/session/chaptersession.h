#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>

class Clock;
class QRandomGenerator;

// Chapter practice without widgets: the course and chapter lists, the question counts of a chapter,
// the texts the setup panel derives from them, and the session build.
namespace session {

struct Course
{
    QString id;
    QString name;
};
// Courses in table order.
QList<Course> courses(const QSqlDatabase &db);

struct Chapter
{
    QString id;
    QString name;
};
// The practice chapters of a course, in table order.
QList<Chapter> practiceChapters(const QSqlDatabase &db, const QString &courseId);
QString chapterName(const QSqlDatabase &db, const QString &chapterId);

// The course's fourth question type by its name: 4 ("基础"), 5 ("财经"), 6 ("电算"), later matches
// winning; 0 when none matches.
int fourthType(const QString &courseName);
// "计算分析题:" / "案例分析题:" / "实务操作题:" for 4 / 5 / 6, else empty.
QString fourthTypeName(int type);
// "计算题:" / "案例题:" / "实务题:"; "不明题:" when the course has no fourth type.
QString fourthTypeShortName(int type);
// The count line of the fourth type: "计算分析题:  2 大题,每题10分" and the like.
QString fourthTypeCountLine(int type, int count, const QString &scoreText);
// "计算分析题: 0   题" shown before a chapter is chosen.
QString fourthTypeEmptyLine(int type);

// A chapter button's caption: the trimmed name cut at 28 GBK bytes (29 when a two-byte character
// straddles byte 28), padded with blanks to 32 bytes.
QString chapterButtonCaption(const QString &name);

struct ChapterCounts
{
    int total = 0;
    std::array<int, 7> perType{}; // index 1..6
};
ChapterCounts countChapter(const QSqlDatabase &db, const QString &chapterId);

struct BuildRequest
{
    QString chapterId;
    std::array<int, 4> counts{}; // types 1, 2, 3 and the fourth type
    bool randomOrder = false;
};

struct BuildResult
{
    QString pageId;
    int questionTotal = 0;
};

// n distinct 1-based row numbers in random order.
QList<int> drawOrder(int n, QRandomGenerator &rng);

// Builds a chapter-practice session: a new page id, the first N questions of each type, one answer
// record each (in random order when asked), and the practice copy in tmp, all in one transaction.
// Returns an empty page id when no question was selected. Throws db::Error.
BuildResult buildChapterSession(const QSqlDatabase &db, Clock &clock, const BuildRequest &request,
                                QRandomGenerator &rng);

} // namespace session
