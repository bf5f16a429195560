#include "db/server.h"

#include "db/connection.h"
#include "db/schema.h"
#include "db/sql.h"
#include "shell/appconfig.h"
#include "shell/inifile.h"
#include "text/gbk.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace db {

namespace {

const QString kSection = u"server"_s;
const QString kContent = QString::fromLatin1(kContentSchema);
const QString kGroup = QString::fromLatin1(kLearnerGroup);

void setPath(const QSqlDatabase &db, const QStringList &schemas)
{
    QStringList quoted;
    for (const QString &s : schemas)
        quoted << quoteIdentifier(s);
    run(db, u"SET search_path TO "_s + quoted.join(u", "_s));
}

bool roleExists(const QSqlDatabase &db, const QString &role)
{
    return scalar(db, u"select count(*) from pg_roles where rolname=?"_s, {role}, 0).toInt() > 0;
}

// The learner's schema: his session tables, usable by him alone.
void ensureLearnerSchema(const QSqlDatabase &db, const QString &name)
{
    const QString schema = quoteIdentifier(name);
    run(db, u"CREATE SCHEMA IF NOT EXISTS "_s + schema);
    setPath(db, {name});
    ensureSchema(db, SchemaScope::Learner);
    setPath(db, {kContent});
    run(db, u"REVOKE ALL ON SCHEMA %1 FROM PUBLIC"_s.arg(schema));
    run(db, u"GRANT USAGE ON SCHEMA %1 TO %1"_s.arg(schema));
    run(db, u"REVOKE ALL ON ALL TABLES IN SCHEMA %1 FROM PUBLIC"_s.arg(schema));
    run(db, u"GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %1 TO %1"_s.arg(schema));
    // Statistics from the start: a never-analysed working table is guessed at a thousand rows,
    // and joins with the question table then read all of it instead of looking rows up.
    QStringList tables;
    for (const QString &t : sessionTables())
        tables << schema + u'.' + t;
    run(db, u"ANALYZE "_s + tables.join(u", "_s));
}

} // namespace

