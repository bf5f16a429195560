// The start-up login on a learner's computer of a training centre: main.ini names the server (no
// account of its own), the learner's name and password are checked by the server and the bank is
// opened as him. The bank is a database on the test process's PostgreSQL cluster.
#include "db/connection.h"
#include "db/server.h"
#include "db/sql.h"
#include "shell/apppaths.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/logindriver.h"
#include "support/testbank.h"
#include "windows/ui/loginwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// A learner's computer: the server's address in main.ini, no maintenance account.
struct Computer
{
    explicit Computer(const QByteArray &config = {})
    {
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.insert(u"soft_text"_s, {u"欢迎来到培训中心"_s, 40, 60});
        db::ServerConfig server = db::readServerConfig(AppPaths(bank.dir()));
        server.user.clear();
        server.password.clear();
        bank.writeFile(u"main.ini"_s, "[main]\r\n[config]\r\n" + config);
        QString error;
        if (!db::writeServerConfig(AppPaths(bank.dir()), server, &error))
            qFatal("cannot write main.ini: %s", qPrintable(error));
    }
    ~Computer() { db::closeBank(QString::fromLatin1(db::kMainConnection)); }
    std::unique_ptr<MainWindow> window()
    {
        AppPaths::setCurrent(bank.dir());
        auto w = std::make_unique<MainWindow>(&display);
        w->setOnlineProbe([] { return false; });
        w->show();
        return w;
    }

    TestBank bank{u"server-login"_s};
    FakeDisplayMode display{QSize(1366, 768)};
    messages::Responder responder;
};

} // namespace

using logindriver::typeLogin;
using logindriver::whenLoginShows;

class ServerLogin : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qputenv("QM_TEST_ENGINE", "postgres"); }

    // Refused logins keep the window with the reason as a warning; the right password opens the
    // bank as that learner, and only then are the home texts read from it.
    void serverChecksTheLearner()
    {
        // The user_logon switch has no say on a server: the learner always logs in, once.
        Computer c("user_logon=T\r\n");
        auto w = c.window();
        int logins = 0;
        QStringList reasons;
        bool keptOpen = true;
        QString serverLine;
        whenLoginShows(w.get(), [&](LoginWindow *login) {
            ++logins;
            serverLine = login->findChild<QLabel *>(u"Label4"_s)->toolTip();
            const QList<std::pair<QString, QString>> refused = {{TestBank::learner(), u"wrong"_s},
                                                                {TestBank::learner(), QString()},
                                                                {u"nobody"_s, TestBank::learnerPassword()},
                                                                {QString(), u"x"_s}};
            for (const auto &[name, password] : refused) {
                typeLogin(login, name, password);
                keptOpen = keptOpen && login->isVisible() && !db::bank().isOpen();
                reasons << c.responder.lastText();
                QCOMPARE(c.responder.shown().last().caption, u"警告信息"_s);
                QCOMPARE(login->focusWidget(), login->findChild<QLineEdit *>(u"Edit1"_s));
            }
            typeLogin(login, TestBank::learner(), TestBank::learnerPassword());
        });
        QVERIFY(w->firstShow());
        QCOMPARE(logins, 1);
        QVERIFY(keptOpen);
        QVERIFY(serverLine.contains(c.bank.database()));
        QCOMPARE(reasons.size(), 4);
        QVERIFY2(reasons.at(0).startsWith(u"服务器拒绝登录: 用户名或密码错误"_s), qPrintable(reasons.at(0)));
        QCOMPARE(reasons.at(1), u"请输入密码."_s);
        QVERIFY2(reasons.at(2).startsWith(u"服务器拒绝登录: 用户名或密码错误"_s), qPrintable(reasons.at(2)));
        QCOMPARE(reasons.at(3), u"学员名不能为空."_s);

        QCOMPARE(db::scalar(db::bank(), u"select current_user"_s).toString(), TestBank::learner());
        db::run(db::bank(), u"insert into page_total (page_id,p_type) values ('20261211100000','练习')"_s);
        QCOMPARE(c.bank.count(u"page_total"_s), 1); // his own records, the ones TestBank's learner sees
        auto *home = w->panel(u"Panel2"_s)->findChild<QLabel *>(u"sla0"_s);
        QVERIFY(home);
        QCOMPARE(home->text(), u"欢迎来到培训中心"_s);

        // "登陆设置" has nothing to set: the password is the centre's.
        c.responder.clear();
        w->findChild<QToolButton *>(u"SpeedButton1"_s)->click();
        QVERIFY(!w->loginSettings());
        QCOMPARE(c.responder.shown().size(), 1);
        QVERIFY(c.responder.lastText().startsWith(u"本机使用培训中心的服务器"_s));
    }

    void cancelAsksAndLeaves()
    {
        Computer c;
        auto w = c.window();
        c.responder.queue(messages::Answer::No);
        c.responder.queue(messages::Answer::Yes);
        whenLoginShows(w.get(), [](LoginWindow *login) {
            login->findChild<QPushButton *>(u"Button2"_s)->click();
            QVERIFY(login->isVisible());
            login->findChild<QPushButton *>(u"Button2"_s)->click();
        });
        QVERIFY(!w->firstShow());
        QCOMPARE(w->exitCode(), 0);
        QCOMPARE(c.responder.lastText(), u"确定退出程序吗..."_s);
        QVERIFY(!db::bank().isOpen());
    }

    // A [server] that cannot be read must not quietly send the learner to the file on this computer.
    void malformedServerStops()
    {
        Computer c;
        c.bank.writeFile(u"main.ini"_s, "[server]\r\nhost=/tmp\r\nport=abc\r\n");
        auto w = c.window();
        bool shown = false;
        whenLoginShows(w.get(), [&](LoginWindow *login) {
            shown = true;
            login->done(QDialog::Accepted);
        });
        QVERIFY(!w->firstShow());
        QVERIFY(!shown);
        QCOMPARE(w->exitCode(), 1);
        QCOMPARE(c.responder.shown().first().text, u"main.ini 的 [server] 中 port = \"abc\" 不是有效的值."_s);
        QVERIFY(!db::bank().isOpen());
    }
};

QTEST_MAIN(ServerLogin)
#include "server_login.moc"
