#include "support/httpserver.h"
#include "text/netprobe.h"

#include <QTest>

using namespace Qt::StringLiterals;

class NetProbes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void urlExists_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("expected");
        QTest::newRow("200") << QByteArray("/ok.htm") << 200 << true;
        QTest::newRow("302 is not followed but counts") << QByteArray("/moved") << 302 << true;
        QTest::newRow("404") << QByteArray("/missing") << 404 << false;
        QTest::newRow("500") << QByteArray("/broken") << 500 << false;
        QTest::newRow("301") << QByteArray("/perm") << 301 << false;
    }
    void urlExists()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, status);
        QFETCH(bool, expected);
        HttpServer server;
        server.route(path, HttpServer::Route{status, "body", HttpServer::Mode::Answer,
                                             status / 100 == 3 ? QByteArray("Location: /elsewhere\r\n") : QByteArray()});
        QCOMPARE(text::urlExists(server.base() + QString::fromLatin1(path)), expected);
        QCOMPARE(server.requests(path), 1);
        QCOMPARE(server.requests("/elsewhere"), 0);
    }

    void addressWithoutSchemeGetsHttp()
    {
        HttpServer server;
        server.route("/up.txt", 200, "2009-06-01\n");
        const QString noScheme = server.base().mid(int(qstrlen("http://"))) + u"/up.txt"_s;
        QVERIFY(!noScheme.contains(u"://"));
        QVERIFY(text::urlExists(noScheme));
        QCOMPARE(text::withScheme(u"https://host/x"_s), u"https://host/x"_s);
        QCOMPARE(text::withScheme(u"host/x"_s), u"http://host/x"_s);
    }

    void silentServerTimesOut()
    {
        HttpServer server;
        server.route("/slow", HttpServer::Route{200, {}, HttpServer::Mode::Silent, {}});
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!text::urlExists(server.base() + u"/slow"_s, 500));
        QVERIFY(timer.elapsed() < 5000);
    }

    void nothingListening()
    {
        quint16 port = 0;
        {
            HttpServer server;
            port = server.serverPort();
        }
        QVERIFY(!text::urlExists(u"http://127.0.0.1:%1/x"_s.arg(port), 2000));
        QVERIFY(!text::urlExists(QString()));
    }
};

QTEST_GUILESS_MAIN(NetProbes)
#include "net_probes.moc"
