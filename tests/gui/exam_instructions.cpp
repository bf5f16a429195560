// The exam instructions window: slides, hot spots, pauses, the information page and the start.
#include "session/papersession.h"
#include "shell/apppaths.h"
#include "support/testbank.h"
#include "windows/ui/instructionswindow.h"

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

struct Fixture
{
    TestBank folder{u"slides"_s};
    QPointer<InstructionsWindow> window;
    explicit Fixture(bool pictures = true)
    {
        if (pictures) {
            for (const QString &name : {u"logon-1"_s, u"logon-2"_s, u"logon-3"_s, u"logon-3-1"_s, u"logon-3-2"_s,
                                        u"logon-3-3"_s, u"logon-4"_s, u"logon-5"_s}) {
                QImage image(98, 62, QImage::Format_RGB32);
                image.fill(Qt::darkCyan);
                image.save(folder.path(u"skin/%1.jpg"_s.arg(name)));
            }
        }
        AppPaths::setCurrent(folder.dir());
        window = new InstructionsWindow();
        window->show();
    }
    ~Fixture() { delete window.data(); }
    QToolButton *spot(const QString &name) const { return window->findChild<QToolButton *>(name); }
    QStringList visibleSpots() const
    {
        QStringList out;
        for (const QString &name : {u"SpeedButton1"_s, u"SpeedButton2"_s, u"SpeedButton3"_s, u"SpeedButton4"_s}) {
            if (spot(name)->isVisible())
                out << name;
        }
        return out;
    }
    QString label(const QString &name) const { return window->findChild<QLabel *>(name)->text(); }
};

paper::Brief calculationBrief()
{
    paper::Brief b;
    b.counts = {20, 20, 20};
    b.marks = {u"20"_s, u"40"_s, u"20"_s};
    b.fourthType = 4;
    b.fourthName = u"计算分析题"_s;
    b.fourthCount = 8;
    b.fourthMarks = u"20"_s;
    b.picture = u"skin/logon-3-1.jpg"_s;
    b.total = 100;
    b.totalText = u"100"_s;
    return b;
}

} // namespace

