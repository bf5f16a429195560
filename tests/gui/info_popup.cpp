// The information popup: where it starts and stops sliding, its countdown, and its address button.
#include "windows/ui/infopopup.h"

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QPointer<InfoPopup> shownPopup(const QString &text, const QString &address, QSize screen = QSize(1024, 768))
{
    auto *popup = new InfoPopup();
    popup->setScreenSize(screen);
    popup->setNotice(text, address);
    popup->show();
    return popup;
}

QToolButton *moreButton(InfoPopup *popup)
{
    return popup->findChild<QToolButton *>(u"SpeedButton1"_s);
}

} // namespace

class InfoPopupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void window()
    {
        QPointer<InfoPopup> popup = shownPopup(u"新版题库已发布"_s, u"http://example.com/"_s);
        QCOMPARE(popup->objectName(), u"ad_page"_s);
        QCOMPARE(popup->windowTitle(), u"信息提示窗"_s);
        QCOMPARE(popup->size(), QSize(317, 221));
        QVERIFY(popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(popup->windowFlags().testFlag(Qt::Tool));
        QVERIFY(!popup->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!popup->parentWidget());
        QVERIFY(!popup->testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(popup->slideTimer()->isActive());
        QVERIFY(popup->countdownTimer()->isActive());
        QCOMPARE(popup->slideTimer()->interval(), 100);
        QCOMPARE(popup->countdownTimer()->interval(), 1000);
        auto *text = popup->findChild<QLabel *>(u"Label1"_s);
        QCOMPARE(text->text(), u"新版题库已发布"_s);
        QCOMPARE(text->pos(), QPoint(5, 5));
        QVERIFY(text->wordWrap());
        QVERIFY(text->height() >= 15);
        QVERIFY(moreButton(popup)->isEnabled());
        QCOMPARE(moreButton(popup)->text(), u"详细内容.."_s);
        QCOMPARE(moreButton(popup)->size(), QSize(98, 25));
        delete popup;
    }

    void textLabelGrowsWithTheLines()
    {
        QPointer<InfoPopup> one = shownPopup(u"一行"_s, {});
        QPointer<InfoPopup> three = shownPopup(u"第一行\n第二行\n第三行"_s, {});
        const int h1 = one->findChild<QLabel *>(u"Label1"_s)->height();
        const int h3 = three->findChild<QLabel *>(u"Label1"_s)->height();
        QVERIFY(h1 >= 15);
        QCOMPARE(h3, 3 * h1);
        delete one;
        delete three;
    }

    void slidesUpTo40PixelsAboveTheBottom_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("startTop");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("endTop");
        // 768 - 221 - 40 = 507: the first position above that is 505, after 71 steps of 3 pixels.
        QTest::newRow("768 high") << QSize(1024, 768) << 718 << 71 << 505;
        QTest::newRow("1080 high") << QSize(1920, 1080) << 1030 << 71 << 817;
    }
    void slidesUpTo40PixelsAboveTheBottom()
    {
        QFETCH(QSize, screen);
        QFETCH(int, startTop);
        QFETCH(int, steps);
        QFETCH(int, endTop);
        QPointer<InfoPopup> popup = shownPopup(u"通知"_s, {}, screen);
        popup->slideTimer()->stop(); // the test ticks
        QCOMPARE(popup->pos(), QPoint(screen.width() - 317 - 10, startTop));
        int moves = 0;
        for (int tick = 0; tick < 200; ++tick) {
            const int before = popup->y();
            popup->slideTimer()->start();
            popup->slideTick();
            if (!popup->slideTimer()->isActive())
                break;
            QCOMPARE(popup->y(), before - 3);
            ++moves;
        }
        QCOMPARE(moves, steps);
        QCOMPARE(popup->y(), endTop);
        QCOMPARE(popup->x(), screen.width() - 317 - 10);
        delete popup;
    }

    void countsDownAndClosesAtTheTwentyFirstTick()
    {
        QPointer<InfoPopup> popup = shownPopup(u"通知"_s, {});
        popup->countdownTimer()->stop();
        popup->countdownTick();
        QCOMPARE(popup->windowTitle(), u"信息提示窗(20)"_s);
        for (int tick = 2; tick <= 20; ++tick)
            popup->countdownTick();
        QCOMPARE(popup->windowTitle(), u"信息提示窗(1)"_s);
        QVERIFY(popup->isVisible());
        popup->countdownTick();
        QVERIFY(!popup->isVisible());
        QTRY_VERIFY(popup.isNull()); // freed once closed
    }

    void closedEarlyIsFreed()
    {
        QPointer<InfoPopup> popup = shownPopup(u"通知"_s, {});
        popup->close();
        QTRY_VERIFY(popup.isNull());
    }

    void addressButton_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QUrl>("opened");
        QTest::newRow("web address") << u"http://example.com/notice.htm"_s << true
                                     << QUrl(u"http://example.com/notice.htm"_s);
        QTest::newRow("address without scheme")
            << u"example.com/n.htm"_s << true << QUrl(u"http://example.com/n.htm"_s);
        QTest::newRow("no address") << QString() << false << QUrl();
    }
    void addressButton()
    {
        QFETCH(QString, address);
        QFETCH(bool, enabled);
        QFETCH(QUrl, opened);
        QPointer<InfoPopup> popup = shownPopup(u"通知"_s, address);
        QList<QUrl> urls;
        popup->setUrlOpener([&urls](const QUrl &url) {
            urls << url;
            return true;
        });
        QToolButton *more = moreButton(popup);
        QCOMPARE(more->isEnabled(), enabled);
        QCOMPARE(more->toolTip(), address);
        more->click();
        QCOMPARE(urls, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{opened});
        delete popup;
    }
};

QTEST_MAIN(InfoPopupTest)
#include "info_popup.moc"
