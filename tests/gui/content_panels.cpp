#include "db/sql.h"
#include "shell/apppaths.h"
#include "shell/ui/browser.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/testbank.h"
#include "text/gbk.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// A main window over a program folder with two courses, handouts, guide and help entries and
// their pages. The connected state can be changed between clicks.
struct Fixture
{
    explicit Fixture(const QByteArray &mainIni = "[main]\r\n[config]\r\n", bool withHelp = true)
    {
        bank.writeFile(u"main.ini"_s, mainIni);
        bank.insert(u"ma_id"_s, {u"M1"_s, u"会计基础"_s, u"讲师"_s, u"pack.htm"_s});
        bank.insert(u"ma_id"_s, {u"M2"_s, u"财经法规"_s, u"讲师"_s, u"0"_s});
        bank.addChapter(u"C1"_s, u"第一章 总论"_s, u"M1"_s);
        bank.addChapter(u"C2"_s, u"第二章 会计科目、账户与借贷记账法的基本原理"_s, u"M1"_s);
        bank.addChapter(u"C3"_s, u"第三章 远程讲义"_s, u"M1"_s);
        bank.addChapter(u"C4"_s, u"第四章 页面已删除"_s, u"M1"_s);
        bank.addChapter(u"D1"_s, u"第一章 会计法律制度"_s, u"M2"_s);
        bank.insert(u"ks_jy"_s, {u"C1"_s, u"jy1.htm"_s, 1});
        bank.insert(u"ks_jy"_s, {u"C2"_s, u"jy2.htm"_s, 1});
        bank.insert(u"ks_jy"_s, {u"C3"_s, u"http://127.0.0.1:9/jy3.htm"_s, 0});
        bank.insert(u"ks_jy"_s, {u"C4"_s, u"gone.htm"_s, 1});
        bank.insert(u"ks_dg"_s, {u"考试简介"_s, u"dg1.htm"_s, 1});
        bank.insert(u"ks_dg"_s, {u"全国会计从业资格无纸化考试指南全文"_s, u"dg2.htm"_s, 1});
        bank.insert(u"ks_dg"_s, {u"评价网"_s, u"http://127.0.0.1:9/dg"_s, 0});
        if (withHelp) {
            bank.insert(u"ks_ad"_s, {u"快速入门"_s, u"help1.htm"_s, 1});
            bank.insert(u"ks_ad"_s, {u"常见问题"_s, u"faq-gone.htm"_s, 1});
            bank.insert(u"ks_ad"_s, {u"法规查询"_s, u"http://127.0.0.1:9/law"_s, 0});
        }
        // With its background picture the group boxes are repainted on every opening.
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::lightGray);
        picture.save(bank.path(u"skin/bg16.bmp"_s), "BMP");
        for (const char *page : {"ks_jy.htm", "ks_dg.htm", "help.htm", "jy1.htm", "jy2.htm", "dg1.htm", "dg2.htm",
                                 "help1.htm", "pack.htm"})
            bank.writeFile(u"data/"_s + QString::fromLatin1(page), "<html><body>page</body></html>");
        AppPaths::setCurrent(bank.dir());
        window = std::make_unique<MainWindow>(&display);
        window->setOnlineProbe([this] {
            ++probes;
            return online;
        });
        window->show();
        ok = window->firstShow();
        responder.clear();
        probes = 0;
    }
    TestBank bank{u"content"_s};
    FakeDisplayMode display{QSize(1366, 768)};
    messages::Responder responder;
    std::unique_ptr<MainWindow> window;
    bool ok = false;
    bool online = false;
    int probes = 0;

    template <typename T = QPushButton> T *get(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no widget %s", qPrintable(name));
        return w;
    }
    void nav(const QString &name) const { get<QToolButton>(name)->click(); }
    Browser *browser(const QString &name) const { return get<Browser>(name); }
    QUrl file(const QString &relative) const { return QUrl::fromLocalFile(QDir(bank.dir()).filePath(relative)); }
    bool waitNoticeShown() const { return get<QWidget>(u"Panel3"_s)->isVisible(); }
};

// Receives what QDesktopServices would hand to the desktop.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
    Q_INVOKABLE void open(const QUrl &url) { urls.append(url); }
};

} // namespace

class ContentPanelsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void handoutPanelLists()
    {
        Fixture f;
        QVERIFY(f.ok);
        f.nav(u"SpeedButton5"_s);
        QCOMPARE(f.window->frontPanel()->objectName(), u"Panel11"_s);
        auto *courses = f.get<QComboBox>(u"handoutCourses"_s);
        QCOMPARE(courses->count(), 2);
        QCOMPARE(courses->currentText(), u"会计基础"_s);
        QCOMPARE(f.browser(u"wb4"_s)->url(), f.file(u"data/ks_jy.htm"_s));

        // One button per handout row, named "a" + c_id, 32 high, at 10, 44, 76, 108.
        const QStringList ids = {u"C1"_s, u"C2"_s, u"C3"_s, u"C4"_s};
        for (int i = 0; i < ids.size(); ++i) {
            auto *b = f.get(u"a"_s + ids.at(i));
            QCOMPARE(b->geometry(), QRect(7, i == 0 ? 10 : 32 * i + 12, 230, 32));
            QCOMPARE(text::gbkWidth(b->text()), 30);
        }
        auto *c2 = f.get(u"aC2"_s);
        QCOMPARE(c2->toolTip(), u"第二章 会计科目、账户与借贷记账法的基本原理"_s);
        QCOMPARE(c2->text(), u"第二章 会计科目、账户与借贷   "_s); // 贷 starts at byte 26

        auto *package = f.get(u"SpeedButton51"_s);
        QCOMPARE(package->text(), u"课程讲义打包"_s);
        QCOMPARE(package->size(), QSize(137, 24));
        QVERIFY(package->isEnabled());
        QCOMPARE(package->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(package->toolTip(), u"下载所有会计基础讲义打包文件下载\r\n目标文件:pack.htm"_s);

        // A course without handouts: an empty chapter area, the start page, no package.
        f.get(u"aC1"_s)->click();
        courses->setCurrentIndex(1);
        Q_EMIT courses->activated(1);
        QVERIFY(f.get<QWidget>(u"handoutChapters"_s)->findChildren<QPushButton *>().isEmpty());
        QCOMPARE(f.browser(u"wb4"_s)->url(), f.file(u"data/ks_jy.htm"_s));
        QVERIFY(!package->isEnabled());
        QCOMPARE(package->cursor().shape(), Qt::ForbiddenCursor);

        // Opening again starts over at the first course, with one set of buttons.
        f.nav(u"SpeedButton5"_s);
        f.nav(u"SpeedButton5"_s);
        QCOMPARE(courses->currentIndex(), 0);
        QCOMPARE(f.get<QWidget>(u"handoutChapters"_s)->findChildren<QPushButton *>().size(), 4);
        QVERIFY(package->isEnabled());
        QVERIFY(f.responder.shown().isEmpty());
    }

    void handoutShown_data()
    {
        QTest::addColumn<QString>("chapter");
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("page");    // expected wb4 address; empty: stays at the start page
        QTest::addColumn<QString>("message"); // expected message; empty: none
        QTest::addColumn<QString>("caption");
        QTest::newRow("local page, offline") << u"C1"_s << false << u"data/jy1.htm"_s << QString() << QString();
        QTest::newRow("local page, online") << u"C2"_s << true << u"data/jy2.htm"_s << QString() << QString();
        QTest::newRow("web address, online")
            << u"C3"_s << true << u"http://127.0.0.1:9/jy3.htm"_s << QString() << QString();
        QTest::newRow("web address, offline")
            << u"C3"_s << false << QString() << u"当前计算机尚未联网中,无法进行即时显示相关信息...."_s << u"信息提醒"_s;
        QTest::newRow("local page missing")
            << u"C4"_s << true << QString() << u"页面文件不存在,无法进行显示:data/gone.htm"_s << u"错误信息"_s;
    }
    void handoutShown()
    {
        QFETCH(QString, chapter);
        QFETCH(bool, online);
        QFETCH(QString, page);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        Fixture f;
        f.online = online;
        f.nav(u"SpeedButton5"_s);
        f.get(u"a"_s + chapter)->click();
        const QUrl expected = page.isEmpty()             ? f.file(u"data/ks_jy.htm"_s)
                              : page.startsWith(u"http") ? QUrl(page)
                                                         : f.file(page);
        QCOMPARE(f.browser(u"wb4"_s)->url(), expected);
        QCOMPARE(f.responder.shown().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(f.responder.lastText(), message);
            QCOMPARE(f.responder.shown().last().caption, caption);
        }
        QVERIFY(!f.waitNoticeShown());
        // The connection is asked about web addresses only.
        QCOMPARE(f.probes, chapter == u"C3" ? 1 : 0);
    }

    void packageOpenedWithTheDesktop()
    {
        Fixture f;
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
        f.nav(u"SpeedButton5"_s);
        f.get(u"SpeedButton51"_s)->click();
        QCOMPARE(recorder.urls, QList<QUrl>{f.file(u"data/pack.htm"_s)});

        // The package file went away: said so, nothing opened.
        QVERIFY(QFile::remove(f.bank.path(u"data/pack.htm"_s)));
        f.get(u"SpeedButton51"_s)->click();
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(recorder.urls.size(), 1);
        QCOMPARE(f.responder.lastText(), u"打包文件不存在,无法打开:pack.htm"_s);
    }

    void noCourseEndsTheProgram()
    {
        TestBank bank{u"empty"_s};
        FakeDisplayMode display(QSize(1366, 768));
        messages::Responder responder;
        AppPaths::setCurrent(bank.dir());
        MainWindow w(&display);
        w.setOnlineProbe([] { return false; });
        w.show();
        QVERIFY(w.firstShow());
        w.findChild<QToolButton *>(u"SpeedButton5"_s)->click();
        QCOMPARE(responder.lastText(), u"当前课程记录为零,无法进行讲义开列,即将退出...."_s);
        QCOMPARE(responder.shown().last().caption, u"错误信息"_s);
        QVERIFY(!w.isVisible());
    }

    void guideButtons()
    {
        Fixture f;
        f.nav(u"SpeedButton6"_s);
        f.nav(u"SpeedButton6"_s); // opening twice leaves one set
        QCOMPARE(f.window->frontPanel()->objectName(), u"Panel10"_s);
        QCOMPARE(f.browser(u"wb3"_s)->url(), f.file(u"data/ks_dg.htm"_s));
        auto *box = f.get<QGroupBox>(u"guideBox"_s);
        QCOMPARE(box->title(), u"考试指南"_s);
        QCOMPARE(box->width(), 192);
        QCOMPARE(box->findChildren<QPushButton *>().size(), 3);
        for (int n = 0; n < 3; ++n)
            QCOMPARE(f.get(u"ks_dg%1"_s.arg(n))->geometry(), QRect(7, 45 * n + 35, 220, 35));
        auto *first = f.get(u"ks_dg0"_s);
        QCOMPARE(first->text(), u"考试简介"_s + QString(17, u' '));
        // A name longer than 25 bytes: cut on the button, whole in the tooltip.
        auto *longName = f.get(u"ks_dg1"_s);
        QCOMPARE(longName->text(), u"全国会计从业资格无纸化考 "_s);
        QCOMPARE(longName->toolTip(), u"全国会计从业资格无纸化考试指南全文"_s);

        // Found again by caption, the cut one included.
        longName->click();
        QCOMPARE(f.browser(u"wb3"_s)->url(), f.file(u"data/dg2.htm"_s));
        first->click();
        QCOMPARE(f.browser(u"wb3"_s)->url(), f.file(u"data/dg1.htm"_s));
        // A web address needs the connection.
        f.get(u"ks_dg2"_s)->click();
        QCOMPARE(f.browser(u"wb3"_s)->url(), f.file(u"data/dg1.htm"_s));
        QCOMPARE(f.responder.lastText(), u"当前计算机尚未联网中,无法进行即时显示相关信息...."_s);
        f.online = true;
        f.get(u"ks_dg2"_s)->click();
        QCOMPARE(f.browser(u"wb3"_s)->url(), QUrl(u"http://127.0.0.1:9/dg"_s));
        QCOMPARE(f.responder.shown().size(), 1);
        QVERIFY(!f.waitNoticeShown());
    }

    void guideEntryGoneSinceOpening()
    {
        Fixture f;
        f.nav(u"SpeedButton6"_s);
        // An update removed the entry while its button was on screen.
        db::run(f.bank.db(), u"delete from ks_dg where ks_name=?"_s, {u"考试简介"_s});
        f.get(u"ks_dg0"_s)->click();
        QCOMPARE(f.responder.lastText(), u"该条目已不在题库中,请重新打开本栏目."_s);
        QCOMPARE(f.browser(u"wb3"_s)->url(), f.file(u"data/ks_dg.htm"_s));
    }

    void helpButtons_data()
    {
        QTest::addColumn<bool>("withHelp");
        QTest::addColumn<int>("updateTop");
        QTest::newRow("three entries") << true << 213;
        QTest::newRow("no entry") << false << 78;
    }
    void helpButtons()
    {
        QFETCH(bool, withHelp);
        QFETCH(int, updateTop);
        Fixture f("[main]\r\n[config]\r\n", withHelp);
        f.nav(u"SpeedButton7"_s);
        f.nav(u"SpeedButton7"_s);
        QCOMPARE(f.window->frontPanel()->objectName(), u"Panel13"_s);
        QCOMPARE(f.browser(u"wb6"_s)->url(), f.file(u"data/help.htm"_s));
        auto *box = f.get<QGroupBox>(u"helpBox"_s);
        QCOMPARE(box->width(), 216);
        QCOMPARE(box->findChildren<QPushButton *>().size(), withHelp ? 4 : 1);
        if (withHelp) {
            const QStringList ways = {u"快速入门"_s, u"常见问题"_s, u"法规查询"_s};
            for (int i = 0; i < 3; ++i) {
                auto *b = f.get(u"help%1"_s.arg(i));
                QCOMPARE(b->geometry(), QRect(32, 45 * i + 33, 145, 33));
                QCOMPARE(b->text(), u"   "_s + ways.at(i));
            }
        }
        auto *update = f.get(u"SpeedButton45"_s);
        QCOMPARE(update->text(), u"  手工升级题库"_s);
        QCOMPARE(update->geometry(), QRect(32, updateTop, 145, 33));
        QVERIFY(update->isEnabled());
    }

    void helpShown()
    {
        Fixture f;
        f.nav(u"SpeedButton7"_s);
        f.get(u"help0"_s)->click();
        QCOMPARE(f.browser(u"wb6"_s)->url(), f.file(u"data/help1.htm"_s));
        // A missing page is said so; the browser keeps its page.
        f.get(u"help1"_s)->click();
        QCOMPARE(f.responder.lastText(), u"页面文件不存在,无法进行显示:data/faq-gone.htm"_s);
        QCOMPARE(f.browser(u"wb6"_s)->url(), f.file(u"data/help1.htm"_s));
        // Web addresses are opened without asking for the connection.
        f.get(u"help2"_s)->click();
        QCOMPARE(f.browser(u"wb6"_s)->url(), QUrl(u"http://127.0.0.1:9/law"_s));
        QCOMPARE(f.probes, 0);
        QCOMPARE(f.responder.shown().size(), 1);
        QVERIFY(!f.waitNoticeShown());
    }

    void manualUpdateStartsTheUpdater()
    {
        const QString ftp = u"http://127.0.0.1:9/up dates/"_s;
        Fixture f("[main]\r\nftp_url=" + text::hexXorEncode(ftp).toLatin1() +
                  "\r\n[config]\r\nupdate_before_time=2009-05-01\r\n");
        // A stand-in updater that writes down its arguments, one per line.
        const QString args = f.bank.path(u"args.txt"_s);
        f.bank.writeFile(u"update"_s, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + args.toUtf8() + ".part\"\nmv \"" +
                                          args.toUtf8() + ".part\" \"" + args.toUtf8() + "\"\n");
        QVERIFY(
            QFile::setPermissions(f.bank.path(u"update"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        // Enabled from start-up on: the help centre need not have been opened.
        f.get(u"SpeedButton45"_s)->click();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(args), 10000);
        QFile out(args);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(out.readAll()), ftp + u"\n2009-05-01\n"_s);
        QVERIFY(f.responder.shown().isEmpty());

        QVERIFY(QFile::remove(f.bank.path(u"update"_s)));
        f.get(u"SpeedButton45"_s)->click();
        QCOMPARE(f.responder.lastText(), u"升级程序 %1 无法启动."_s.arg(f.bank.path(u"update"_s)));
        QCOMPARE(f.responder.shown().last().caption, u"错误信息"_s);
    }

    void qaBoardShowsTheAnswerPage()
    {
        const QString address = u"http://127.0.0.1:9/qa/"_s;
        Fixture f("[main]\r\nanwser_url=" + text::hexXorEncode(address).toLatin1() + "\r\n[config]\r\n");
        f.nav(u"SpeedButton8"_s);
        QCOMPARE(f.responder.lastText(), u"当前没有联网,无法进行互联网帮助....."_s);
        QVERIFY(!f.browser(u"wb1"_s)->hasView());
        f.online = true;
        f.nav(u"SpeedButton9"_s);
        f.nav(u"SpeedButton8"_s);
        QCOMPARE(f.window->frontPanel()->objectName(), u"Panel2"_s);
        Browser *wb1 = f.browser(u"wb1"_s);
        QCOMPARE(wb1->url(), QUrl(address));
        QVERIFY(wb1->isVisible());
        QCOMPARE(wb1->geometry(), f.window->panel(u"Panel2"_s)->rect());
        QCOMPARE(f.responder.shown().size(), 1);
        QVERIFY(!f.waitNoticeShown());
    }
};

QTEST_MAIN(ContentPanelsTest)
#include "content_panels.moc"