class ExamInstructions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hotSpotsAtTheirPlaces()
    {
        Fixture f;
        QCOMPARE(f.window->size(), QSize(982, 627));
        QVERIFY(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(f.spot(u"SpeedButton2"_s)->geometry(), QRect(632, 396, 68, 21));
        QCOMPARE(f.spot(u"SpeedButton3"_s)->geometry(), QRect(630, 404, 71, 23));
        QCOMPARE(f.spot(u"SpeedButton4"_s)->geometry(), QRect(733, 405, 69, 21));
        QCOMPARE(f.spot(u"SpeedButton1"_s)->geometry(), QRect(776, 576, 129, 41));
        QCOMPARE(f.window->findChild<QWidget *>(u"Panel1"_s)->geometry(), QRect(128, 168, 689, 217));
        QCOMPARE(f.spot(u"SpeedButton4"_s)->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(f.spot(u"SpeedButton1"_s)->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(f.visibleSpots().isEmpty());
    }

    void slidesToTheStart()
    {
        Fixture f;
        f.window->setBrief(u"90"_s, u"会计基础"_s, calculationBrief());
        QSignalSpy start(f.window, &InstructionsWindow::startRequested);
        f.window->firstStep();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-1.jpg"_s);
        QVERIFY(f.window->isWaiting());
        QVERIFY(f.visibleSpots().isEmpty());
        f.window->finishWait();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-2.jpg"_s);
        QCOMPARE(f.visibleSpots(), QStringList{u"SpeedButton2"_s});
        f.spot(u"SpeedButton2"_s)->click();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-3-1.jpg"_s);
        QCOMPARE(f.visibleSpots(), (QStringList{u"SpeedButton3"_s, u"SpeedButton4"_s}));
        f.spot(u"SpeedButton3"_s)->click();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-4.jpg"_s);
        QCOMPARE(f.visibleSpots(), QStringList{u"SpeedButton4"_s});
        f.window->finishWait();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-5.jpg"_s);
        QVERIFY(f.window->findChild<QWidget *>(u"Panel1"_s)->isVisible());
        QCOMPARE(f.visibleSpots(), (QStringList{u"SpeedButton1"_s, u"SpeedButton4"_s}));

        QCOMPARE(f.label(u"Label4"_s), u"90"_s);
        QCOMPARE(f.label(u"Label6"_s), u"100"_s);
        QCOMPARE(f.label(u"Label8"_s), u"会计基础"_s);
        QCOMPARE(f.label(u"Label13"_s), u"20题"_s);
        QCOMPARE(f.label(u"Label18"_s), u"40"_s);
        QCOMPARE(f.label(u"Label12"_s), u"计算分析题"_s);
        QCOMPARE(f.label(u"Label16"_s), u"8题"_s);
        QVERIFY(f.window->findChild<QLabel *>(u"Label23"_s)->isVisible());

        f.spot(u"SpeedButton1"_s)->click();
        QCOMPARE(start.count(), 1);
        QTRY_VERIFY(!f.window->isVisible());
    }

    void restartFromTheThirdSlide()
    {
        Fixture f;
        f.window->firstStep();
        f.window->finishWait();
        f.spot(u"SpeedButton2"_s)->click();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-3.jpg"_s); // no fourth type set
        f.spot(u"SpeedButton4"_s)->click();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-1.jpg"_s);
        QVERIFY(f.visibleSpots().isEmpty());
        f.window->finishWait();
        QCOMPARE(f.visibleSpots(), QStringList{u"SpeedButton2"_s});
    }

    void restartDuringThePauseCancelsIt()
    {
        Fixture f;
        f.window->firstStep();
        f.window->finishWait();
        f.spot(u"SpeedButton2"_s)->click();
        f.spot(u"SpeedButton3"_s)->click();
        f.spot(u"SpeedButton4"_s)->click(); // while the fourth slide waits
        QCOMPARE(f.window->currentPicture(), u"skin/logon-1.jpg"_s);
        f.window->finishWait();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-2.jpg"_s);
        QVERIFY(!f.window->findChild<QWidget *>(u"Panel1"_s)->isVisible());
    }

    void noFourthRowWithoutFourthType()
    {
        Fixture f;
        paper::Brief b = calculationBrief();
        b.fourthType = 0;
        b.fourthName.clear();
        b.picture.clear();
        f.window->setBrief(u"120"_s, u"珠算"_s, b);
        f.window->firstStep();
        f.window->finishWait();
        f.spot(u"SpeedButton2"_s)->click();
        QCOMPARE(f.window->currentPicture(), u"skin/logon-3.jpg"_s);
        f.spot(u"SpeedButton3"_s)->click();
        f.window->finishWait();
        for (const QString &name : {u"Label12"_s, u"Label16"_s, u"Label20"_s, u"Label23"_s})
            QVERIFY(!f.window->findChild<QLabel *>(name)->isVisible());
        QVERIFY(f.window->findChild<QLabel *>(u"Label13"_s)->isVisible());
    }

    void missingPicturesDoNotStopTheWay()
    {
        Fixture f(false);
        QSignalSpy start(f.window, &InstructionsWindow::startRequested);
        f.window->firstStep();
        f.window->finishWait();
        f.spot(u"SpeedButton2"_s)->click();
        f.spot(u"SpeedButton3"_s)->click();
        f.window->finishWait();
        QVERIFY(f.spot(u"SpeedButton1"_s)->isVisible());
        f.spot(u"SpeedButton1"_s)->click();
        QCOMPARE(start.count(), 1);
    }

    void learnerCannotCloseIt()
    {
        Fixture f;
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        f.window->dismiss();
        QTRY_VERIFY(!f.window);
    }
};

QTEST_MAIN(ExamInstructions)
#include "exam_instructions.moc"
