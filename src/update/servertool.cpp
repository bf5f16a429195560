#include "update/servertool.h"

#include "db/connection.h"
#include "db/server.h"
#include "db/sql.h"
#include "sheet/csvfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>

#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace update {

namespace {

const QString kServerConfig = u"--server-config"_s;
const QString kServerInit = u"--server-init"_s;
const QString kAddLearner = u"--add-learner"_s;
const QString kListLearners = u"--list-learners"_s;
const QString kReport = u"--report"_s;
const QString kConnection = u"update-server"_s;

// Failures carry their message to the one place that prints it.
struct Failure
{
    QString message;
};

// One line of standard input; on a terminal the typing is not echoed.
QString readSecretLine(const QString &prompt, QTextStream &err)
{
    const bool terminal = isatty(STDIN_FILENO) != 0;
    termios saved{};
    if (terminal && tcgetattr(STDIN_FILENO, &saved) == 0) {
        err << prompt;
        err.flush();
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        err << '\n';
        err.flush();
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}

// main.ini's server, as the maintenance account; fails unless this computer may maintain it.
db::ServerConfig maintenanceConfig(const AppPaths &paths)
{
    QString error;
    const db::ServerConfig config = db::readServerConfig(paths, &error);
    if (!error.isEmpty())
        throw Failure{error};
    if (!config.configured())
        throw Failure{u"main.ini 中没有设置培训中心的服务器 ([server] 的 host),本命令只用于服务器."_s
                      u" 设置方法: update --server-config HOST PORT DATABASE USER"_s};
    if (config.user.isEmpty())
        throw Failure{u"main.ini 的 [server] 中没有维护账号 (user),这台电脑不能维护服务器."_s};
    return config;
}

// The maintenance connection for the length of one command.
class Server final
{
public:
    explicit Server(const db::ServerConfig &config) : m_config(config)
    {
        QString error;
        if (!db::openServer(config, config.user, config.password, db::ServerRole::Maintainer, kConnection, &error))
            throw Failure{error};
    }
    ~Server() { db::closeBank(kConnection); }
    Q_DISABLE_COPY_MOVE(Server)

    QSqlDatabase db() const { return db::bank(kConnection); }
    QString where() const { return u"%1:%2/%3"_s.arg(m_config.host).arg(m_config.port).arg(m_config.database); }

private:
    db::ServerConfig m_config;
};

// Tables and indexes of every schema that is not the server's own, to tell what a run created.
struct Layout
{
    bool group = false;
    QMap<QString, QSet<QString>> tables;
    QMap<QString, QSet<QString>> indexes;
};

Layout layout(const Server &server)
{
    Layout out;
    out.group = db::scalar(server.db(), u"select count(*) from pg_roles where rolname=?"_s,
                           {QString::fromLatin1(db::kLearnerGroup)}, 0)
                    .toInt() > 0;
    QSqlQuery q = db::run(server.db(), u"select n.nspname, c.relname, c.relkind from pg_class c"
                                       " join pg_namespace n on n.oid=c.relnamespace"
                                       " where c.relkind in ('r','i') and n.nspname not like 'pg\\_%'"
                                       " and n.nspname not in ('information_schema','public')"_s);
    while (q.next()) {
        auto &into = q.value(2).toString() == u"r"_s ? out.tables : out.indexes;
        into[q.value(0).toString()].insert(q.value(1).toString());
    }
    return out;
}

QStringList sorted(const QSet<QString> &set)
{
    QStringList list(set.begin(), set.end());
    list.sort();
    return list;
}

QStringList layoutChanges(const Layout &before, const Layout &after)
{
    QStringList lines;
    if (after.group && !before.group)
        lines << u"已创建学员组角色 %1"_s.arg(QString::fromLatin1(db::kLearnerGroup));
    const QString content = QString::fromLatin1(db::kContentSchema);
    QStringList schemas = after.tables.keys();
    // The shared content first, then the learners by name.
    std::stable_partition(schemas.begin(), schemas.end(), [&](const QString &s) { return s == content; });
    for (const QString &schema : std::as_const(schemas)) {
        const QStringList tables = sorted(after.tables.value(schema) - before.tables.value(schema));
        const qsizetype indexes = (after.indexes.value(schema) - before.indexes.value(schema)).size();
        if (tables.isEmpty() && indexes == 0)
            continue;
        const QString owner = schema == content ? u"题库内容 (%1)"_s.arg(schema) : u"学员 %1"_s.arg(schema);
        QString line = owner + u": "_s;
        if (!tables.isEmpty())
            line += u"新建 %1 张表 (%2)"_s.arg(tables.size()).arg(tables.join(u", "_s));
        if (indexes > 0)
            line += (tables.isEmpty() ? QString() : u", "_s) + u"新建 %1 个索引"_s.arg(indexes);
        lines << line;
    }
    return lines;
}

void serverConfig(const QStringList &args, const AppPaths &paths, QTextStream &out, QTextStream &err)
{
    db::ServerConfig config;
    config.host = args.at(1).trimmed();
    bool ok = false;
    config.port = args.at(2).trimmed().toInt(&ok);
    if (!ok || config.port < 1 || config.port > 65535)
        throw Failure{u"端口 %1 无效 (1 到 65535)."_s.arg(args.at(2))};
    config.database = args.at(3).trimmed();
    config.user = args.value(4).trimmed();
    if (config.configured() && config.database.isEmpty())
        throw Failure{u"没有给出数据库名."_s};
    if (!config.user.isEmpty()) {
        config.password = readSecretLine(u"维护账号 %1 的密码: "_s.arg(config.user), err);
        // Nothing is written that does not work.
        Server check(config);
    }
    QString error;
    if (!db::writeServerConfig(paths, config, &error))
        throw Failure{u"无法写入 main.ini: "_s + error};
    if (!config.configured())
        out << u"已写入 main.ini: 不使用服务器,题库为本机的 data/sys.htm."_s << '\n';
    else if (config.user.isEmpty())
        out << u"已写入 main.ini: 服务器 %1 端口 %2 数据库 %3,学员登录时输入自己的学员名和密码."_s.arg(
                   config.host)
                   .arg(config.port)
                   .arg(config.database)
            << '\n';
    else
        out << u"已写入 main.ini: 服务器 %1 端口 %2 数据库 %3,维护账号 %4 (已连接成功)."_s.arg(config.host)
                   .arg(config.port)
                   .arg(config.database, config.user)
            << '\n';
}

void serverInit(const AppPaths &paths, QTextStream &out)
{
    Server server(maintenanceConfig(paths));
    const Layout before = layout(server);
    db::initServer(server.db());
    const QStringList changes = layoutChanges(before, layout(server));
    for (const QString &line : changes)
        out << line << '\n';
    if (changes.isEmpty())
        out << u"服务器上的结构已是最新,没有改动."_s << '\n';
    out << u"服务器 %1 已就绪: 学员 %2 名."_s.arg(server.where()).arg(db::learners(server.db()).size()) << '\n';
}

void addLearner(const QString &name, const AppPaths &paths, QTextStream &out, QTextStream &err)
{
    const db::ServerConfig config = maintenanceConfig(paths);
    if (const QString problem = db::learnerNameProblem(name); !problem.isEmpty())
        throw Failure{problem};
    const QString password = readSecretLine(u"学员 %1 的密码: "_s.arg(name), err);
    if (password.isEmpty())
        throw Failure{u"学员密码不能为空 (从标准输入读入一行)."_s};
    Server server(config);
    db::requireInitialised(server.db());
    const bool known = db::learners(server.db()).contains(name);
    db::addLearner(server.db(), name, password);
    out << (known ? u"已为学员 %1 设置新密码."_s : u"已添加学员 %1."_s).arg(name) << '\n';
}

void listLearners(const AppPaths &paths, QTextStream &out, QTextStream &err)
{
    Server server(maintenanceConfig(paths));
    db::requireInitialised(server.db());
    const QStringList names = db::learners(server.db());
    for (const QString &name : names)
        out << name << '\n';
    if (names.isEmpty())
        err << u"服务器上还没有学员."_s << '\n';
}

void report(const QString &file, const AppPaths &paths, QTextStream &out)
{
    Server server(maintenanceConfig(paths));
    db::requireInitialised(server.db());
    const QList<QStringList> rows = db::sessionReport(server.db());
    // With its byte-order mark a spreadsheet program reads the file as UTF-8, Chinese included.
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QStringList &row : rows)
        bytes += sheet::csvRecord(row);
    QSaveFile target(file);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit())
        throw Failure{u"无法写入 %1: %2"_s.arg(QDir::toNativeSeparators(file), target.errorString())};
    out << u"已将 %1 名学员的 %2 条学习记录写入 %3"_s.arg(db::learners(server.db()).size())
               .arg(rows.size() - 1)
               .arg(QDir::toNativeSeparators(file))
        << '\n';
}

} // namespace

