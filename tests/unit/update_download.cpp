#include "support/httpserver.h"
#include "update/downloader.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray body(int size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (int k = 0; k < size; ++k)
        b[k] = char('a' + k % 26);
    return b;
}

} // namespace

class UpdateDownload : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void completeDownloadReplacesTheFile()
    {
        HttpServer server;
        const QByteArray content = body(300000);
        server.route("/sys.htm", 200, content);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"update/sys.htm"_s);
        QDir().mkpath(dir.filePath(u"update"_s));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old bank");
        old.close();

        Downloader downloader;
        QSignalSpy started(&downloader, &Downloader::started);
        QSignalSpy progress(&downloader, &Downloader::progress);
        QSignalSpy finished(&downloader, &Downloader::finished);
        QString error;
        QVERIFY2(downloader.fetch(QUrl(server.base() + u"/sys.htm"_s), target, &error), qPrintable(error));
        QCOMPARE(readAll(target), content);
        QCOMPARE(started.size(), 1);
        QCOMPARE(started.first().at(0).toLongLong(), qint64(content.size()));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(0).toLongLong(), qint64(content.size()));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(QDir(dir.filePath(u"update"_s)).entryList(QDir::Files), QStringList{u"sys.htm"_s});
    }

    void missingFoldersAreCreated()
    {
        HttpServer server;
        server.route("/mpg/demo/a.wmv", 200, "video");
        QTemporaryDir dir;
        Downloader downloader;
        QString error;
        QVERIFY2(downloader.fetch(QUrl(server.base() + u"/mpg/demo/a.wmv"_s), dir.filePath(u"data/mpg/demo/a.wmv"_s),
                                  &error),
                 qPrintable(error));
        QCOMPARE(readAll(dir.filePath(u"data/mpg/demo/a.wmv"_s)), QByteArray("video"));
    }

    void failedDownloadKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::newRow("404") << int(HttpServer::Mode::Answer) << 404 << u"404"_s;
        QTest::newRow("500") << int(HttpServer::Mode::Answer) << 500 << u"500"_s;
        QTest::newRow("breaks off half-way") << int(HttpServer::Mode::BreakOff) << 200 << u"下载失败"_s;
        QTest::newRow("never answers") << int(HttpServer::Mode::Silent) << 200 << u"下载失败"_s;
    }
    void failedDownloadKeepsTheOldFile()
    {
        QFETCH(int, mode);
        QFETCH(int, status);
        QFETCH(QString, reason);
        HttpServer server;
        server.route("/sys.htm", HttpServer::Route{status, body(200000), HttpServer::Mode(mode), {}});
        QTemporaryDir dir;
        const QString target = dir.filePath(u"sys.htm"_s);
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old bank");
        old.close();

        Downloader downloader;
        downloader.setTimeoutMs(1000);
        QSignalSpy finished(&downloader, &Downloader::finished);
        QString error;
        QVERIFY(!downloader.fetch(QUrl(server.base() + u"/sys.htm"_s), target, &error));
        QVERIFY2(error.contains(reason) && error.contains(u"/sys.htm"_s), qPrintable(error));
        QCOMPARE(readAll(target), QByteArray("old bank"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"sys.htm"_s});
        QCOMPARE(finished.size(), 1);
    }

    void nothingListening()
    {
        quint16 port = 0;
        {
            HttpServer gone;
            port = gone.serverPort();
        }
        QTemporaryDir dir;
        Downloader downloader;
        QString error;
        QVERIFY(!downloader.fetch(QUrl(u"http://127.0.0.1:%1/up.txt"_s.arg(port)), dir.filePath(u"up.txt"_s), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath(u"up.txt"_s)));
    }

    void targetThatCannotBeWritten()
    {
        HttpServer server;
        server.route("/a.htm", 200, "page");
        QTemporaryDir dir;
        // A file where the folder should be.
        QFile blocker(dir.filePath(u"data"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Downloader downloader;
        QString error;
        QVERIFY(!downloader.fetch(QUrl(server.base() + u"/a.htm"_s), dir.filePath(u"data/a.htm"_s), &error));
        QVERIFY2(error.contains(u"data"_s), qPrintable(error));
        QCOMPARE(server.requests("/a.htm"), 0);
    }
};

QTEST_GUILESS_MAIN(UpdateDownload)
#include "update_download.moc"
