#include "db/connection.h"
#include "db/sql.h"
#include "shell/apppaths.h"
#include "shell/ui/browser.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/testbank.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// A main window over a throw-away program folder, shown and past its first show.
struct Fixture
{
    explicit Fixture(bool online = false, QSize screen = QSize(1366, 768))
        : display(screen)
    {
        // The chapter-practice panel ends the program on a bank without courses and reports a
        // course without chapters.
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        AppPaths::setCurrent(bank.dir());
        window = std::make_unique<MainWindow>(&display);
        window->setOnlineProbe([online] { return online; });
        window->show();
        ok = window->firstShow();
    }
    TestBank bank{u"fixture"_s};
    FakeDisplayMode display;
    messages::Responder responder;
    std::unique_ptr<MainWindow> window;
    bool ok = false;

    QToolButton *button(const QString &name) const { return window->findChild<QToolButton *>(name); }
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void frameAndNavigation()
    {
        Fixture f;
        QVERIFY(f.ok);
        QCOMPARE(f.window->size(), QSize(981, 727));
        QVERIFY(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(f.window->windowTitle(), u"Quillmark  Ver: 2.0.1.31"_s);
        const QList<std::pair<QString, QString>> nav = {
            {u"SpeedButton1"_s, u"登陆设置"_s}, {u"SpeedButton2"_s, u"操作演示"_s}, {u"SpeedButton3"_s, u"章节练习"_s},
            {u"SpeedButton4"_s, u"模拟考场"_s}, {u"SpeedButton6"_s, u"考试指南"_s}, {u"SpeedButton5"_s, u"课程讲义"_s},
            {u"SpeedButton8"_s, u"答疑板 "_s},  {u"SpeedButton9"_s, u"学习进阶"_s}, {u"SpeedButton7"_s, u"帮助中心"_s}};
        int x = 16;
        for (const auto &[name, caption] : nav) {
            QToolButton *b = f.button(name);
            QVERIFY2(b, qPrintable(name));
            QCOMPARE(b->text(), caption);
            QCOMPARE(b->geometry(), QRect(x, 4, 81, 73));
            x += 80;
        }
        QCOMPARE(f.button(u"SpeedButton11"_s)->toolTip(), u"关闭程序"_s);
        QCOMPARE(f.button(u"SpeedButton12"_s)->toolTip(), u"缩小程序到任务栏"_s);
        QCOMPARE(f.button(u"SpeedButton46"_s)->toolTip(), u"程序最大化"_s);
        // Close sits 5 pixels from the right edge, maximise and minimise directly left of it.
        const QPoint close = f.button(u"SpeedButton11"_s)->mapTo(f.window.get(), QPoint(0, 0));
        QCOMPARE(close.x(), 981 - 57 - 5);
        QCOMPARE(f.button(u"SpeedButton46"_s)->mapTo(f.window.get(), QPoint(0, 0)).x(), close.x() - 57);
        QCOMPARE(f.button(u"SpeedButton12"_s)->mapTo(f.window.get(), QPoint(0, 0)).x(), close.x() - 114);

        auto *home = f.window->panel(u"Panel2"_s);
        QCOMPARE(f.window->frontPanel(), home);
        QVERIFY(!f.window->panel(u"Panel6"_s)->isVisible());
        QVERIFY(!f.window->panel(u"Panel9"_s)->isVisible());
        QCOMPARE(home->findChild<QLabel *>(u"Label3"_s)->text(), u"Quillmark"_s);
        QCOMPARE(home->findChild<QLabel *>(u"Label4"_s)->text(), u"Examination  System"_s);
        QCOMPARE(home->findChild<QLabel *>(u"Label3"_s)->width(), home->width());
        QVERIFY(f.window->findChild<QStatusBar *>(u"sb1"_s));
    }

    void buttonsBringTheirPanelToFront_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("panel");
        QTest::newRow("demonstrations") << u"SpeedButton2"_s << u"Panel14"_s;
        QTest::newRow("chapter practice") << u"SpeedButton3"_s << u"Panel6"_s;
        QTest::newRow("mock exam") << u"SpeedButton4"_s << u"Panel9"_s;
        QTest::newRow("exam guide") << u"SpeedButton6"_s << u"Panel10"_s;
        QTest::newRow("handouts") << u"SpeedButton5"_s << u"Panel11"_s;
        QTest::newRow("study progress") << u"SpeedButton9"_s << u"Panel8"_s;
        QTest::newRow("help centre") << u"SpeedButton7"_s << u"Panel13"_s;
    }
    void buttonsBringTheirPanelToFront()
    {
        QFETCH(QString, button);
        QFETCH(QString, panel);
        Fixture f;
        QSignalSpy practice(f.window.get(), &MainWindow::chapterPracticeRequested);
        QSignalSpy exam(f.window.get(), &MainWindow::mockExamRequested);
        f.button(button)->click();
        QCOMPARE(f.window->frontPanel()->objectName(), panel);
        QVERIFY(f.window->frontPanel()->isVisible());
        QCOMPARE(practice.count(), panel == u"Panel6" ? 1 : 0);
        QCOMPARE(exam.count(), panel == u"Panel9" ? 1 : 0);
    }

