#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Keys for sheet rows that bring none. A course or chapter the bank already holds under the same
// name keeps its key, so that a sheet adds to it; anything else gets a key made from a hash of its
// names, so that importing the same sheet again finds the same rows:
//   course    "K" + 13 base-32 characters of SHA-1(course name)
//   chapter   "Z" + ... of SHA-1(course key, chapter name)
//   question  "T" + ... of SHA-1(chapter key, type, stem, n), n counting questions of the same
//             chapter, type and stem in sheet order
// 65 bits of hash keep an accidental collision out of reach for banks of millions of questions.
namespace sheet {

QString hashKey(QChar prefix, const QStringList &parts);

// What the local bank already holds: its courses by name and its chapters by course and name.
struct KnownBank
{
    struct Course
    {
        QString key;
        QString speaker;
        QString package;
    };
    QHash<QString, Course> courses;
    QHash<QString, QString> chapters; // chapterLookup(course key, name) -> chapter key

    static QString chapterLookup(const QString &courseKey, const QString &name);
    // Reads ma_id and cap_id; the first row of a name counts.
    static KnownBank read(const QSqlDatabase &db);
};

} // namespace sheet
