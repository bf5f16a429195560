#include "support/httpserver.h"
#include "text/netprobe.h"

#include <QNetworkInterface>
#include <QTest>

using namespace Qt::StringLiterals;

class NetProbes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void onlineDecision_data()
    {
        using R = QNetworkInformation::Reachability;
        using I = text::InterfaceState;
        const I loopback{true, true, true, true};
        const I ethernet{true, true, false, true};
        QTest::addColumn<R>("reach");
        QTest::addColumn<QList<I>>("interfaces");
        QTest::addColumn<bool>("online");
        QTest::newRow("backend: online") << R::Online << QList<I>{} << true;
        QTest::newRow("backend: site only") << R::Site << QList<I>{} << true;
        QTest::newRow("backend: local network") << R::Local << QList<I>{ethernet} << false;
        QTest::newRow("backend: disconnected") << R::Disconnected << QList<I>{ethernet} << false;
        QTest::newRow("no backend, no interfaces") << R::Unknown << QList<I>{} << false;
        QTest::newRow("no backend, loopback only") << R::Unknown << QList<I>{loopback} << false;
        QTest::newRow("no backend, ethernet up") << R::Unknown << QList<I>{loopback, ethernet} << true;
        QTest::newRow("no backend, cable out") << R::Unknown << QList<I>{I{true, false, false, true}} << false;
        QTest::newRow("no backend, interface down") << R::Unknown << QList<I>{I{false, false, false, true}} << false;
        QTest::newRow("no backend, no address") << R::Unknown << QList<I>{I{true, true, false, false}} << false;
    }

    void onlineDecision()
    {
        QFETCH(QNetworkInformation::Reachability, reach);
        QFETCH(QList<text::InterfaceState>, interfaces);
        QFETCH(bool, online);
        QCOMPARE(text::onlineFrom(reach, interfaces), online);
    }

    // The probe on this machine agrees with what its interfaces say when no backend knows better.
    void isOnlineOnThisMachine()
    {
        const bool backend =
            QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability) &&
            QNetworkInformation::instance()->reachability() != QNetworkInformation::Reachability::Unknown;
        if (backend)
            QCOMPARE(text::isOnline(), text::onlineFrom(QNetworkInformation::instance()->reachability(), {}));
        else {
            bool anyUp = false;
            for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
                const auto f = i.flags();
                anyUp = anyUp || (f.testFlag(QNetworkInterface::IsUp) && f.testFlag(QNetworkInterface::IsRunning) &&
                                  !f.testFlag(QNetworkInterface::IsLoopBack) && !i.addressEntries().isEmpty());
            }
            QCOMPARE(text::isOnline(), anyUp);
        }
    }

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
        server.route(path,
                     HttpServer::Route{status, "body", HttpServer::Mode::Answer,
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
