#include "db/sql.h"
#include "shell/appconfig.h"
#include "shell/clock.h"
#include "shell/inifile.h"
#include "support/httpserver.h"
#include "support/testbank.h"
#include "unit/update_files.h"
#include "update/commandline.h"
#include "update/downloadfolder.h"
#include "update/updatejob.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

using updatetest::bankBytes;
using updatetest::fileBytes;

const QString kMainIni = u"[main]\r\n; kept as it is\r\n[config]\r\nupdate_before_time=2009-05-01\r\n"_s;

// A new bank with one course, one chapter and two questions, served as sys.htm.
struct Publisher
{
    HttpServer server;
    TestBank incoming{u"incoming"_s};
    Publisher()
    {
        incoming.addCourse(u"M1"_s, u"会计基础"_s);
        incoming.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        incoming.addQuestion(u"C1"_s, u"P1"_s, 1, u"A"_s);
        incoming.addQuestion(u"C1"_s, u"P2"_s, 3, u"B"_s);
        server.route("/upd/sys.htm", 200, bankBytes(incoming));
    }
    QString address() const { return server.base() + u"/upd/"_s; }
    void list(const QByteArray &text) { server.route("/upd/up.txt", 200, text); }
    // The online update from here into a program folder whose main.ini is kMainIni.
    UpdateJob::Outcome updateInto(const TestBank &local, QString lastDate = u"2009-05-01"_s)
    {
        local.writeFile(u"main.ini"_s, kMainIni.toUtf8());
        UpdateJob job(local.dir());
        return job.runOnline(address(), lastDate);
    }
};

} // namespace

