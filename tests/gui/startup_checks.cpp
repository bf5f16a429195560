// What the main window's first show adds after the home panel: the update check when online, the
// login when main.ini asks for it, and the login settings behind "登陆设置".
#include "shell/apppaths.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/httpserver.h"
#include "support/logindriver.h"
#include "support/testbank.h"
#include "text/gbk.h"
#include "update/asyncdownload.h"
#include "update/downloader.h"
#include "update/ui/updatechecker.h"
#include "update/updaterlauncher.h"
#include "windows/ui/infopopup.h"
#include "windows/ui/loginsettingswindow.h"
#include "windows/ui/loginwindow.h"
#include "windows/useraccount.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// A program folder whose main.ini is written by the test, and a main window over it.
struct Folder
{
    Folder()
    {
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
    }
    void writeIni(const QString &config, const QString &ftp = {}, const QString &notice = {})
    {
        QString ini = u"[main]\r\n"_s;
        if (!ftp.isEmpty())
            ini += u"ftp_url="_s + text::hexXorEncode(ftp) + u"\r\n"_s;
        ini += u"[config]\r\n"_s + config;
        if (!notice.isEmpty())
            ini += u"po_url1="_s + text::hexXorEncode(notice) + u"\r\n"_s;
        bank.writeFile(u"main.ini"_s, ini.toUtf8());
    }
    std::unique_ptr<MainWindow> window(bool online)
    {
        AppPaths::setCurrent(bank.dir());
        auto w = std::make_unique<MainWindow>(&display);
        w->setOnlineProbe([online] { return online; });
        w->show();
        return w;
    }

    TestBank bank{u"startup"_s};
    FakeDisplayMode display{QSize(1366, 768)};
    messages::Responder responder;
};

} // namespace

using logindriver::typeLogin;
using logindriver::whenLoginShows;

class StartupChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void onlineStartChecksForAnUpdateAndANotice()
    {
        Folder f;
        HttpServer server;
        server.route("/q/up.txt", 200, "2009-06-01\r\n\r\nsys.htm\r\n");
        server.route("/n/alter.ini", 200, "[main]\r\nalter_con=新版题库已发布\r\nalter_url=http://example.com/\r\n");
        f.writeIni(u"update_before_time=2009-05-01\r\n"_s, server.base() + u"/q/"_s, server.base() + u"/n/"_s);
        QList<QStringList> starts;
        update::ProcessStarterOverride starter([&starts](const QString &program, const QStringList &args) {
            starts << (QStringList{program} + args);
            return true;
        });
        auto w = f.window(true);
        QVERIFY(w->firstShow());
        QCOMPARE(w->statusText(2), u"正在检查更新状态...."_s);
        UpdateChecker *checker = w->updateChecker();
        QTRY_COMPARE(w->statusText(2), u"列表已下载...."_s);
        checker->listTimerTick();
        QCOMPARE(f.responder.lastText(), u"题库有更新，是否现在进行升级?"_s);
        QCOMPARE(w->statusText(2), u"题库更新至 2009-06-01"_s);
        QCOMPARE(starts, (QList<QStringList>{{f.bank.path(u"update"_s), server.base() + u"/q/"_s, u"2009-05-01"_s}}));

        // The notice download shows its progress in the handout panel's strip.
        auto *bar = w->panel(u"Panel11"_s)->findChild<QProgressBar *>(u"ProgressBar1"_s);
        QVERIFY(bar && !bar->isVisible());
        bool barShown = false;
        connect(&checker->noticeDownloader(), &Downloader::progress, bar, [&] { barShown = bar->isVisible(); });
        checker->noticeTimer()->stop();
        for (int tick = 1; tick <= 6; ++tick)
            checker->noticeTimerTick();
        QVERIFY(barShown);
        QVERIFY(!bar->isVisible());
        QVERIFY(checker->popup());
        QCOMPARE(checker->popup()->findChild<QLabel *>(u"Label1"_s)->text(), u"新版题库已发布"_s);

        // The manual update starts the updater whatever the list said.
        w->startUpdater();
        QCOMPARE(starts.size(), 2);
        QCOMPARE(starts.last(), starts.first());
    }

    void offlineStartChecksNothing()
    {
        Folder f;
        HttpServer server;
        server.route("/q/up.txt", 200, "2009-06-01\r\n");
        f.writeIni(u"update_before_time=2009-05-01\r\n"_s, server.base() + u"/q/"_s, server.base() + u"/n/"_s);
        auto w = f.window(false);
        QVERIFY(w->firstShow());
        QVERIFY(!w->updateChecker()->listDownload().isRunning());
        QVERIFY(!w->updateChecker()->noticeTimer()->isActive());
        QVERIFY(!w->updateChecker()->listTimer()->isActive());
        QCOMPARE(w->statusText(2), u"当前未联网,无法检查是否有最新题库...."_s);
        QCOMPARE(server.requests("/q/up.txt"), 0);
    }

    void loginAtStartUp()
    {
        Folder f;
        f.writeIni(u"user_logon=T\r\n"_s);
        account::store(f.bank.db(), {u"张三"_s, u"s3cret"_s});
        auto w = f.window(false);
        QString headline;
        whenLoginShows(w.get(), [&](LoginWindow *login) {
            QVERIFY(login->isModal());
            headline = login->findChild<QLabel *>(u"Label1"_s)->text();
            typeLogin(login, u"张三"_s, u"wrong"_s);
            QVERIFY(login->isVisible());
            typeLogin(login, u"张三"_s, u"s3cret"_s);
        });
        QVERIFY(w->firstShow());
        QCOMPARE(headline, u"Quillmark"_s);
        QCOMPARE(f.responder.shown().size(), 1);
        QVERIFY(f.responder.lastText().startsWith(u"错误用户名或是密码"_s));
        QVERIFY(!w->findChild<LoginWindow *>()); // freed once done
    }

    void leavingAtTheLoginEndsTheProgram()
    {
        Folder f;
        f.writeIni(u"user_logon=T\r\n"_s);
        auto w = f.window(false);
        f.responder.queue(messages::Answer::No);
        f.responder.queue(messages::Answer::Yes);
        whenLoginShows(w.get(), [](LoginWindow *login) {
            login->findChild<QPushButton *>(u"Button2"_s)->click(); // No: stays
            QVERIFY(login->isVisible());
            login->findChild<QPushButton *>(u"Button2"_s)->click(); // Yes: leaves
        });
        QVERIFY(!w->firstShow());
        QCOMPARE(w->exitCode(), 0);
        QCOMPARE(f.responder.shown().size(), 2);
        QCOMPARE(f.responder.lastText(), u"确定退出程序吗..."_s);
    }

    void noLoginUnlessExactlyT_data()
    {
        QTest::addColumn<QString>("config");
        QTest::newRow("F") << u"user_logon=F\r\n"_s;
        QTest::newRow("t") << u"user_logon=t\r\n"_s;
        QTest::newRow("missing") << QString();
    }
    void noLoginUnlessExactlyT()
    {
        QFETCH(QString, config);
        Folder f;
        f.writeIni(config);
        auto w = f.window(false);
        bool shown = false;
        // Should one appear, it is recorded and sent away so that the test goes on.
        whenLoginShows(w.get(), [&](LoginWindow *login) {
            shown = true;
            login->done(QDialog::Accepted);
        });
        QVERIFY(w->firstShow());
        QVERIFY(!shown);
    }

    void loginSettingsButtonReplacesTheWindow()
    {
        Folder f;
        f.writeIni(u"user_logon=T\r\n"_s);
        account::store(f.bank.db(), {u"张三"_s, u"s3cret"_s});
        auto w = f.window(false);
        whenLoginShows(w.get(), [](LoginWindow *login) { typeLogin(login, u"张三"_s, u"s3cret"_s); });
        QVERIFY(w->firstShow());
        auto *button = w->findChild<QToolButton *>(u"SpeedButton1"_s);
        button->click();
        QPointer<LoginSettingsWindow> first = w->loginSettings();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->parentWidget(), w.get());
        QCOMPARE(first->findChild<QLineEdit *>(u"Edit1"_s)->text(), u"张三"_s);

        // Switched off and applied: main.ini says F, yet a new window starts from the start-up value.
        first->findChild<QCheckBox *>(u"CheckBox1"_s)->click();
        first->findChild<QPushButton *>(u"Button2"_s)->click();
        button->click();
        QTRY_VERIFY(first.isNull());
        QVERIFY(w->loginSettings() && w->loginSettings()->isVisible());
        QVERIFY(w->loginSettings()->findChild<QCheckBox *>(u"CheckBox1"_s)->isChecked());
    }
};

QTEST_MAIN(StartupChecks)
#include "startup_checks.moc"