    void contentBrowsersSwallowTheRightButton()
    {
        Fixture f;
        for (const QString &name : {u"wb3"_s, u"wb4"_s, u"wb6"_s}) {
            auto *browser = f.window->findChild<Browser *>(name);
            QVERIFY2(browser && browser->rightButtonSwallowed(), qPrintable(name));
            // The page's input widget is watched as soon as it appears inside the browser.
            QWidget page(browser);
            for (const auto type :
                 {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
                QMouseEvent right(type, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
                QVERIFY(browser->eventFilter(&page, &right));
                QMouseEvent left(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QVERIFY(!browser->eventFilter(&page, &left));
            }
        }
        QVERIFY(!f.window->findChild<Browser *>(u"wb1"_s)->rightButtonSwallowed());
    }

    void draggingByTheTitleImage()
    {
        Fixture f;
        auto *title = f.window->findChild<QWidget *>(u"Panel4"_s)->findChild<QLabel *>(u"Image1"_s);
        QVERIFY(title);
        const QPoint start = f.window->pos();
        const auto send = [title](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent e(type, QPointF(at), title->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(title, &e);
        };
        send(QEvent::MouseButtonPress, QPoint(100, 10), Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(150, 40), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPoint(150, 40), Qt::NoButton);
        QCOMPARE(f.window->pos(), start + QPoint(50, 30));
    }

    void maximiseRebuildsOnlyTheSessionPanels()
    {
        Fixture f;
        QSignalSpy practice(f.window.get(), &MainWindow::chapterPracticeRequested);
        f.button(u"SpeedButton46"_s)->click();
        QCOMPARE(f.button(u"SpeedButton46"_s)->property("glyph").toString(), u"skin/spx1.bmp"_s);
        QCOMPARE(practice.count(), 0); // home panel in front: nothing rebuilt
        f.button(u"SpeedButton3"_s)->click();
        QCOMPARE(practice.count(), 1);
        f.button(u"SpeedButton46"_s)->click();
        QCOMPARE(practice.count(), 2);
        QCOMPARE(f.button(u"SpeedButton46"_s)->property("glyph").toString(), u"skin/spx.bmp"_s);
        const QPoint close = f.button(u"SpeedButton11"_s)->mapTo(f.window.get(), QPoint(0, 0));
        QCOMPARE(close.x(), f.window->width() - 57 - 5);
    }

    void homeTextsFromSoftText()
    {
        TestBank seed{u"seed"_s};
        seed.insert(u"soft_text"_s, {u"欢迎使用"_s, 10, 20});
        seed.insert(u"soft_text"_s, {u"第二行"_s, 30, 400});
        db::closeBank(u"seed"_s);
        FakeDisplayMode display(QSize(1366, 768));
        AppPaths::setCurrent(seed.dir());
        MainWindow w(&display);
        w.setOnlineProbe([] { return false; });
        QVERIFY(w.firstShow());
        auto *home = w.panel(u"Panel2"_s);
        auto *first = home->findChild<QLabel *>(u"sla0"_s);
        QVERIFY(first);
        QCOMPARE(first->text(), u"欢迎使用"_s);
        QCOMPARE(first->pos(), QPoint(10, 20));
        QCOMPARE(home->findChild<QLabel *>(u"sla1"_s)->pos(), QPoint(30, 400));
        QVERIFY(!home->findChild<QLabel *>(u"sla2"_s));
        // The texts lie under the news browser, which covers them once a page is shown.
        const QObjectList stack = home->children();
        const qsizetype browserAt = stack.indexOf(w.findChild<Browser *>(u"wb1"_s));
        QVERIFY(browserAt >= 0);
        QVERIFY(stack.indexOf(first) < browserAt);
        QVERIFY(stack.indexOf(home->findChild<QLabel *>(u"sla1"_s)) < browserAt);

        Fixture empty;
        QVERIFY(!empty.window->panel(u"Panel2"_s)->findChild<QLabel *>(u"sla0"_s));
    }

    void statusTextsOnlineAndOffline()
    {
        Fixture offline(false);
        QCOMPARE(offline.window->statusText(0), u"Quillmark 出品"_s);
        QCOMPARE(offline.window->statusText(2), u"当前未联网,无法检查是否有最新题库...."_s);
        offline.button(u"SpeedButton8"_s)->click();
        QCOMPARE(offline.responder.lastText(), u"当前没有联网,无法进行互联网帮助....."_s);
        QCOMPARE(offline.responder.shown().last().caption, u"信息提醒"_s);

        // news_url left at "no": no browser on the home panel, the status texts still show.
        Fixture online(true);
        QCOMPARE(online.window->statusText(0), u"已联网...."_s);
        QCOMPARE(online.window->statusText(2), u"正在检查更新状态...."_s);
        auto *wb1 = online.window->findChild<Browser *>(u"wb1"_s);
        QVERIFY(wb1);
        QVERIFY(!wb1->hasView());
        online.button(u"SpeedButton3"_s)->click();
        online.button(u"SpeedButton8"_s)->click();
        QVERIFY(!online.window->panel(u"Panel6"_s)->isVisible());
        QCOMPARE(online.window->frontPanel()->objectName(), u"Panel2"_s);
        QVERIFY(online.responder.shown().isEmpty());
    }

    void displayModeSwitchedOnlyOnSmallScreens_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("switched");
        QTest::newRow("1366x768 left alone") << QSize(1366, 768) << false;
        QTest::newRow("1280x720 switched") << QSize(1280, 720) << true;
    }
    void displayModeSwitchedOnlyOnSmallScreens()
    {
        QFETCH(QSize, screen);
        QFETCH(bool, switched);
        Fixture f(false, screen);
        QCOMPARE(f.display.switches().size(), switched ? 1 : 0);
        if (switched)
            QCOMPARE(f.display.switches().first(), QSize(1024, 768));
        f.window.reset();
        QCOMPARE(f.display.switches().size(), switched ? 2 : 0);
        if (switched)
            QCOMPARE(f.display.switches().last(), screen);
    }

    void missingDatabaseEndsWithMessage()
    {
        TestBank bank{u"gone"_s};
        db::closeBank(u"gone"_s);
        QVERIFY(QFile::remove(bank.path(u"data/sys.htm"_s)));
        messages::Responder responder;
        FakeDisplayMode display(QSize(1366, 768));
        AppPaths::setCurrent(bank.dir());
        MainWindow w(&display);
        QVERIFY(!w.firstShow());
        QCOMPARE(responder.lastText(), u"连接题库严重出错,请重新启动计算机再次尝试本程序......"_s);
        QCOMPARE(responder.shown().last().caption, u"错误警告提示"_s);
        QVERIFY(!QFile::exists(bank.path(u"data/sys.htm"_s)));
    }

    void malformedConfigurationReportedOnce()
    {
        TestBank bank{u"cfg"_s};
        bank.writeFile(u"main.ini"_s, "[config]\r\nprogram_frame=purple\r\nstatic_bar_color=$00ff00\r\n");
        messages::Responder responder;
        FakeDisplayMode display(QSize(1366, 768));
        AppPaths::setCurrent(bank.dir());
        MainWindow w(&display);
        w.setOnlineProbe([] { return false; });
        QVERIFY(w.firstShow());
        QCOMPARE(responder.shown().size(), 1);
        QVERIFY(responder.lastText().contains(u"program_frame"_s));
        QCOMPARE(w.config().programFrame, 0x0000FFu);
        QCOMPARE(w.config().staticBarColor, 0x00FF00u);
        QVERIFY(w.findChild<QStatusBar *>(u"sb1"_s)->styleSheet().contains(u"#00ff00"_s));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window.moc"
