#include "shell/apppaths.h"
#include "shell/ui/browser.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/httpserver.h"
#include "support/testbank.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

// An address on this machine where nobody listens.
QString deadAddress()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        qFatal("no free port");
    const quint16 port = probe.serverPort();
    probe.close();
    return u"http://127.0.0.1:%1/jy.htm"_s.arg(port);
}

QString pageText(QWebEngineView *view)
{
    QString text;
    bool done = false;
    view->page()->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("the page did not give its text");
    return text;
}

} // namespace

// The handout browser with the real web engine: a handout served over HTTP, and one whose address
// does not answer.
class ContentWebViewTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void handoutPagesInTheWebView()
    {
        HttpServer server;
        server.route("/jy1.htm", HttpServer::Route{
                                     200, "<html><head><title>第一章讲义</title></head><body>借贷记账法</body></html>",
                                     HttpServer::Mode::Answer, "Content-Type: text/html; charset=utf-8\r\n"});
        TestBank bank{u"web"_s};
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addChapter(u"C2"_s, u"第二章"_s, u"M1"_s);
        bank.addChapter(u"C3"_s, u"第三章"_s, u"M1"_s);
        bank.insert(u"ks_jy"_s, {u"C1"_s, server.base() + u"/jy1.htm"_s, 0});
        bank.insert(u"ks_jy"_s, {u"C2"_s, deadAddress(), 0});
        bank.insert(u"ks_jy"_s, {u"C3"_s, u"jy3.htm"_s, 1});
        bank.writeFile(u"data/ks_jy.htm"_s, "<html><head><title>start</title></head><body>start</body></html>");
        bank.writeFile(u"data/jy3.htm"_s, "<html><head><title>local</title></head><body>本地讲义</body></html>");
        FakeDisplayMode display(QSize(1366, 768));
        messages::Responder responder;
        AppPaths::setCurrent(bank.dir());
        MainWindow w(&display);
        w.setOnlineProbe([] { return true; });
        w.show();
        QVERIFY(w.firstShow());
        w.findChild<QToolButton *>(u"SpeedButton5"_s)->click();
        auto *wb4 = w.findChild<Browser *>(u"wb4"_s);
        QVERIFY(wb4 && wb4->hasView());
        QTRY_COMPARE_WITH_TIMEOUT(wb4->view()->title(), u"start"_s, 20000);

        w.findChild<QPushButton *>(u"aC1"_s)->click();
        QTRY_COMPARE_WITH_TIMEOUT(wb4->view()->title(), u"第一章讲义"_s, 20000);
        QCOMPARE(server.requests("/jy1.htm"), 1);
        QVERIFY(pageText(wb4->view()).contains(u"借贷记账法"_s));
        QVERIFY(!wb4->showsError());

        // Nobody answers: a short page says so, and the panel goes on working.
        QSignalSpy failed(wb4, &Browser::loadFailed);
        w.findChild<QPushButton *>(u"aC2"_s)->click();
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 20000);
        QVERIFY(wb4->showsError());
        QTRY_VERIFY_WITH_TIMEOUT(pageText(wb4->view()).contains(u"页面无法打开"_s), 10000);
        QVERIFY(pageText(wb4->view()).contains(wb4->url().toString()));
        QVERIFY(responder.shown().isEmpty());

        w.findChild<QPushButton *>(u"aC3"_s)->click();
        QTRY_COMPARE_WITH_TIMEOUT(wb4->view()->title(), u"local"_s, 20000);
        QVERIFY(!wb4->showsError());
        QCOMPARE(failed.count(), 1);
    }
};

QTEST_MAIN(ContentWebViewTest)
#include "content_webview.moc"
