// Window and message-box titles as a window manager reads them from the X server.
#include "shell/apppaths.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/nativetitle.h"
#include "support/testbank.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Shows a real box through `show`, reads its native title once it is up, and closes it.
QString titleOfBox(const std::function<void()> &show)
{
    QString title = u"<no box>"_s;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        title = nativetitle::read(box);
        box->done(QMessageBox::Yes);
    });
    poll.start();
    show();
    return title;
}

} // namespace

class WindowTitlesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), u"xcb"_s); }

    void mainWindowTitleIsItsCaption()
    {
        TestBank bank{u"titles"_s};
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        FakeDisplayMode display(QSize(1366, 768));
        AppPaths::setCurrent(bank.dir());
        MainWindow window(&display);
        window.setOnlineProbe([] { return false; });
        window.show();
        messages::Responder responder; // answers the first show's boxes, if any
        QVERIFY(window.firstShow());
        QCOMPARE(nativetitle::read(&window), u"Quillmark  Ver: 2.0.1.31"_s);
    }

    void boxTitlesAreTheirCaptions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("question");
        QTest::newRow("inform") << u"信息提醒"_s << false;
        QTest::newRow("error") << u"错误信息"_s << false;
        QTest::newRow("question") << u"信息提示"_s << true;
        QTest::newRow("empty caption") << QString() << false;
    }

    void boxTitlesAreTheirCaptions()
    {
        QFETCH(QString, caption);
        QFETCH(bool, question);
        const QString title = titleOfBox([&] {
            if (question)
                messages::askYesNo(nullptr, u"是否退出?"_s, caption);
            else
                messages::inform(nullptr, u"本程序已在运行中！"_s, caption);
        });
        QCOMPARE(title, caption);
    }
};

QTEST_MAIN(WindowTitlesTest)
#include "window_titles.moc"