bool isServerCommand(const QStringList &args)
{
    static const QStringList commands = {kServerConfig, kServerInit, kAddLearner, kListLearners, kReport};
    return commands.contains(args.value(0));
}

QString serverUsage()
{
    return u"       update --server-config HOST PORT DATABASE [USER]   (USER's password on standard input)\n"
           "       update --server-init\n"
           "       update --add-learner NAME   (the password on standard input)\n"
           "       update --list-learners\n"
           "       update --report FILE.csv\n"_s;
}

int runServerCommand(const QStringList &args, const AppPaths &paths, QTextStream &out, QTextStream &err)
{
    const QString command = args.value(0);
    const qsizetype n = args.size();
    const bool fits = (command == kServerConfig && (n == 4 || n == 5)) || (command == kServerInit && n == 1)
                   || (command == kAddLearner && n == 2) || (command == kListLearners && n == 1)
                   || (command == kReport && n == 2);
    if (!fits)
        return -1;
    int code = 0;
    try {
        if (command == kServerConfig)
            serverConfig(args, paths, out, err);
        else if (command == kServerInit)
            serverInit(paths, out);
        else if (command == kAddLearner)
            addLearner(args.at(1), paths, out, err);
        else if (command == kListLearners)
            listLearners(paths, out, err);
        else
            report(QFileInfo(args.at(1)).absoluteFilePath(), paths, out);
    } catch (const Failure &f) {
        err << f.message << '\n';
        code = 1;
    } catch (const db::Error &e) {
        err << e.message() << '\n';
        code = 1;
    }
    out.flush();
    err.flush();
    return code;
}

} // namespace update
