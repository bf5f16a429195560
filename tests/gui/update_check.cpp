// exambank's update check against a local server: the list in the background, the list timer's
// verdict, the question and the start of the updater, and the notice in the popup.
#include "shell/apppaths.h"
#include "shell/ui/messages.h"
#include "support/httpserver.h"
#include "support/testbank.h"
#include "text/gbk.h"
#include "update/asyncdownload.h"
#include "update/ui/updatechecker.h"
#include "update/updaterlauncher.h"
#include "windows/ui/infopopup.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString kQuestion = u"题库有更新，是否现在进行升级?"_s;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A checker over a throw-away program folder, with its status texts and updater starts recorded.
struct Setup
{
    Setup()
    {
        config.ftpUrl = server.base() + u"/q/"_s;
        config.updateBeforeTime = u"2009-05-01"_s;
    }
    void make()
    {
        AppPaths::setCurrent(bank.dir());
        checker = std::make_unique<UpdateChecker>(config, &window);
        QObject::connect(checker.get(), &UpdateChecker::statusChanged, &window,
                         [this](const QString &text) { statuses << text; });
    }

    TestBank bank{u"upchk"_s};
    HttpServer server;
    AppConfig config;
    QWidget window;
    messages::Responder responder;
    QStringList statuses;
    QList<QStringList> starts; // program, then its arguments
    bool startWorks = true;
    update::ProcessStarterOverride starter{[this](const QString &program, const QStringList &args) {
        starts << (QStringList{program} + args);
        return startWorks;
    }};
    std::unique_ptr<UpdateChecker> checker;
};

} // namespace

class UpdateCheckTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listTimer_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("started");
        const auto answer = int(HttpServer::Mode::Answer);
        const QByteArray june = "2009-06-01\r\n\r\nsys.htm\r\n";
        const QStringList read{u"列表已下载...."_s, u"正在分析更新列表...."_s};
        const QString timedOut = u"虽已联网,但联接超时,暂被取消升级."_s;
        QTest::newRow("newer, OK") << 200 << answer << june << true
                                   << read + QStringList{u"有最新更新...."_s, u"题库更新至 2009-06-01"_s} << true
                                   << true;
        QTest::newRow("newer, Cancel") << 200 << answer << june << false
                                       << read + QStringList{u"有最新更新...."_s, u"有最新题库,用户取消升级."_s} << true
                                       << false;
        QTest::newRow("same day") << 200 << answer << QByteArray("2009-05-01\r\n\r\nsys.htm\r\n") << true
                                  << read + QStringList{u"当前没有最新,最后一次更新时间:2009-05-01"_s} << false
                                  << false;
        QTest::newRow("garbage date") << 200 << answer << QByteArray("2009-99-99\r\n\r\nsys.htm\r\n") << true
                                      << read + QStringList{u"下载列表有问题,升级取消,末次更新时间:2009-05-01"_s}
                                      << false << false;
        QTest::newRow("list of blanks") << 200 << answer << QByteArray("  \r\n  \r\n") << true
                                        << read + QStringList{u"下载列表有问题,升级取消,末次更新时间:2009-05-01"_s}
                                        << false << false;
        QTest::newRow("list missing") << 404 << answer << june << true << QStringList{timedOut} << false << false;
        QTest::newRow("list broken off") << 200 << int(HttpServer::Mode::BreakOff) << june << true
                                         << QStringList{timedOut} << false << false;
    }
    void listTimer()
    {
        QFETCH(int, status);
        QFETCH(int, mode);
        QFETCH(QByteArray, list);
        QFETCH(bool, ok);
        QFETCH(QStringList, statuses);
        QFETCH(bool, asked);
        QFETCH(bool, started);
        Setup s;
        s.server.route("/q/up.txt", HttpServer::Route{status, list, HttpServer::Mode(mode), {}});
        s.bank.writeFile(u"updates/up.txt"_s, "old list");
        s.make();
        s.responder.queue(ok ? messages::Answer::Ok : messages::Answer::Cancel);

        s.checker->start();
        QVERIFY(!s.checker->listReady());
        QVERIFY(!s.checker->listTimer()->isActive());
        QVERIFY(s.checker->noticeTimer()->isActive());
        QTRY_VERIFY(s.checker->listTimer()->isActive()); // the list has arrived or failed
        const bool fetched = status == 200 && mode == int(HttpServer::Mode::Answer);
        QCOMPARE(s.checker->listReady(), fetched);
        QCOMPARE(readAll(s.bank.path(u"updates/up.txt"_s)), fetched ? list : QByteArray("old list"));
        QCOMPARE(s.checker->listTimer()->interval(), 1000);

        s.checker->listTimerTick();
        QVERIFY(!s.checker->listTimer()->isActive());
        QCOMPARE(s.statuses, statuses);
        QCOMPARE(s.responder.shown().size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(s.responder.lastText(), kQuestion);
            QCOMPARE(s.responder.shown().last().caption, u"题库升级"_s);
        }
        const QList<QStringList> starts{{s.bank.path(u"update"_s), s.server.base() + u"/q/"_s, u"2009-05-01"_s}};
        QCOMPARE(s.starts, started ? starts : QList<QStringList>());

        // The list is analysed once per run.
        s.checker->listTimerTick();
        QCOMPARE(s.statuses, statuses);
        QCOMPARE(s.responder.shown().size(), asked ? 1 : 0);
        QCOMPARE(s.starts.size(), started ? 1 : 0);
        // The dates in main.ini are the updater's to write, after a successful update.
        QCOMPARE(readAll(s.bank.path(u"main.ini"_s)), QByteArray("[main]\r\n[config]\r\n"));
    }

    void silentServerEndsAsTimedOut()
    {
        Setup s;
        s.server.route("/q/up.txt", HttpServer::Route{200, "2009-06-01\r\n", HttpServer::Mode::Silent, {}});
        s.make();
        s.checker->listDownload().setTimeoutMs(300);
        s.checker->start();
        QTRY_VERIFY(s.checker->listTimer()->isActive());
        s.checker->listTimerTick();
        QCOMPARE(s.statuses, QStringList{u"虽已联网,但联接超时,暂被取消升级."_s});
        QVERIFY(s.responder.shown().isEmpty());
    }

    void noUpdateAddressFetchesNothing()
    {
        Setup s;
        s.config.ftpUrl = u"no"_s;
        s.make();
        s.checker->start();
        QVERIFY(!s.checker->listDownload().isRunning());
        QTRY_VERIFY(s.checker->listTimer()->isActive());
        s.checker->listTimerTick();
        QCOMPARE(s.statuses, QStringList{u"虽已联网,但联接超时,暂被取消升级."_s});
    }

    void updaterThatCannotStartIsReported()
    {
        Setup s;
        s.server.route("/q/up.txt", 200, "2009-06-01\r\n");
        s.startWorks = false;
        s.make();
        s.checker->start();
        QTRY_VERIFY(s.checker->listTimer()->isActive());
        s.checker->listTimerTick();
        QCOMPARE(s.responder.shown().size(), 2);
        QCOMPARE(s.responder.shown().first().text, kQuestion);
        QCOMPARE(s.responder.lastText(), u"升级程序 %1 无法启动."_s.arg(s.bank.path(u"update"_s)));
        QCOMPARE(s.responder.shown().last().caption, u"错误信息"_s);
        QCOMPARE(s.statuses.last(), u"有最新更新...."_s); // not claimed as updated
    }

    void manualUpdate()
    {
        Setup s;
        s.config.ftpUrl = u"http://example.com/q/"_s;
        s.config.updateBeforeTime = u"2010-02-03"_s;
        s.make();
        QVERIFY(s.checker->startUpdater());
        QCOMPARE(s.starts,
                 (QList<QStringList>{{s.bank.path(u"update"_s), u"http://example.com/q/"_s, u"2010-02-03"_s}}));
        QVERIFY(s.statuses.isEmpty());
    }

    void notice_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text"); // empty: no popup
        QTest::addColumn<QString>("address");
        const auto answer = int(HttpServer::Mode::Answer);
        QTest::newRow("UTF-8 with address")
            << 200 << answer << "[main]\r\nalter_con=新版题库已发布\r\nalter_url=http://example.com/n.htm\r\n"_ba
            << u"新版题库已发布"_s << u"http://example.com/n.htm"_s;
        QTest::newRow("GBK, broken line, no address")
            << 200 << answer << text::toGbk(u"[main]\r\nalter_con=考试报名今日开始\r\n"_s) + "\xB0\r\nalter_url=\r\n"
            << u"考试报名今日开始"_s << QString();
        QTest::newRow("empty notice") << 200 << answer << "[main]\r\nalter_con=\r\nalter_url=http://x/\r\n"_ba
                                      << QString() << QString();
        QTest::newRow("not there") << 404 << answer << QByteArray("gone") << QString() << QString();
        QTest::newRow("broken off") << 200 << int(HttpServer::Mode::BreakOff)
                                    << "[main]\r\nalter_con=半截通知\r\n"_ba + QByteArray(2000, ';') << QString()
                                    << QString();
    }
    void notice()
    {
        QFETCH(int, status);
        QFETCH(int, mode);
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        QFETCH(QString, address);
        Setup s;
        s.config.poUrl1 = s.server.base() + u"/n/"_s;
        s.server.route("/n/alter.ini", HttpServer::Route{status, file, HttpServer::Mode(mode), {}});
        // A notice of an earlier run must not come back when this one fails.
        s.bank.writeFile(u"updates/alter.ini"_s, "[main]\r\nalter_con=旧通知\r\n");
        s.make();
        s.checker->noticeTimer()->start();
        for (int tick = 1; tick <= 5; ++tick)
            s.checker->noticeTimerTick();
        QCOMPARE(s.server.requests("/n/alter.ini"), 0);
        QVERIFY(s.checker->noticeTimer()->isActive());
        s.checker->noticeTimerTick(); // the sixth
        QVERIFY(!s.checker->noticeTimer()->isActive());
        QVERIFY(s.server.requests("/n/alter.ini") > 0);
        QCOMPARE(readAll(s.bank.path(u"main.ini"_s)), QByteArray("[main]\r\n[config]\r\n"));
        InfoPopup *popup = s.checker->popup();
        QCOMPARE(popup != nullptr, !text.isEmpty());
        QVERIFY(s.responder.shown().isEmpty());
        if (!popup)
            return;
        QVERIFY(popup->isVisible());
        QVERIFY(!popup->parentWidget());
        QCOMPARE(popup->findChild<QLabel *>(u"Label1"_s)->text(), text);
        QCOMPARE(popup->address(), address);
        QCOMPARE(popup->findChild<QToolButton *>(u"SpeedButton1"_s)->isEnabled(), !address.isEmpty());
    }

    void noNoticeAddressMakesNoRequest()
    {
        Setup s;
        s.server.route("/alter.ini", 200, "[main]\r\nalter_con=x\r\n");
        s.make();
        s.checker->noticeTimer()->start();
        for (int tick = 1; tick <= 6; ++tick)
            s.checker->noticeTimerTick();
        QVERIFY(!s.checker->noticeTimer()->isActive());
        QCOMPARE(s.server.requests("/alter.ini"), 0);
        QVERIFY(!s.checker->popup());
    }
};

QTEST_MAIN(UpdateCheckTest)
#include "update_check.moc"
