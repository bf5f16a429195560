#pragma once

#include "content/contentlink.h"
#include "shell/apppaths.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QUrl>

#include <optional>

// Course handouts without widgets: the chapters of a course that have a handout, the handout of a
// chapter, the course's package of all handouts, and the captions of the chapter buttons.
namespace content {

struct HandoutChapter
{
    QString chapterId;
    QString name;
};

// Chapters of the course that have a handout, in table order.
QList<HandoutChapter> handoutChapters(const QSqlDatabase &db, const QString &courseId);

// The handout of a chapter (its first row), or nothing when it has none.
std::optional<Link> handout(const QSqlDatabase &db, const QString &chapterId);

// m_down of the course, read with its practice chapters: "0" = no package. Empty when the course
// has no practice chapter; callers treat that as no package too.
QString coursePackage(const QSqlDatabase &db, const QString &courseId);
bool hasPackage(const QString &package);

// What the package button opens: a web address as it is, else an existing file in data/ or, failing
// that, in the program folder itself. Empty when there is no such file (or the name leaves the
// program folder).
QUrl packageUrl(const AppPaths &paths, const QString &package);

// Tooltip of the package button.
QString packageToolTip(const QString &courseName, const QString &package);

// Caption of a chapter button: the trimmed name, keeping every character that starts within its
// first 26 GBK bytes (so 27 bytes when a two-byte character starts at byte 26), padded with blanks
// to 30 bytes.
QString handoutButtonCaption(const QString &name);

// Top edge of the chapter button with 0-based index i: 10, 44, 76, 108, ...
int handoutButtonTop(int i);

} // namespace content
