#include "support/testbank.h"

#include "db/connection.h"
#include "db/schema.h"
#include "db/server.h"
#include "db/sql.h"
#include "support/pgcluster.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

TestBank::TestBank(const QString &connectionName, Where where)
    : m_connection(connectionName), m_server(where == Where::Configured && onServer())
{
    QDir(m_dir.path()).mkpath(u"data"_s);
    QDir(m_dir.path()).mkpath(u"skin"_s);
    QDir(m_dir.path()).mkpath(u"updates"_s);
    writeFile(u"main.ini"_s, "[main]\r\n[config]\r\n");
    QString error;
    if (m_server) {
        PgCluster &cluster = PgCluster::instance();
        m_database = cluster.createDatabase();
        if (!db::writeServerConfig(AppPaths(dir()), cluster.config(m_database), &error))
            qFatal("cannot write main.ini: %s", qPrintable(error));
        if (!db::openConfigured(AppPaths(dir()), m_connection + u"-content"_s, &error))
            qFatal("cannot open the test server: %s", qPrintable(error));
        db::initServer(contentDb());
        db::addLearner(contentDb(), learner(), learnerPassword());
        if (!openAgain(m_connection, &error))
            qFatal("cannot open the test server as the learner: %s", qPrintable(error));
        return;
    }
    {
        // Create the file with its content tables, then open it the way the programs do.
        QSqlDatabase raw = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"testbank-create"_s);
        raw.setDatabaseName(db::bankPath(dir()));
        if (!raw.open())
            qFatal("cannot create test bank");
        for (const QString &table : db::contentTables())
            db::run(raw, db::createStatement(table));
        db::run(raw, db::createStatement(u"user_logon"_s));
        raw.close();
    }
    QSqlDatabase::removeDatabase(u"testbank-create"_s);
    if (!db::openBank(db::bankPath(dir()), m_connection, &error))
        qFatal("cannot open test bank: %s", qPrintable(error));
}

TestBank::~TestBank()
{
    db::closeBank(m_connection);
    db::closeBank(m_connection + u"-content"_s);
}

bool TestBank::onServer()
{
    return qEnvironmentVariable("QM_TEST_ENGINE") == u"postgres";
}

bool TestBank::openAgain(const QString &connectionName, QString *error) const
{
    const db::Login login{learner(), learnerPassword()};
    return db::openConfigured(AppPaths(dir()), connectionName, error, m_server ? &login : nullptr);
}

QSqlDatabase TestBank::contentDb() const
{
    return m_server ? db::bank(m_connection + u"-content"_s) : db();
}

QString TestBank::path(const QString &relative) const
{
    return QDir(m_dir.path()).filePath(relative);
}

QSqlDatabase TestBank::db() const
{
    return db::bank(m_connection);
}

void TestBank::writeFile(const QString &relative, const QByteArray &bytes) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(full));
    f.write(bytes);
}

void TestBank::insert(const QString &table, const QVariantList &values) const
{
    QStringList marks;
    for (qsizetype k = 0; k < values.size(); ++k)
        marks << u"?"_s;
    const bool shared = db::contentTables().contains(table) || table == u"user_logon";
    db::run(shared ? contentDb() : db(), u"insert into %1 values (%2)"_s.arg(table, marks.join(u',')), values);
}

void TestBank::addCourse(const QString &mId, const QString &name) const
{
    insert(u"ma_id"_s, {mId, name, u"0"_s, u"0"_s});
}

void TestBank::addChapter(const QString &cId, const QString &name, const QString &mId, const QString &kind) const
{
    insert(u"cap_id"_s, {cId, name, mId, kind});
}

void TestBank::addQuestion(const QString &cId, const QString &pId, int type, const QString &answer, double score) const
{
    const bool tf = type == 3;
    insert(u"ex_page_id"_s,
           {cId, pId, QString::number(type), u"题干 "_s + pId, tf ? u"对"_s : u"选项A"_s, tf ? u"错"_s : u"选项B"_s,
            tf ? u"-"_s : u"选项C"_s, tf ? u"-"_s : u"选项D"_s, u"-"_s, u"-"_s, answer, u"解析 "_s + pId, 0, 0, score});
}

void TestBank::addCase(const QString &cId, const QString &pId, int subQuestions, double subScore) const
{
    insert(u"ex_page_id"_s,
           {cId, pId, u"5"_s, u"案例 "_s + pId, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u""_s, u"案例解析"_s, 0,
            0, subScore * subQuestions});
    for (int k = 1; k <= subQuestions; ++k) {
        insert(u"ex_sub"_s,
               {pId, QString::number(k), u"小题 %1"_s.arg(k), u"甲"_s, u"乙"_s, u"丙"_s, u"丁"_s, u"-"_s, u"-"_s,
                k % 2 ? u"A"_s : u"BC"_s, u"小题解析 %1"_s.arg(k), subScore, k % 2 ? u"1"_s : u"2"_s});
    }
}

int TestBank::count(const QString &table, const QString &where, const QVariantList &values) const
{
    const QString sql = u"select count(*) from "_s + table + (where.isEmpty() ? QString() : u" where "_s + where);
    return db::scalar(db(), sql, values, 0).toInt();
}

void TestBank::insertFilled(const QString &table, const QString &text) const
{
    // The column types as the schema declares them: "name TYPE, name TYPE, ...".
    const QString create = db::createStatement(table);
    const QStringList defs = create.mid(create.indexOf(u'(') + 1).chopped(1).split(u", "_s);
    QVariantList values;
    for (const QString &def : defs) {
        const QString type = def.section(u' ', 1);
        values << (type.startsWith(u"VARCHAR"_s) || type == u"TEXT" ? QVariant(text) : QVariant(0));
    }
    insert(table, values);
}

namespace {
// The table as the maintenance connection names it: a learner's tables live in his schema.
QString qualified(const QString &table)
{
    return db::sessionTables().contains(table) ? db::quoteIdentifier(TestBank::learner()) + u'.' + table : table;
}
} // namespace

void TestBank::failWrites(const QString &name, const QString &when, const QString &table) const
{
    if (!m_server) {
        db::run(db(), u"create trigger %1 %2 on %3 begin select raise(abort,'boom'); end"_s.arg(name, when, table));
        return;
    }
    db::run(contentDb(), u"create or replace function qm_boom() returns trigger language plpgsql as"
                         " $$begin raise exception 'boom'; end$$"_s);
    db::run(contentDb(),
            u"create trigger %1 %2 on %3 for each row execute function qm_boom()"_s.arg(name, when, qualified(table)));
}

void TestBank::dropFailure(const QString &name, const QString &table) const
{
    if (!m_server)
        db::run(db(), u"drop trigger %1"_s.arg(name));
    else
        db::run(contentDb(), u"drop trigger %1 on %2"_s.arg(name, qualified(table)));
}
