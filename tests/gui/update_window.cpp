#include "db/sql.h"
#include "shell/apppaths.h"
#include "shell/ui/messages.h"
#include "support/httpserver.h"
#include "support/testbank.h"
#include "unit/update_files.h"
#include "update/ui/updatewindow.h"

#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMovie>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using updatetest::bankBytes;

// Two frames of two by two pixels, the way the clip mafy.a is stored.
const QByteArray kClip = QByteArray::fromHex(
    "47494638396102000200f00000ff000000000021f904000000000021ff0b4e45545343415045322e3003010000002c0000"
    "00000200020000020284510021f90400000000002c0000000002000200800000ff00000002028451003b");

} // namespace

class UpdateWindowTest : public QObject
{
    Q_OBJECT
private:
    template <typename T> static T *child(UpdateWindow &w, const char *name)
    {
        T *found = w.findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    static void press(UpdateWindow &w) { QTest::mouseClick(child<QPushButton>(w, "Button1"), Qt::LeftButton); }

    // A program folder and a publisher with a newer bank of one course and two questions.
    struct Setup
    {
        TestBank local;
        TestBank incoming{u"incoming"_s};
        HttpServer server;
        messages::Responder responder;
        Setup()
        {
            local.writeFile(u"main.ini"_s, "[config]\r\nupdate_before_time=2009-05-01\r\n");
            incoming.addCourse(u"M1"_s, u"会计基础"_s);
            incoming.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
            incoming.addQuestion(u"C1"_s, u"P1"_s, 1, u"A"_s);
            incoming.addQuestion(u"C1"_s, u"P2"_s, 2, u"AB"_s);
            server.route("/up.txt", 200, "2009-06-01\r\n\r\nsys.htm\r\n");
            server.route("/sys.htm", 200, bankBytes(incoming));
            local.writeFile(u"mafy.a"_s, kClip);
        }
        QString address() const { return server.base() + u"/"_s; }
    };

private Q_SLOTS:
    void withoutArgumentsNothingRuns()
    {
        TestBank local;
        local.writeFile(u"main.ini"_s, "[config]\r\nuser_pid=zz1\r\n"); // not even read
        messages::Responder responder;
        AppPaths::setCurrent(local.dir());
        QVERIFY(!UpdateWindow::create({}));
        QCOMPARE(responder.shown().size(), 1);
        QCOMPARE(responder.lastText(), u"本程序不作为单独使用! "_s);
        QVERIFY(!QSqlDatabase::connectionNames().contains(u"update-local"_s));
    }

    // Like exambank, the updater says at start-up what is wrong with the user_pid it reads.
    void userPidReportedAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("malformed") << QByteArray("user_pid=zz1\r\n")
                                   << QStringList{u"错误信息"_s,
                                                  u"main.ini: user_pid = \"zz1\" 不是有效的值,已使用默认值."_s};
        QTest::newRow("encoded") << QByteArray("user_pid=998698B16B\r\n") << QStringList();
        QTest::newRow("none") << QByteArray() << QStringList();
    }
    void userPidReportedAtStartUp()
    {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, shown);
        TestBank local;
        local.writeFile(u"main.ini"_s, "[config]\r\nupdate_before_time=2009-05-01\r\n" + line);
        messages::Responder responder;
        AppPaths::setCurrent(local.dir());
        const auto w = UpdateWindow::create({u"http://127.0.0.1:1/"_s, u"2009-05-01"_s});
        QVERIFY(w);
        QStringList seen;
        for (const auto &m : responder.shown())
            seen << m.caption << m.text;
        QCOMPARE(seen, shown);
    }

    void startState()
    {
        TestBank local; // no skin pictures, no clip
        AppPaths::setCurrent(local.dir());
        const auto w = UpdateWindow::create({u"http://127.0.0.1:1/"_s, u"2009-05-01"_s});
        QVERIFY(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->windowTitle(), u"数据库升级  Ver: 2.0.1.31"_s);
        QCOMPARE(w->size(), QSize(651, 346));
        QCOMPARE(w->objectName(), u"update_tools"_s);
        QVERIFY(child<QLabel>(*w, "Image1")->pixmap().isNull());
        QCOMPARE(child<QLabel>(*w, "Label1")->text(), u"题库升级"_s);
        QCOMPARE(child<QLabel>(*w, "Label2")->text(), u"Update Subject"_s);
        QCOMPARE(child<QRadioButton>(*w, "RadioButton1")->text(), u"从网上自动更新"_s);
        QVERIFY(child<QRadioButton>(*w, "RadioButton1")->isChecked());
        QCOMPARE(child<QRadioButton>(*w, "RadioButton2")->text(), u"本地文件库更新"_s);
        QVERIFY(!child<QGroupBox>(*w, "GroupBox1")->isVisible());
        QVERIFY(!child<QWidget>(*w, "Panel1")->isVisible());
        QCOMPARE(child<QLabel>(*w, "Label3")->text(), u"本次更新任务已完成..."_s);
        QVERIFY(!child<QPlainTextEdit>(*w, "Memo1")->isVisible());
        QCOMPARE(child<QPushButton>(*w, "Button1")->text(), u"开始"_s);
        QCOMPARE(child<QPushButton>(*w, "Button1")->size(), QSize(107, 45));
        QCOMPARE(child<QProgressBar>(*w, "ProgressBar1")->width(), 233);
        QCOMPARE(child<QProgressBar>(*w, "ProgressBar1")->maximum(), 100);
        QCOMPARE(child<QLabel>(*w, "Animate1")->size(), QSize(33, 25));
        QCOMPARE(child<QLabel>(*w, "Label4")->text(), u"Update Guide"_s);
    }

    void onlineMergeShowsTheReport()
    {
        Setup s;
        QImage strip(40, 10, QImage::Format_RGB32);
        strip.fill(Qt::blue);
        QVERIFY(strip.save(s.local.path(u"skin/bg11.bmp"_s), "BMP"));
        AppPaths::setCurrent(s.local.dir());
        const auto w = UpdateWindow::create({s.address(), u"2009-05-01"_s});
        w->show();
        QVERIFY(!child<QLabel>(*w, "Image1")->pixmap().isNull());
        QMovie *clip = child<QLabel>(*w, "Animate1")->movie();
        QVERIFY(clip && clip->isValid());
        QCOMPARE(clip->format(), QByteArray("gif"));
        QList<QMovie::MovieState> clipDuringMerge;
        QList<int> bar;
        connect(&w->job(), &UpdateJob::tableMerged, this, [&](int table) {
            clipDuringMerge << clip->state();
            bar << child<QProgressBar>(*w, "ProgressBar1")->value();
            QCOMPARE(child<QProgressBar>(*w, "ProgressBar1")->maximum(), 9);
            QCOMPARE(table, int(bar.size()));
        });

        press(*w);
        QCOMPARE(s.responder.shown().size(), 1);
        QCOMPARE(s.responder.shown().first().caption, u"记录变动提示"_s);
        const QString report = s.responder.lastText();
        QVERIFY2(report.startsWith(u"课程内容增加:1  条\n-------------------------------------------------------\n"
                                   "章节记录增加:1  条\n"_s),
                 qPrintable(report));
        QCOMPARE(child<QPlainTextEdit>(*w, "Memo1")->toPlainText(), report);
        QVERIFY(child<QPlainTextEdit>(*w, "Memo1")->isVisible());
        QCOMPARE(bar, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        QCOMPARE(clipDuringMerge.first(), QMovie::Running);
        QCOMPARE(clip->state(), QMovie::NotRunning);
        QVERIFY(!child<QGroupBox>(*w, "GroupBox1")->isVisible());
        QVERIFY(child<QWidget>(*w, "Panel1")->isVisible());
        QCOMPARE(child<QLabel>(*w, "Label3")->text(), u"本次更新完成...."_s);
        QCOMPARE(child<QPushButton>(*w, "Button1")->text(), u"关闭"_s);
        QVERIFY(child<QPushButton>(*w, "Button1")->isEnabled());
        QCOMPARE(w->lastDate(), u"2009-06-01"_s);
        QCOMPARE(s.local.count(u"ex_page_id"_s), 2);

        // A second run is not possible: the button now closes the window.
        press(*w);
        QVERIFY(!w->isVisible());
        QCOMPARE(s.server.requests("/up.txt"), 1);
    }

    void onlineOutcomes_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("progressShown");
        QTest::newRow("nothing newer") << QByteArray("2009-05-01\n\nsys.htm\n") << true
                                       << u"网上记录比本机记录还早,无需进行更新..."_s << u"记录变动提示"_s
                                       << u"本次没有更新...."_s << false;
        QTest::newRow("no file listed") << QByteArray("2009-06-01\n\n") << true
                                        << u"当前记录为最新记录,无需进行更新..."_s << u"记录变动提示"_s
                                        << u"本次没有更新...."_s << true;
        QTest::newRow("one file") << QByteArray("2009-06-01\n\nfaq.htm\n") << true
                                  << u"当前有:1文件已更新,更新目标为data\\*"_s << u"相关链接文件已更新"_s
                                  << u"本次更新完成...."_s << false;
        QTest::newRow("offline") << QByteArray() << false << u"您现在尚未联网,无法进行升级服务....."_s << u"信息提醒"_s
                                 << u"本次更新失败...."_s << true;
        QTest::newRow("list missing") << QByteArray() << true << u"404"_s << u"错误信息"_s << u"本次更新失败...."_s
                                      << true;
    }
    void onlineOutcomes()
    {
        QFETCH(QByteArray, list);
        QFETCH(bool, reachable);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(QString, result);
        QFETCH(bool, progressShown);
        Setup s;
        if (list.isEmpty())
            s.server.route("/up.txt", 404, "gone");
        else
            s.server.route("/up.txt", 200, list);
        s.server.route("/faq.htm", 200, "faq");
        const QString address = reachable ? s.address() : u"http://update.invalid/"_s;
        AppPaths::setCurrent(s.local.dir());
        const auto w = UpdateWindow::create({address, u"2009-05-01"_s});
        w->job().setOnlineCheck([] { return false; });
        w->show();
        press(*w);
        QCOMPARE(s.responder.shown().size(), 1);
        QVERIFY2(s.responder.lastText().contains(message), qPrintable(s.responder.lastText()));
        QCOMPARE(s.responder.shown().first().caption, caption);
        QCOMPARE(child<QLabel>(*w, "Label3")->text(), result);
        QVERIFY(child<QWidget>(*w, "Panel1")->isVisible());
        QCOMPARE(child<QGroupBox>(*w, "GroupBox1")->isVisible(), progressShown);
        QVERIFY(child<QLabel>(*w, "Animate1")->movie()->isValid());
        QCOMPARE(child<QLabel>(*w, "Animate1")->movie()->state(), QMovie::NotRunning);
        QVERIFY(!child<QPlainTextEdit>(*w, "Memo1")->isVisible());
        QCOMPARE(child<QPushButton>(*w, "Button1")->text(), u"关闭"_s);
        QCOMPARE(s.local.count(u"ex_page_id"_s), 0);
    }

    void localFileMerge()
    {
        Setup s;
        AppPaths::setCurrent(s.local.dir());
        const auto w = UpdateWindow::create({s.address(), u"2009-05-01"_s});
        w->setFileChooser([&] { return s.incoming.path(u"data/sys.htm"_s); });
        w->show();
        child<QRadioButton>(*w, "RadioButton2")->click();
        press(*w);
        QCOMPARE(s.responder.shown().size(), 1);
        QCOMPARE(s.responder.shown().first().caption, u"记录变动提示"_s);
        QVERIFY(s.responder.lastText().contains(u"题目增加:2  条"_s));
        QCOMPARE(child<QLabel>(*w, "Label3")->text(), u"本次更新成功...."_s);
        QVERIFY(!child<QPlainTextEdit>(*w, "Memo1")->isVisible());
        QVERIFY(!child<QGroupBox>(*w, "GroupBox1")->isVisible());
        QCOMPARE(s.local.count(u"ex_page_id"_s), 2);
        QCOMPARE(s.server.requests("/up.txt"), 0);
        QCOMPARE(w->lastDate(), u"2009-05-01"_s);
        QFile ini(s.local.path(u"main.ini"_s));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), QByteArray("[config]\r\nupdate_before_time=2009-05-01\r\n"));
    }

    // The lines shown while the tables were written go when the merge fails: nothing was kept.
    void failedMergeLeavesNoLinesOfIt()
    {
        Setup s;
        db::run(s.local.db(), u"create trigger boom before insert on ex_page_id "
                              "begin select raise(abort, 'disk is full'); end"_s);
        AppPaths::setCurrent(s.local.dir());
        const auto w = UpdateWindow::create({s.address(), u"2009-05-01"_s});
        w->setFileChooser([&] { return s.incoming.path(u"data/sys.htm"_s); });
        w->show();
        child<QRadioButton>(*w, "RadioButton2")->click();
        press(*w);
        QCOMPARE(s.responder.shown().size(), 1);
        QCOMPARE(s.responder.shown().first().caption, u"错误信息"_s);
        QVERIFY2(s.responder.lastText().contains(u"本次更新已全部撤销"_s), qPrintable(s.responder.lastText()));
        QCOMPARE(child<QPlainTextEdit>(*w, "Memo1")->toPlainText(),
                 u"题目增加:出错,题库未作任何修改\n-------------------------------------------------------"_s);
        QCOMPARE(child<QLabel>(*w, "Label3")->text(), u"本次更新失败...."_s);
        QCOMPARE(s.local.count(u"ma_id"_s), 0);
        QCOMPARE(s.local.count(u"cap_id"_s), 0);
    }

    void localFileCancelledOrRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("messages");
        QTest::newRow("cancelled") << QString() << 0;
        QTest::newRow("not a bank") << u"main.ini"_s << 1;
    }
    void localFileCancelledOrRefused()
    {
        QFETCH(QString, file);
        QFETCH(int, messages);
        Setup s;
        AppPaths::setCurrent(s.local.dir());
        const auto w = UpdateWindow::create({s.address(), u"2009-05-01"_s});
        w->setFileChooser([&] { return file.isEmpty() ? file : s.local.path(file); });
        w->show();
        child<QRadioButton>(*w, "RadioButton2")->click();
        press(*w);
        QCOMPARE(int(s.responder.shown().size()), messages);
        if (messages)
            QVERIFY(s.responder.lastText().contains(u"不是有效的题库文件"_s));
        QCOMPARE(child<QPushButton>(*w, "Button1")->text(), u"关闭"_s);
        QCOMPARE(s.local.count(u"ex_page_id"_s), 0);
        if (!messages)
            QVERIFY(!child<QWidget>(*w, "Panel1")->isVisible());
    }
};

QTEST_MAIN(UpdateWindowTest)
#include "update_window.moc"
