// exambank's side of the update: the verdict on the update list, the notice file, the background
// list download and the start of the updater.
#include "support/httpserver.h"
#include "text/gbk.h"
#include "update/asyncdownload.h"
#include "update/updatecheck.h"
#include "update/updaterlauncher.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = update::ListVerdict::Kind;

Q_DECLARE_METATYPE(Kind)

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class UpdateCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void verdict_data()
    {
        QTest::addColumn<bool>("ready");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("lastUpdate");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("listDate");
        const QByteArray june = "2009-06-01\r\n\r\nsys.htm\r\n";
        QTest::newRow("not fetched") << false << june << u"2009-05-01"_s << Kind::NotFetched
                                     << u"虽已联网,但联接超时,暂被取消升级."_s << QString();
        QTest::newRow("newer") << true << june << u"2009-05-01"_s << Kind::Newer << u"有最新更新...."_s
                               << u"2009-06-01"_s;
        QTest::newRow("newer, written with slashes") << true << QByteArray("2009/6/1\n\nsys.htm\n") << u"2009-05-31"_s
                                                     << Kind::Newer << u"有最新更新...."_s << u"2009/6/1"_s;
        QTest::newRow("newer, UTF-8 mark first")
            << true
            << QByteArray("\xEF\xBB\xBF"
                          "2009-06-01\r\n")
            << u"2009-05-01"_s << Kind::Newer << u"有最新更新...."_s << u"2009-06-01"_s;
        QTest::newRow("same day") << true << june << u"2009-06-01"_s << Kind::NotNewer
                                  << u"当前没有最新,最后一次更新时间:2009-06-01"_s << QString();
        QTest::newRow("same day, later hour on the list")
            << true << QByteArray("2009-06-01 18:30\r\n") << u"2009-06-01"_s << Kind::NotNewer
            << u"当前没有最新,最后一次更新时间:2009-06-01"_s << QString();
        QTest::newRow("list older") << true << june << u"2010-01-01"_s << Kind::NotNewer
                                    << u"当前没有最新,最后一次更新时间:2010-01-01"_s << QString();
        const QString bad = u"下载列表有问题,升级取消,末次更新时间:2009-05-01"_s;
        QTest::newRow("garbage date") << true << QByteArray("2009-13-45\r\n\r\nsys.htm\r\n") << u"2009-05-01"_s
                                      << Kind::BadList << bad << QString();
        QTest::newRow("a web page") << true << QByteArray("<html><body>502</body></html>") << u"2009-05-01"_s
                                    << Kind::BadList << bad << QString();
        QTest::newRow("empty list") << true << QByteArray() << u"2009-05-01"_s << Kind::BadList << bad << QString();
        QTest::newRow("only blanks") << true << QByteArray("   \r\n \t \r\n  \r\n") << u"2009-05-01"_s << Kind::BadList
                                     << bad << QString();
        QTest::newRow("GBK words") << true << text::toGbk(u"六月一日\r\n"_s) << u"2009-05-01"_s << Kind::BadList << bad
                                   << QString();
        QTest::newRow("last update not a date") << true << june << u"上个月"_s << Kind::BadLastDate
                                                << u"末次更新时间 \"上个月\" 不是有效的日期,升级取消."_s << QString();
    }
    void verdict()
    {
        QFETCH(bool, ready);
        QFETCH(QByteArray, list);
        QFETCH(QString, lastUpdate);
        QFETCH(Kind, kind);
        QFETCH(QString, status);
        QFETCH(QString, listDate);
        const update::ListVerdict v = update::judgeList(ready, list, lastUpdate);
        QCOMPARE(v.kind, kind);
        QCOMPARE(v.status, status);
        QCOMPARE(v.listDate, listDate);
    }

    void notice_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");
        QTest::newRow("UTF-8")
            << "[main]\r\nalter_con=新版题库已发布,请及时升级.\r\nalter_url=http://example.com/n.htm\r\n"_ba
            << u"新版题库已发布,请及时升级."_s << u"http://example.com/n.htm"_s;
        // A line cut in the middle of a character and a line without "=" between the keys.
        QTest::newRow("GBK with a broken line")
            << text::toGbk(u"[main]\r\nalter_con=考试报名今日开始\r\n"_s) + "\xB0\r\n\xC4\xFA\xBA\xC3\r\n" +
                   text::toGbk(u"alter_url=http://example.com/报名.htm\r\n"_s)
            << u"考试报名今日开始"_s << u"http://example.com/报名.htm"_s;
        QTest::newRow("names in other case, no address") << "[MAIN]\nALTER_CON=notice\n"_ba << u"notice"_s << QString();
        QTest::newRow("other section only") << "[config]\nalter_con=not this\n"_ba << QString() << QString();
        QTest::newRow("a web page") << "<html>404</html>"_ba << QString() << QString();
        QTest::newRow("empty") << QByteArray() << QString() << QString();
    }
    void notice()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        QFETCH(QString, address);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"alter.ini"_s);
        write(path, file);
        const update::Notice n = update::readNotice(path);
        QCOMPARE(n.text, text);
        QCOMPARE(n.address, address);
        QCOMPARE(update::readNotice(dir.filePath(u"none.ini"_s)).text, QString());
    }

    void backgroundDownload_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("ok");
        QTest::newRow("complete") << 200 << int(HttpServer::Mode::Answer) << true;
        QTest::newRow("404") << 404 << int(HttpServer::Mode::Answer) << false;
        QTest::newRow("broken off") << 200 << int(HttpServer::Mode::BreakOff) << false;
        QTest::newRow("no answer") << 200 << int(HttpServer::Mode::Silent) << false;
    }
    void backgroundDownload()
    {
        QFETCH(int, status);
        QFETCH(int, mode);
        QFETCH(bool, ok);
        HttpServer server;
        const QByteArray list = "2009-06-01\r\n\r\nsys.htm\r\n" + QByteArray(4000, ' ');
        server.route("/q/up.txt", HttpServer::Route{status, list, HttpServer::Mode(mode), {}});
        QTemporaryDir dir;
        const QString target = dir.filePath(u"updates/up.txt"_s);
        write(target, "old list");

        AsyncDownload download;
        download.setTimeoutMs(500);
        QSignalSpy finished(&download, &AsyncDownload::finished);
        download.start(QUrl(server.base() + u"/q/up.txt"_s), target);
        QVERIFY(download.isRunning());
        QVERIFY(finished.isEmpty()); // the answer comes later, from the event loop
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().at(0).toBool(), ok);
        QCOMPARE(finished.first().at(1).toString().isEmpty(), ok);
        QVERIFY(!download.isRunning());
        QCOMPARE(readAll(target), ok ? list : QByteArray("old list"));
    }

    void backgroundDownloadOfABadAddressFailsLater()
    {
        QTemporaryDir dir;
        AsyncDownload download;
        QSignalSpy finished(&download, &AsyncDownload::finished);
        download.start(QUrl(u"noup.txt"_s), dir.filePath(u"up.txt"_s));
        QVERIFY(finished.isEmpty());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().at(0).toBool(), false);
        QVERIFY(!QFile::exists(dir.filePath(u"up.txt"_s)));
    }

    void updaterStartedWithItsTwoArguments()
    {
        QString program;
        QStringList args;
        bool answer = true;
        update::ProcessStarterOverride starter([&](const QString &p, const QStringList &a) {
            program = p;
            args = a;
            return answer;
        });
        QString error;
        QVERIFY(update::startUpdater(u"/opt/qm"_s, u"http://example.com/q dir/"_s, u"2009-05-01"_s, &error));
        QCOMPARE(program, u"/opt/qm/update"_s);
        // A blank inside the address stays inside the first argument.
        QCOMPARE(args, (QStringList{u"http://example.com/q dir/"_s, u"2009-05-01"_s}));
        QVERIFY(error.isEmpty());

        answer = false;
        QVERIFY(!update::startUpdater(u"/opt/qm"_s, u"http://x/"_s, u"2009-05-01"_s, &error));
        QVERIFY2(error.contains(u"/opt/qm/update"_s), qPrintable(error));
    }

    void missingUpdaterIsReported()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!update::startUpdater(dir.path(), u"http://127.0.0.1:1/"_s, u"2009-05-01"_s, &error));
        QVERIFY2(error.contains(u"无法启动"_s), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(UpdateCheck)
#include "update_check.moc"
