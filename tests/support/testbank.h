#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A throw-away program folder: main.ini, data/sys.htm with every table, and helpers to put a
// small question bank into it.
class TestBank final
{
public:
    explicit TestBank(const QString &connectionName = QStringLiteral("quillmark"));
    ~TestBank();

    QString dir() const { return m_dir.path(); }
    QString path(const QString &relative) const;
    QSqlDatabase db() const;
    QString connectionName() const { return m_connection; }

    void writeFile(const QString &relative, const QByteArray &bytes) const;

    // Row helpers; values are given in column order.
    void insert(const QString &table, const QVariantList &values) const;
    void addCourse(const QString &mId, const QString &name) const;
    void addChapter(const QString &cId, const QString &name, const QString &mId, const QString &kind = QStringLiteral("1")) const;
    // A choice question of type 1..3 with options A..D, the rest "-".
    void addQuestion(const QString &cId, const QString &pId, int type, const QString &answer, double score = 1) const;
    void addCase(const QString &cId, const QString &pId, int subQuestions, double subScore = 2) const;

    // Counts rows of a table, optionally with a where clause using bound values.
    int count(const QString &table, const QString &where = {}, const QVariantList &values = {}) const;

private:
    QTemporaryDir m_dir;
    QString m_connection;
};
