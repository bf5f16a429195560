#include "shell/apppaths.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/testbank.h"

#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsVideoItem>
#include <QGraphicsView>
#include <QGroupBox>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// The demonstration panel over a program folder holding the videos the build encoded.
struct Fixture
{
    Fixture()
    {
        QDir(bank.dir()).mkpath(u"data/mpg"_s);
        for (const QString &video : {u"1.wmv"_s, u"3.wmv"_s}) {
            if (!QFile::copy(QStringLiteral(QM_APP_DIR) + u"/data/mpg/"_s + video, bank.path(u"data/mpg/"_s + video)))
                qFatal("no demonstration video %s in the program folder", qPrintable(video));
        }
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        AppPaths::setCurrent(bank.dir());
        window = std::make_unique<MainWindow>(&display);
        window->setOnlineProbe([] { return false; });
        window->show();
        window->firstShow();
        window->findChild<QToolButton *>(u"SpeedButton2"_s)->click();
        player = window->findChild<QMediaPlayer *>(u"mp1Player"_s);
        if (!player)
            qFatal("no player");
    }
    TestBank bank{u"demos"_s};
    FakeDisplayMode display{QSize(1366, 768)};
    messages::Responder responder;
    std::unique_ptr<MainWindow> window;
    QMediaPlayer *player = nullptr;

    QPushButton *button(const QString &name) const { return window->findChild<QPushButton *>(name); }
};

} // namespace

class ContentDemosTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void panelLayout()
    {
        Fixture f;
        QCOMPARE(f.window->frontPanel()->objectName(), u"Panel14"_s);
        auto *box = f.window->findChild<QGroupBox *>(u"demoBox"_s);
        QVERIFY(box);
        QCOMPARE(box->title(), u" 操作演示 "_s);
        QCOMPARE(box->width(), 240);
        QCOMPARE(f.button(u"SpeedButton47"_s)->text(), u"  安装演示"_s);
        QCOMPARE(f.button(u"SpeedButton49"_s)->text(), u"  使用演示"_s);
        QCOMPARE(f.button(u"SpeedButton47"_s)->size(), QSize(145, 33));
        QCOMPARE(f.button(u"SpeedButton49"_s)->size(), QSize(145, 33));
        auto *video = f.window->findChild<QWidget *>(u"Panel21"_s)->findChild<QGraphicsView *>(u"mp1"_s);
        QVERIFY(video);
        QVERIFY(video->scene()->items().contains(qobject_cast<QGraphicsVideoItem *>(f.player->videoOutput())));
    }

    void videoPlaysAndStopsWhenLeft_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("video");
        QTest::newRow("install") << u"SpeedButton47"_s << u"1.wmv"_s;
        QTest::newRow("use") << u"SpeedButton49"_s << u"3.wmv"_s;
    }
    void videoPlaysAndStopsWhenLeft()
    {
        QFETCH(QString, button);
        QFETCH(QString, video);
        Fixture f;
        f.button(button)->click();
        QCOMPARE(f.player->source(), QUrl::fromLocalFile(f.bank.path(u"data/mpg/"_s + video)));
        // The real player loads the WMV file and knows how long it is.
        QTRY_VERIFY_WITH_TIMEOUT(f.player->duration() > 1000, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(f.player->playbackState(), QMediaPlayer::PlayingState, 30000);
        QCOMPARE(f.player->error(), QMediaPlayer::NoError);
        QVERIFY2(f.responder.shown().isEmpty(), qPrintable(f.responder.lastText()));

        // Another panel in front stops it.
        f.window->findChild<QToolButton *>(u"SpeedButton9"_s)->click();
        QCOMPARE(f.player->playbackState(), QMediaPlayer::StoppedState);
    }

    void missingVideoIsReported()
    {
        Fixture f;
        QVERIFY(QFile::remove(f.bank.path(u"data/mpg/3.wmv"_s)));
        f.button(u"SpeedButton49"_s)->click();
        QCOMPARE(f.responder.lastText(), u"演示文件不存在,无法播放:data/mpg/3.wmv"_s);
        QCOMPARE(f.responder.shown().last().caption, u"错误信息"_s);
        QCOMPARE(f.player->playbackState(), QMediaPlayer::StoppedState);
    }

    void unplayableVideoIsReportedAndThePanelGoesOn()
    {
        Fixture f;
        f.bank.writeFile(u"data/mpg/3.wmv"_s, QByteArray(4096, 'x'));
        f.button(u"SpeedButton49"_s)->click();
        QTRY_COMPARE_WITH_TIMEOUT(f.responder.shown().size(), 1, 30000);
        QVERIFY2(f.responder.lastText().startsWith(u"演示视频无法播放:data/mpg/3.wmv"_s),
                 qPrintable(f.responder.lastText()));
        // The failed player was replaced; the next video plays in the new one.
        f.player = f.window->findChild<QMediaPlayer *>(u"mp1Player"_s);
        QCOMPARE(f.player->playbackState(), QMediaPlayer::StoppedState);
        f.button(u"SpeedButton47"_s)->click();
        QTRY_VERIFY_WITH_TIMEOUT(f.player->duration() > 1000, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(f.player->playbackState(), QMediaPlayer::PlayingState, 30000);
        QVERIFY2(f.responder.shown().size() == 1, qPrintable(f.responder.lastText()));
        QCOMPARE(f.player->error(), QMediaPlayer::NoError);
    }
};

QTEST_MAIN(ContentDemosTest)
#include "content_demos.moc"
