#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A throw-away program folder: main.ini, data/sys.htm with every table, and helpers to put a
// small question bank into it. With QM_TEST_ENGINE=postgres in the environment the bank is a new
// database on the process's test cluster instead (support/pgcluster.h): main.ini names the server,
// db() is a learner's connection and the content rows go in through the maintenance account, as on
// a training centre's server.
class TestBank final
{
public:
    static bool onServer();
    // The learner of a server bank and his password.
    static QString learner() { return QStringLiteral("学员 甲"); }
    static QString learnerPassword() { return QStringLiteral("pa'ss\\word"); }

    // Configured: on the server when the environment asks for one. File: always the SQLite file, as
    // a bank the updater merges from is.
    enum class Where { Configured, File };

    explicit TestBank(const QString &connectionName = QStringLiteral("quillmark"), Where where = Where::Configured);
    ~TestBank();

    QString dir() const { return m_dir.path(); }
    QString path(const QString &relative) const;
    QSqlDatabase db() const;
    QString connectionName() const { return m_connection; }
    // Where content rows are written: the bank itself, or the server's maintenance connection.
    QSqlDatabase contentDb() const;
    // The server's database name (empty for a file bank).
    QString database() const { return m_database; }

    // Whether this bank is on the server.
    bool isOnServer() const { return m_server; }

    // Opens the bank again under connectionName, as the programs do (the learner on a server).
    bool openAgain(const QString &connectionName, QString *error) const;

    void writeFile(const QString &relative, const QByteArray &bytes) const;

    // Row helpers; values are given in column order.
    void insert(const QString &table, const QVariantList &values) const;
    void addCourse(const QString &mId, const QString &name) const;
    void addChapter(const QString &cId, const QString &name, const QString &mId, const QString &kind = QStringLiteral("1")) const;
    // A choice question of type 1..3 with options A..D, the rest "-".
    void addQuestion(const QString &cId, const QString &pId, int type, const QString &answer, double score = 1) const;
    void addCase(const QString &cId, const QString &pId, int subQuestions, double subScore = 2) const;

    // A row of the table with text in every text column and 0 in every number column.
    void insertFilled(const QString &table, const QString &text) const;

    // Makes the next write (when: "before insert", "after update", ...) to table fail with an
    // error raised by the engine, as a full disk or a broken file would; name lets it be dropped.
    void failWrites(const QString &name, const QString &when, const QString &table) const;
    void dropFailure(const QString &name, const QString &table) const;

    // Counts rows of a table, optionally with a where clause using bound values.
    int count(const QString &table, const QString &where = {}, const QVariantList &values = {}) const;

private:
    QTemporaryDir m_dir;
    QString m_connection;
    QString m_database;
    bool m_server = false;
};