class UpdateOnline : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_clock = std::make_unique<FakeClock>(QDateTime(QDate(2026, 3, 5), QTime(10, 0)));
        Clock::install(m_clock.get());
    }
    void cleanup() { Clock::install(nullptr); }

    void bankAndFileDownloadedAndMerged()
    {
        Publisher p;
        p.list("2009-06-01\r\n说明\r\nsys.htm\r\nmpg/demo.wmv\r\n\r\n");
        p.server.route("/upd/mpg/demo.wmv", 200, "video");
        TestBank local;
        local.writeFile(u"main.ini"_s, kMainIni.toUtf8() + "update_days=10\r\n");
        local.addCourse(u"M1"_s, u"旧名"_s);
        UpdateJob job(local.dir());
        job.setOnlineCheck([] { return false; }); // a server on this machine needs no internet
        QSignalSpy steps(&job, &UpdateJob::step);
        QSignalSpy merging(&job, &UpdateJob::mergeStarted);
        QString lastDate = u"2009-05-01"_s;

        const UpdateJob::Outcome outcome = job.runOnline(p.address(), lastDate);
        QCOMPARE(outcome.result, UpdateJob::Result::Merged);
        QCOMPARE(outcome.caption, u"记录变动提示"_s);
        QCOMPARE(outcome.report.mid(0, 6),
                 (QStringList{u"课程内容增加:0  条"_s, outcome.report.at(1), u"章节记录增加:1  条"_s,
                              outcome.report.at(1), u"题目增加:2  条"_s, outcome.report.at(1)}));
        QCOMPARE(outcome.message, outcome.report.join(u'\n'));
        QCOMPARE(outcome.fileCount, 1);
        QCOMPARE(UpdateJob::resultText(outcome, false), u"本次更新完成...."_s);
        QCOMPARE(lastDate, u"2009-06-01"_s);
        QStringList stepTexts;
        for (const auto &s : steps)
            stepTexts << s.at(0).toString();
        QCOMPARE(stepTexts,
                 (QStringList{u"请稍等,正在检查更新信息..."_s, u"请稍等,准备下载更新信息..."_s,
                              u"请稍等,正在分析更新信息..."_s, u"请稍等,正在下载最新题库..."_s,
                              u"请稍等,正在下载最新相关链接文件..."_s, u"请稍等,正在分析题库升级信息..."_s}));
        QCOMPARE(merging.size(), 1);
        QCOMPARE(fileBytes(local.path(u"data/mpg/demo.wmv"_s)), QByteArray("video"));
        QCOMPARE(fileBytes(update::downloadPath(local.dir(), u"sys.htm"_s)), bankBytes(p.incoming));
        QCOMPARE(db::scalar(local.db(), u"select m_name from ma_id where m_id='M1'"_s).toString(), u"会计基础"_s);
        QCOMPARE(local.count(u"ex_page_id"_s), 2);

        IniFile ini(local.path(u"main.ini"_s));
        QVERIFY(ini.load());
        QCOMPARE(ini.value(u"config"_s, u"update_before_time"_s), u"2009-06-01"_s);
        QCOMPARE(ini.value(u"config"_s, u"next_update_time"_s), u"2026-03-15"_s);
        QVERIFY(ini.text().contains(u"; kept as it is"_s));
    }

    void onlyFilesListed()
    {
        Publisher p;
        p.list("2009/6/1\n\nhelp\\faq.htm\n");
        p.server.route("/upd/help/faq.htm", 200, "faq");
        TestBank local;
        const UpdateJob::Outcome outcome = p.updateInto(local);
        QCOMPARE(outcome.result, UpdateJob::Result::FilesOnly);
        QCOMPARE(outcome.message, u"当前有:1文件已更新,更新目标为data\\*"_s);
        QCOMPARE(outcome.caption, u"相关链接文件已更新"_s);
        QCOMPARE(fileBytes(local.path(u"data/help/faq.htm"_s)), QByteArray("faq"));
        QCOMPARE(p.server.requests("/upd/sys.htm"), 0);
        IniFile ini(local.path(u"main.ini"_s));
        QVERIFY(ini.load());
        QCOMPARE(ini.value(u"config"_s, u"update_before_time"_s), u"2009/6/1"_s);
        QCOMPARE(ini.value(u"config"_s, u"next_update_time"_s), u"2026-04-04"_s); // update_days defaults to 30
    }

    void nothingToDo_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("lastDate");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        const QString older = u"网上记录比本机记录还早,无需进行更新..."_s;
        QTest::newRow("same day") << QByteArray("2009-06-01\n\nsys.htm\n") << u"2009-06-01"_s
                                  << int(UpdateJob::Result::NothingNewer) << older;
        QTest::newRow("later here") << QByteArray("2009-06-01\n\nsys.htm\n") << u"2009-7-1"_s
                                    << int(UpdateJob::Result::NothingNewer) << older;
        QTest::newRow("same time of day") << QByteArray("2009-06-01 10:00\n\nsys.htm\n") << u"2009-06-01 10:00"_s
                                          << int(UpdateJob::Result::NothingNewer) << older;
        QTest::newRow("no file listed") << QByteArray("2009-06-01\n说明\n") << u"2009-05-01"_s
                                        << int(UpdateJob::Result::NoEntries) << u"当前记录为最新记录,无需进行更新..."_s;
    }
    void nothingToDo()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, lastDate);
        QFETCH(int, result);
        QFETCH(QString, message);
        Publisher p;
        p.list(list);
        TestBank local;
        const UpdateJob::Outcome outcome = p.updateInto(local, lastDate);
        QCOMPARE(int(outcome.result), result);
        QCOMPARE(outcome.message, message);
        QCOMPARE(outcome.caption, u"记录变动提示"_s);
        QCOMPARE(UpdateJob::resultText(outcome, false), u"本次没有更新...."_s);
        QCOMPARE(p.server.requests("/upd/sys.htm"), 0);
        QCOMPARE(fileBytes(local.path(u"main.ini"_s)), kMainIni.toUtf8());
    }

    void onlyEmptyEntries()
    {
        Publisher p;
        p.list("2009-06-01\n\n   \n\n");
        TestBank local;
        const UpdateJob::Outcome outcome = p.updateInto(local);
        QCOMPARE(outcome.result, UpdateJob::Result::NothingDone);
        QVERIFY(outcome.message.isEmpty());
        QVERIFY(UpdateJob::resultText(outcome, false).isEmpty());
        IniFile ini(local.path(u"main.ini"_s));
        QVERIFY(ini.load());
        QCOMPARE(ini.value(u"config"_s, u"update_before_time"_s), u"2009-06-01"_s);
    }

    void offline()
    {
        TestBank local;
        local.writeFile(u"main.ini"_s, kMainIni.toUtf8());
        UpdateJob job(local.dir());
        job.setOnlineCheck([] { return false; });
        QString lastDate = u"2009-05-01"_s;
        const UpdateJob::Outcome outcome = job.runOnline(u"http://update.invalid/"_s, lastDate);
        QCOMPARE(outcome.result, UpdateJob::Result::Offline);
        QCOMPARE(outcome.message, u"您现在尚未联网,无法进行升级服务....."_s);
        QCOMPARE(outcome.caption, u"信息提醒"_s);
        QCOMPARE(UpdateJob::resultText(outcome, false), u"本次更新失败...."_s);
        QVERIFY(!QFile::exists(update::downloadPath(local.dir(), u"up.txt"_s)));
    }

    // Whatever fails, main.ini stays as it was and the local bank is not touched.
    void failureLeavesMainIniAlone_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("lastDate");
        QTest::addColumn<QString>("brokenPath");
        QTest::addColumn<int>("brokenMode");
        QTest::addColumn<QString>("reason");
        const int answer = int(HttpServer::Mode::Answer);
        const QByteArray bankAndFile = "2009-06-01\n\nmpg/demo.wmv\nsys.htm\n";
        QTest::newRow("list missing") << QByteArray() << u"2009-05-01"_s << u"/upd/up.txt"_s << answer << u"404"_s;
        QTest::newRow("bank missing") << bankAndFile << u"2009-05-01"_s << u"/upd/sys.htm"_s << answer << u"404"_s;
        QTest::newRow("bank breaks off") << bankAndFile << u"2009-05-01"_s << u"/upd/sys.htm"_s
                                         << int(HttpServer::Mode::BreakOff) << u"sys.htm"_s;
        QTest::newRow("bank cut short without a length")
            << bankAndFile << u"2009-05-01"_s << u"/upd/sys.htm"_s << int(HttpServer::Mode::CutShort)
            << u"题库文件不完整或已损坏"_s;
        QTest::newRow("bank damaged") << bankAndFile << u"2009-05-01"_s << u"damaged"_s << answer
                                      << u"题库文件不完整或已损坏"_s;
        QTest::newRow("file missing") << bankAndFile << u"2009-05-01"_s << u"/upd/mpg/demo.wmv"_s << answer << u"404"_s;
        QTest::newRow("bank is a web page")
            << bankAndFile << u"2009-05-01"_s << u"page"_s << answer << u"不是有效的题库文件"_s;
        QTest::newRow("list date not a date")
            << QByteArray("<html>\n\nsys.htm\n") << u"2009-05-01"_s << QString() << answer << u"<html>"_s;
        QTest::newRow("last update not a date")
            << bankAndFile << u"last week"_s << QString() << answer << u"last week"_s;
        QTest::newRow("entry leaves data") << QByteArray("2009-06-01\n\nsys.htm\n../main.ini\n") << u"2009-05-01"_s
                                           << QString() << answer << u"../main.ini"_s;
        QTest::newRow("update_days not a number")
            << bankAndFile << u"2009-05-01"_s << u"days"_s << answer << u"update_days"_s;
    }
    void failureLeavesMainIniAlone()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, lastDate);
        QFETCH(QString, brokenPath);
        QFETCH(int, brokenMode);
        QFETCH(QString, reason);
        Publisher p;
        if (!list.isEmpty())
            p.list(list);
        p.server.route("/upd/mpg/demo.wmv", 200, "video");
        if (brokenPath == u"page")
            p.server.route("/upd/sys.htm", 200, "<html><body>维护中</body></html>");
        else if (brokenPath == u"damaged")
            p.server.route("/upd/sys.htm", 200, updatetest::damagedBankBytes(p.incoming, u"ex_page_id"_s));
        else if (brokenPath.startsWith(u'/'))
            p.server.route(brokenPath.toLatin1(),
                           HttpServer::Route{brokenMode == int(HttpServer::Mode::Answer) ? 404 : 200,
                                             bankBytes(p.incoming),
                                             HttpServer::Mode(brokenMode),
                                             {}});
        TestBank local;
        const QByteArray ini = kMainIni.toUtf8() + (brokenPath == u"days" ? "update_days=abc\r\n" : "");
        local.writeFile(u"main.ini"_s, ini);
        local.writeFile(QLatin1StringView(update::kDownloadFolder) + u"/sys.htm"_s, "previous download");
        local.addCourse(u"M1"_s, u"旧名"_s);

        UpdateJob job(local.dir());
        const UpdateJob::Outcome outcome = job.runOnline(p.address(), lastDate);
        QCOMPARE(outcome.result, UpdateJob::Result::Failed);
        QVERIFY2(outcome.message.contains(reason), qPrintable(outcome.message));
        QCOMPARE(outcome.caption, u"错误信息"_s);
        QCOMPARE(UpdateJob::resultText(outcome, false), u"本次更新失败...."_s);
        QCOMPARE(fileBytes(local.path(u"main.ini"_s)), ini);
        QCOMPARE(db::scalar(local.db(), u"select m_name from ma_id"_s).toString(), u"旧名"_s);
        QCOMPARE(local.count(u"ex_page_id"_s), 0);
        if (brokenMode == int(HttpServer::Mode::BreakOff))
            QCOMPARE(fileBytes(update::downloadPath(local.dir(), u"sys.htm"_s)), QByteArray("previous download"));
        if (reason == u"../main.ini")
            QCOMPARE(p.server.requests("/upd/sys.htm"), 0);
    }

    // The password part: user_pid decoded as exambank decodes it, a malformed value reported as
    // exambank reports it (and no password used).
    void userPidReadAsExambankReadsIt_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("none") << QByteArray() << QString() << QStringList();
        QTest::newRow("empty") << QByteArray("user_pid=\r\n") << QString() << QStringList();
        QTest::newRow("encoded") << QByteArray("USER_PID=998698B16B\r\n") << u"密码1"_s << QStringList();
        QTest::newRow("lower-case digits") << QByteArray("user_pid=998698b16b\r\n") << u"密码1"_s << QStringList();
        QTest::newRow("malformed") << QByteArray("user_pid=zz1\r\n") << QString()
                                   << QStringList{u"main.ini: user_pid = \"zz1\" 不是有效的值,已使用默认值."_s};
    }
    void userPidReadAsExambankReadsIt()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, password);
        QFETCH(QStringList, errors);
        TestBank local;
        // Other malformed values are exambank's to report, not the updater's.
        local.writeFile(u"main.ini"_s, "[main]\r\nnews_url=not hex\r\n[Config]\r\nprogram_frame=red\r\n" + line);
        const UpdateJob job(local.dir());
        QCOMPARE(job.bankPassword(), password);
        QCOMPARE(job.configErrors(), errors);
        QStringList exambank;
        AppConfig::load(local.dir(), QDate(2026, 3, 5), &exambank);
        for (const QString &e : errors)
            QVERIFY(exambank.contains(e));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("iniLine");
        const QString badPid = u"main.ini: user_pid = \"zz1\" 不是有效的值,已使用默认值.\n"_s;
        QTest::newRow("merge") << QStringList{u"--merge"_s, u"BANK"_s} << 0
                               << u"课程内容增加:1  条\n-------------------------------------------------------\n"_s
                               << QString() << QByteArray();
        QTest::newRow("merge of a missing file")
            << QStringList{u"--merge"_s, u"none.htm"_s} << 1 << u"本次更新失败....\n"_s << u"不存在"_s << QByteArray();
        QTest::newRow("online, nothing newer")
            << QStringList{u"--online"_s, u"ADDRESS"_s, u"2009-06-01"_s} << 0
            << u"网上记录比本机记录还早,无需进行更新...\n本次没有更新....\n"_s << QString() << QByteArray();
        QTest::newRow("online, bank merged") << QStringList{u"--online"_s, u"ADDRESS"_s, u"2009-05-01"_s} << 0
                                             << u"题目增加:2  条\n"_s << QString() << QByteArray();
        QTest::newRow("no file") << QStringList{u"--merge"_s} << 2 << QString() << u"usage"_s << QByteArray();
        QTest::newRow("unknown option") << QStringList{u"--frobnicate"_s} << 2 << QString() << u"usage"_s << QByteArray();
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"update --server-init\n"_s << QString() << QByteArray();
        QTest::newRow("server command, wrong arguments")
            << QStringList{u"--add-learner"_s} << 2 << QString() << u"usage"_s << QByteArray();
        // A malformed user_pid is said on err, as exambank says it, and the work goes on.
        QTest::newRow("merge, user_pid malformed")
            << QStringList{u"--merge"_s, u"BANK"_s} << 0 << u"课程内容增加:1  条\n"_s << badPid
            << QByteArray("user_pid=zz1\r\n");
        QTest::newRow("online, user_pid malformed")
            << QStringList{u"--online"_s, u"ADDRESS"_s, u"2009-05-01"_s} << 0 << u"题目增加:2  条\n"_s << badPid
            << QByteArray("user_pid=zz1\r\n");
        QTest::newRow("usage, main.ini not read")
            << QStringList{u"--merge"_s} << 2 << QString() << u"usage"_s << QByteArray("user_pid=zz1\r\n");
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, iniLine);
        Publisher p;
        p.list("2009-06-01\n\nsys.htm\n");
        TestBank local;
        local.writeFile(u"main.ini"_s, kMainIni.toUtf8() + iniLine);
        for (QString &a : args) {
            a.replace(u"BANK"_s, p.incoming.path(u"data/sys.htm"_s));
            a.replace(u"ADDRESS"_s, p.address());
            if (a == u"none.htm")
                a = local.path(a);
        }
        QString outText, errText;
        QTextStream outStream(&outText), errStream(&errText);
        QCOMPARE(update::runCommandLine(args, local.dir(), outStream, errStream), exitCode);
        QVERIFY2(outText.contains(out), qPrintable(outText));
        QVERIFY2(err.isEmpty() ? errText.isEmpty() : errText.contains(err), qPrintable(errText));
        if (iniLine.isEmpty() || exitCode == 2)
            QVERIFY(!errText.contains(u"user_pid"_s));
        if (exitCode == 0 && args.first() == u"--merge")
            QVERIFY(outText.endsWith(u"本次更新成功....\n"_s));
    }

private:
    std::unique_ptr<FakeClock> m_clock;
};

QTEST_GUILESS_MAIN(UpdateOnline)
#include "update_online.moc"