QString quoteIdentifier(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

ServerConfig readServerConfig(const AppPaths &paths, QString *error)
{
    IniFile ini(mainIniPath(paths));
    ServerConfig c;
    if (!ini.load(error))
        return c;
    c.host = ini.value(kSection, u"host"_s).trimmed();
    c.database = ini.value(kSection, u"database"_s).trimmed();
    c.user = ini.value(kSection, u"user"_s).trimmed();
    const QString port = ini.value(kSection, u"port"_s).trimmed();
    const QString password = ini.value(kSection, u"password"_s).trimmed();
    const auto fail = [&](const QString &key, const QString &value) {
        // No default stands in for a server's address: the caller stops instead of guessing.
        if (error)
            *error = u"main.ini 的 [server] 中 %1 = \"%2\" 不是有效的值."_s.arg(key, value);
        c.host.clear();
        return c;
    };
    if (!port.isEmpty()) {
        bool ok = false;
        c.port = port.toInt(&ok);
        if (!ok || c.port < 1 || c.port > 65535)
            return fail(u"port"_s, port);
    }
    if (!text::hexXorDecode(password, &c.password))
        return fail(u"password"_s, password);
    return c;
}

bool writeServerConfig(const AppPaths &paths, const ServerConfig &config, QString *error)
{
    IniFile ini(mainIniPath(paths));
    if (!ini.load(error))
        return false;
    ini.setValue(kSection, u"host"_s, config.host);
    ini.setValue(kSection, u"port"_s, QString::number(config.port));
    ini.setValue(kSection, u"database"_s, config.database);
    ini.setValue(kSection, u"user"_s, config.user);
    ini.setValue(kSection, u"password"_s, text::hexXorEncode(config.password));
    return ini.save(error);
}

bool openServer(const ServerConfig &config, const QString &user, const QString &password, ServerRole role,
                const QString &connectionName, QString *error)
{
    QSqlDatabase database;
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        // Let go of the handle first: removing a connection still held warns and leaves it half alive.
        database = QSqlDatabase();
        closeBank(connectionName);
        return false;
    };
    closeBank(connectionName);
    if (role == ServerRole::Learner) {
        if (const QString problem = learnerNameProblem(user); !problem.isEmpty())
            return fail(problem);
        if (password.isEmpty())
            return fail(u"请输入密码."_s);
    }
    if (!QSqlDatabase::isDriverAvailable(u"QPSQL"_s))
        return fail(u"本机缺少 PostgreSQL 数据库驱动 (libqt6sql6-psql)."_s);
    database = QSqlDatabase::addDatabase(u"QPSQL"_s, connectionName);
    database.setHostName(config.host);
    database.setPort(config.port);
    database.setDatabaseName(config.database);
    database.setUserName(user);
    database.setPassword(password);
    database.setConnectOptions(u"connect_timeout=10;application_name=quillmark"_s);
    if (!database.open()) {
        // The server's own words follow "FATAL:"; before them stands only where libpq connected.
        QString reason = database.lastError().databaseText().simplified();
        if (reason.isEmpty())
            reason = database.lastError().text().simplified();
        const qsizetype fatal = reason.lastIndexOf(u"FATAL:"_s);
        if (fatal >= 0)
            reason = reason.mid(fatal + 6).trimmed();
        if (reason.contains(u"password"_s) || reason.contains(u"does not exist"_s))
            return fail(u"服务器拒绝登录: 用户名或密码错误 (%1)"_s.arg(reason));
        if (fatal >= 0)
            return fail(u"服务器拒绝登录: %1"_s.arg(reason));
        return fail(u"无法连接服务器 %1: %2"_s.arg(config.host, reason));
    }
    try {
        // "index ... does not exist, skipping" and the like are nobody's business.
        run(database, u"SET client_min_messages TO warning"_s);
        if (role == ServerRole::Maintainer) {
            setPath(database, {kContent});
            return true;
        }
        const bool own = scalar(database,
                                u"select count(*) from pg_namespace where nspname=? and has_schema_privilege(oid,'USAGE')"_s,
                                {user}, 0)
                             .toInt() > 0;
        if (!own)
            return fail(u"服务器上没有学员 %1 的学习记录库,请培训中心先添加该学员."_s.arg(user));
        setPath(database, {user, kContent});
        // Both halves must be there: the shared questions and the learner's own tables.
        run(database, u"select count(*) from ex_page_id where 1=0"_s);
        run(database, u"select count(*) from test_page where 1=0"_s);
    } catch (const Error &e) {
        return fail(e.message());
    }
    return true;
}

QString learnerNameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return u"学员名不能为空."_s;
    if (name != name.trimmed())
        return u"学员名的前后不能有空格."_s;
    if (name.toUtf8().size() > 63)
        return u"学员名太长 (最多 63 字节, 约 21 个汉字)."_s;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c == u'"' || c == u'.')
            return u"学员名不能含有控制字符、引号或句点."_s;
    }
    if (name.startsWith(u"pg_"_s, Qt::CaseInsensitive) || name.startsWith(u"qm_"_s, Qt::CaseInsensitive)
        || name.compare(u"public"_s, Qt::CaseInsensitive) == 0 || name.compare(u"postgres"_s, Qt::CaseInsensitive) == 0)
        return u"学员名 %1 为系统保留."_s.arg(name);
    return {};
}

