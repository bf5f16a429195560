// The real update program maintaining a training centre's server: main.ini's [server], the layout,
// learners and the teacher's report, on a throw-away PostgreSQL cluster whose maintenance account is
// an ordinary role (CREATEROLE, owner of the database) as a centre would set it up. The grants are
// then tried from the learners' own connections.
#include "db/connection.h"
#include "db/server.h"
#include "db/sql.h"
#include "sheet/csvfile.h"
#include "support/pgcluster.h"
#include "support/testbank.h"
#include "support/updaterun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCentre = u"centre"_s;
const QString kCentrePassword = u"c'entre \\pw"_s;
const QString kLearnerA = u"学员甲"_s;
const QString kLearnerB = u"li_si"_s;
const QString kNoServer = u"main.ini 中没有设置培训中心的服务器"_s;
const QString kNotInitialised = u"服务器尚未初始化,请先运行 update --server-init.\n"_s;

using updaterun::installUpdate;
using updaterun::Run;
using updaterun::runUpdate;

// The cluster's superuser, for what a centre's database administrator does once.
void asAdministrator(const QStringList &statements)
{
    const QString name = u"server-tool-admin"_s;
    {
        PgCluster &cluster = PgCluster::instance();
        QSqlDatabase admin = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        admin.setHostName(cluster.socketDir());
        admin.setPort(cluster.port());
        admin.setDatabaseName(u"postgres"_s);
        admin.setUserName(PgCluster::admin());
        if (!admin.open())
            qFatal("cannot reach the test cluster: %s", qPrintable(admin.lastError().text()));
        for (const QString &sql : statements)
            db::run(admin, sql);
        admin.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// A learner's own connection, as exambank opens it.
class LearnerConnection final
{
public:
    LearnerConnection(const db::ServerConfig &server, const QString &name, const QString &password)
        : m_name(u"learner-"_s + name)
    {
        m_ok = db::openServer(server, name, password, db::ServerRole::Learner, m_name, &m_error);
    }
    ~LearnerConnection() { db::closeBank(m_name); }
    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    QSqlDatabase db() const { return db::bank(m_name); }
    // The server's reason for refusing sql, empty when it ran.
    QString refusal(const QString &sql) const
    {
        try {
            db::run(db(), sql);
        } catch (const db::Error &e) {
            return e.message();
        }
        return {};
    }

private:
    QString m_name;
    QString m_error;
    bool m_ok = false;
};

} // namespace

class ServerTool : public QObject
{
    Q_OBJECT
    QString m_database;

    db::ServerConfig centreServer() const
    {
        db::ServerConfig c = PgCluster::instance().config(m_database);
        c.user = kCentre;
        c.password = kCentrePassword;
        return c;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_database = PgCluster::instance().createDatabase();
        asAdministrator({u"CREATE ROLE centre LOGIN CREATEROLE PASSWORD 'c''entre \\pw'"_s,
                         u"ALTER DATABASE %1 OWNER TO centre"_s.arg(m_database)});
    }

    // main.ini's [server] written by the tool: the maintenance password is read from standard input,
    // tried on the server before anything is written, and stored encoded; a learner's computer gets
    // the server without any account.
    void serverConfigWritesMainIni()
    {
        TestBank bank;
        installUpdate(bank);
        const db::ServerConfig server = centreServer();
        const QStringList args = {u"--server-config"_s, server.host, QString::number(server.port), server.database};

        Run wrong = runUpdate(bank, args + QStringList{kCentre}, u"not it\n"_s);
        QCOMPARE(wrong.code, 1);
        QCOMPARE(wrong.err, u"服务器拒绝登录: 用户名或密码错误 (password authentication failed for user \"centre\")\n"_s);
        QVERIFY(!db::readServerConfig(AppPaths(bank.dir())).configured());

        Run badPort = runUpdate(bank, {u"--server-config"_s, server.host, u"54x"_s, server.database});
        QCOMPARE(badPort.code, 1);
        QCOMPARE(badPort.err, u"端口 54x 无效 (1 到 65535).\n"_s);

        Run good = runUpdate(bank, args + QStringList{kCentre}, kCentrePassword + u"\r\n"_s);
        QVERIFY2(good.code == 0, qPrintable(good.err));
        QVERIFY(good.out.contains(u"(已连接成功)"_s));
        db::ServerConfig written = db::readServerConfig(AppPaths(bank.dir()));
        QCOMPARE(written.host, server.host);
        QCOMPARE(written.database, server.database);
        QCOMPARE(written.user, kCentre);
        QCOMPARE(written.password, kCentrePassword);
        QFile ini(bank.path(u"main.ini"_s));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(!ini.readAll().contains("entre \\pw"));

        Run learnerComputer = runUpdate(bank, args);
        QVERIFY2(learnerComputer.code == 0, qPrintable(learnerComputer.err));
        written = db::readServerConfig(AppPaths(bank.dir()));
        QVERIFY(written.configured());
        QVERIFY(written.user.isEmpty());
        QVERIFY(written.password.isEmpty());
        // Such a computer cannot maintain the server.
        Run init = runUpdate(bank, {u"--server-init"_s});
        QCOMPARE(init.code, 1);
        QCOMPARE(init.err, u"main.ini 的 [server] 中没有维护账号 (user),这台电脑不能维护服务器.\n"_s);
    }

    // Without a usable server every command fails with its reason and exit code 1.
    void commandsNeedAServer_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("init") << QStringList{u"--server-init"_s};
        QTest::newRow("add") << QStringList{u"--add-learner"_s, u"张三"_s};
        QTest::newRow("list") << QStringList{u"--list-learners"_s};
        QTest::newRow("report") << QStringList{u"--report"_s, u"r.csv"_s};
    }
    void commandsNeedAServer()
    {
        QFETCH(QStringList, args);
        TestBank bank;
        installUpdate(bank);
        Run none = runUpdate(bank, args, u"pw\n"_s);
        QCOMPARE(none.code, 1);
        QVERIFY2(none.err.startsWith(kNoServer), qPrintable(none.err));

        bank.writeFile(u"main.ini"_s, "[server]\r\nhost=db.example\r\nport=54x\r\n");
        Run malformed = runUpdate(bank, args, u"pw\n"_s);
        QCOMPARE(malformed.code, 1);
        QCOMPARE(malformed.err, u"main.ini 的 [server] 中 port = \"54x\" 不是有效的值.\n"_s);

        db::ServerConfig unreachable = centreServer();
        unreachable.host = bank.path(u"no-socket-here"_s);
        QString error;
        QVERIFY(db::writeServerConfig(AppPaths(bank.dir()), unreachable, &error));
        Run down = runUpdate(bank, args, u"pw\n"_s);
        QCOMPARE(down.code, 1);
        QVERIFY2(down.err.startsWith(u"无法连接服务器 "_s), qPrintable(down.err));
        QVERIFY(!QFile::exists(bank.path(u"r.csv"_s)));

        Run usage = runUpdate(bank, args + QStringList{u"extra"_s});
        QCOMPARE(usage.code, 2);
        QVERIFY(usage.err.startsWith(u"usage: "_s));
    }

    // The whole life of a centre's server, in order: layout, learners, the report, the grants.
    void centreServerLifecycle()
    {
        TestBank bank;
        installUpdate(bank);
        const db::ServerConfig server = centreServer();
        QString error;
        QVERIFY(db::writeServerConfig(AppPaths(bank.dir()), server, &error));

        Run early = runUpdate(bank, {u"--list-learners"_s});
        QCOMPARE(early.code, 1);
        QCOMPARE(early.err, kNotInitialised);

        Run first = runUpdate(bank, {u"--server-init"_s});
        QVERIFY2(first.code == 0, qPrintable(first.err));
        QVERIFY2(first.out.startsWith(u"已创建学员组角色 qm_learner\n题库内容 (qm_content): 新建 "_s), qPrintable(first.out));
        QVERIFY(first.out.contains(u"ex_page_id"_s));
        QVERIFY(first.out.endsWith(u"已就绪: 学员 0 名.\n"_s));
        const QString unchanged =
            u"服务器上的结构已是最新,没有改动.\n服务器 %1:%2/%3 已就绪: 学员 %4 名.\n"_s.arg(server.host)
                .arg(server.port)
                .arg(server.database);
        Run second = runUpdate(bank, {u"--server-init"_s});
        QVERIFY2(second.code == 0, qPrintable(second.err));
        QCOMPARE(second.out, unchanged.arg(0));

        Run none = runUpdate(bank, {u"--list-learners"_s});
        QCOMPARE(none.code, 0);
        QCOMPARE(none.out, QString());
        QCOMPARE(none.err, u"服务器上还没有学员.\n"_s);

        for (const auto &[name, password] : {std::pair{kLearnerA, u"甲的密码"_s}, std::pair{kLearnerB, u"b pw"_s}}) {
            Run add = runUpdate(bank, {u"--add-learner"_s, name}, password + u"\n"_s);
            QVERIFY2(add.code == 0, qPrintable(add.err));
            QCOMPARE(add.out, u"已添加学员 %1.\n"_s.arg(name));
        }
        // The learners' schemas exist now; a third run still finds nothing to do.
        QCOMPARE(runUpdate(bank, {u"--server-init"_s}).out, unchanged.arg(2));

        // Names the server would misread or that belong to someone else, and a missing password.
        const QList<std::tuple<QString, QString, QString>> refused = {
            {u"qm_teacher"_s, u"pw"_s, u"学员名 qm_teacher 为系统保留.\n"_s},
            {u"a.b"_s, u"pw"_s, u"学员名不能含有控制字符、引号或句点.\n"_s},
            {u" 张三"_s, u"pw"_s, u"学员名的前后不能有空格.\n"_s},
            {kCentre, u"pw"_s, u"服务器上已有名为 centre 的其他账号,请换一个学员名.\n"_s},
            {u"王五"_s, QString(), u"学员密码不能为空 (从标准输入读入一行).\n"_s},
        };
        for (const auto &[name, password, message] : refused) {
            Run add = runUpdate(bank, {u"--add-learner"_s, name}, password + u"\n"_s);
            QCOMPARE(add.code, 1);
            QCOMPARE(add.err, message);
        }
        Run list = runUpdate(bank, {u"--list-learners"_s});
        QCOMPARE(list.code, 0);
        QCOMPARE(list.out, kLearnerB + u'\n' + kLearnerA + u'\n');
        // The refused attempt on its name left the maintenance account's password as it was.
        QVERIFY(runUpdate(bank, {u"--server-init"_s}).code == 0);

        // A learner with his password: his own records and the questions are his to use.
        {
            LearnerConnection a(server, kLearnerA, u"甲的密码"_s);
            QVERIFY2(a.ok(), qPrintable(a.error()));
            db::run(a.db(), u"insert into page_total values ('20261211093005','8','2','0','0','3分10秒','练习',80)"_s);
            db::run(a.db(), u"insert into test_page (page_id,p_id,p_score,p_type) values ('20261211093005','P1',1,1)"_s);
            QCOMPARE(db::scalar(a.db(), u"select count(*) from test_page"_s).toInt(), 1);
            QVERIFY(a.refusal(u"select count(*) from ex_page_id"_s).isEmpty());

            // Everything else the server refuses him.
            const QString other = db::quoteIdentifier(kLearnerB);
            const QStringList forbidden = {
                u"select * from %1.test_page"_s.arg(other),
                u"insert into %1.test_page (page_id,p_id) values ('1','P1')"_s.arg(other),
                u"update %1.page_total set p_score=100"_s.arg(other),
                u"delete from %1.tmp_id"_s.arg(other),
                u"insert into ex_page_id (c_id,p_id) values ('C1','P9')"_s,
                u"update ex_page_id set p_score=0"_s,
                u"delete from ma_id"_s,
                u"select * from user_logon"_s,
            };
            for (const QString &sql : forbidden) {
                const QString refusal = a.refusal(sql);
                QVERIFY2(refusal.contains(u"permission denied"_s), qPrintable(sql + u": "_s + refusal));
            }
        }
        {
            LearnerConnection b(server, kLearnerB, u"b pw"_s);
            QVERIFY2(b.ok(), qPrintable(b.error()));
            QCOMPARE(db::scalar(b.db(), u"select count(*) from page_total"_s).toInt(), 0);
            const QString refusal = b.refusal(u"select * from %1.page_total"_s.arg(db::quoteIdentifier(kLearnerA)));
            QVERIFY2(refusal.contains(u"permission denied"_s), qPrintable(refusal));
        }
        const QList<std::pair<QString, QString>> badLogins = {
            {kLearnerA, u"b pw"_s}, {kLearnerA, u"甲的密码 "_s}, {u"nobody"_s, u"x"_s}};
        for (const auto &[name, password] : badLogins) {
            LearnerConnection refused(server, name, password);
            QVERIFY(!refused.ok());
            QVERIFY2(refused.error().startsWith(u"服务器拒绝登录: 用户名或密码错误"_s), qPrintable(refused.error()));
        }

        // A new password replaces the old one.
        Run again = runUpdate(bank, {u"--add-learner"_s, kLearnerB}, u"new pw\n"_s);
        QVERIFY2(again.code == 0, qPrintable(again.err));
        QCOMPARE(again.out, u"已为学员 li_si 设置新密码.\n"_s);
        QVERIFY(!LearnerConnection(server, kLearnerB, u"b pw"_s).ok());
        QVERIFY(LearnerConnection(server, kLearnerB, u"new pw"_s).ok());

        // The teacher's report: every learner's sessions, UTF-8 with its byte-order mark.
        Run report = runUpdate(bank, {u"--report"_s, u"报表.csv"_s});
        QVERIFY2(report.code == 0, qPrintable(report.err));
        QCOMPARE(report.out, u"已将 2 名学员的 1 条学习记录写入 %1\n"_s.arg(bank.path(u"报表.csv"_s)));
        QFile csv(bank.path(u"报表.csv"_s));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray bytes = csv.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        sheet::CsvTable table;
        QVERIFY2(sheet::parseCsv(bytes, &table, &error), qPrintable(error));
        QCOMPARE(table.records, (QList<QStringList>{{u"学员"_s, u"日期"_s, u"类型"_s, u"正确"_s, u"错误"_s, u"得分"_s},
                                                     {kLearnerA, u"2026-12-11 09:30"_s, u"练习"_s, u"8"_s, u"2"_s,
                                                      u"80"_s}}));

        Run unwritable = runUpdate(bank, {u"--report"_s, bank.path(u"no/such/folder/r.csv"_s)});
        QCOMPARE(unwritable.code, 1);
        QVERIFY2(unwritable.err.startsWith(u"无法写入 "_s), qPrintable(unwritable.err));
    }
};

QTEST_GUILESS_MAIN(ServerTool)
#include "server_tool.moc"