void initServer(const QSqlDatabase &db)
{
    Transaction tx(db);
    // The group role is created once per cluster; two centres' databases on one cluster share it.
    if (!roleExists(db, kGroup))
        run(db, u"CREATE ROLE %1 NOLOGIN"_s.arg(quoteIdentifier(kGroup)));
    run(db, u"CREATE SCHEMA IF NOT EXISTS "_s + quoteIdentifier(kContent));
    setPath(db, {kContent});
    ensureSchema(db, SchemaScope::Content);
    const QString content = quoteIdentifier(kContent);
    const QString group = quoteIdentifier(kGroup);
    run(db, u"REVOKE ALL ON SCHEMA %1 FROM PUBLIC"_s.arg(content));
    run(db, u"GRANT USAGE ON SCHEMA %1 TO %2"_s.arg(content, group));
    run(db, u"REVOKE ALL ON ALL TABLES IN SCHEMA %1 FROM PUBLIC"_s.arg(content));
    run(db, u"GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO %2"_s.arg(content, group));
    // Learners write nothing shared; the start-up account table stays the file's, not theirs.
    run(db, u"REVOKE ALL ON TABLE %1.user_logon FROM %2"_s.arg(content, group));
    for (const QString &name : learners(db))
        ensureLearnerSchema(db, name);
    tx.commit();
}

void requireInitialised(const QSqlDatabase &db)
{
    const bool schema = scalar(db, u"select count(*) from pg_namespace where nspname=?"_s, {kContent}, 0).toInt() > 0;
    if (!schema || !roleExists(db, kGroup))
        throw Error(u"服务器尚未初始化,请先运行 update --server-init."_s);
}

void addLearner(const QSqlDatabase &db, const QString &name, const QString &password)
{
    if (const QString problem = learnerNameProblem(name); !problem.isEmpty())
        throw Error(problem);
    if (password.isEmpty())
        throw Error(u"学员密码不能为空."_s);
    Transaction tx(db);
    requireInitialised(db);
    const QString role = quoteIdentifier(name);
    // The password travels as a literal: CREATE ROLE takes no bound values. The driver quotes it.
    const QString literal = db.driver()->formatValue([&] {
        QSqlField f(u"p"_s, QMetaType(QMetaType::QString));
        f.setValue(password);
        return f;
    }());
    if (roleExists(db, name)) {
        const bool member = scalar(db, u"select pg_has_role(?, ?, 'MEMBER')"_s, {name, kGroup}, false).toBool();
        const bool known = learners(db).contains(name);
        if (!member && !known)
            throw Error(u"服务器上已有名为 %1 的其他账号,请换一个学员名."_s.arg(name));
        run(db, u"ALTER ROLE %1 WITH LOGIN PASSWORD %2"_s.arg(role, literal));
    } else {
        run(db, u"CREATE ROLE %1 WITH LOGIN PASSWORD %2 IN ROLE %3"_s.arg(role, literal, quoteIdentifier(kGroup)));
    }
    run(db, u"GRANT CONNECT ON DATABASE %1 TO %2"_s.arg(quoteIdentifier(db.databaseName()), role));
    ensureLearnerSchema(db, name);
    tx.commit();
}

QStringList learners(const QSqlDatabase &db)
{
    // Members of the group with a schema of their name on this database.
    QSqlQuery q = run(db, u"select r.rolname from pg_roles r join pg_namespace n on n.nspname=r.rolname"
                          " where pg_has_role(r.rolname, ?, 'MEMBER') and r.rolname<>? order by r.rolname"_s,
                      {kGroup, kGroup});
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

QList<QStringList> sessionReport(const QSqlDatabase &db)
{
    QList<QStringList> rows{{u"学员"_s, u"日期"_s, u"类型"_s, u"正确"_s, u"错误"_s, u"得分"_s}};
    for (const QString &name : learners(db)) {
        QSqlQuery q = run(db, u"select page_id,p_type,p_true,p_false,p_score from %1.page_total order by page_id"_s.arg(
                                  quoteIdentifier(name)));
        while (q.next()) {
            const QString pageId = q.value(0).toString();
            const QDateTime at = QDateTime::fromString(pageId.left(14), u"yyyyMMddhhmmss"_s);
            rows.append({name, at.isValid() ? at.toString(u"yyyy-MM-dd hh:mm"_s) : pageId, q.value(1).toString(),
                         q.value(2).toString(), q.value(3).toString(),
                         q.isNull(4) ? QString() : QString::number(q.value(4).toDouble())});
        }
    }
    return rows;
}

} // namespace db
