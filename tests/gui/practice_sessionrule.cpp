// The rule of every session build: the open practice and exam windows close first, through their
// close requests, and a window the learner keeps open stops the build. Also the session state the
// setup panels keep on the main window.
#include "../unit/practice_fixture.h"
#include "practice_gui.h"
#include "unit/exam_fixture.h"

#include "exam/ui/examwindow.h"
#include "practice/ui/practicewindow.h"
#include "session/ui/chapterpracticepanel.h"
#include "session/ui/mockexampanel.h"
#include "shell/apppaths.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "windows/ui/instructionswindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace practicegui;

namespace {

// The main window over the small exam bank: course 会计基础 has the practice chapter C1 (one
// single-choice question Q1, answer B) and the paper T1 (eight questions).
struct Program
{
    Program()
    {
        examfixture::smallBank(bank);
        Clock::install(&clock);
        AppPaths::setCurrent(bank.dir());
        window = std::make_unique<MainWindow>(&display);
        window->setOnlineProbe([] { return false; });
        window->show();
        if (!window->firstShow())
            qFatal("the main window did not open the bank");
        chapters = window->findChild<ChapterPracticePanel *>();
        exams = window->findChild<MockExamPanel *>();
    }
    ~Program()
    {
        if (PracticeWindow *w = PracticeWindow::current()) {
            responder.queue(messages::Answer::Yes);
            responder.queue(messages::Answer::No);
            w->close();
        }
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Clock::install(nullptr);
    }
    TestBank bank{u"fixture"_s};
    FakeClock clock{QDateTime(QDate(2030, 5, 6), QTime(9, 30, 0))};
    FakeDisplayMode display{QSize(1366, 768)};
    messages::Responder responder;
    std::unique_ptr<MainWindow> window;
    ChapterPracticePanel *chapters = nullptr;
    MockExamPanel *exams = nullptr;

    QWidget *panel6() const { return window->panel(u"Panel6"_s); }
    QWidget *panel9() const { return window->panel(u"Panel9"_s); }

    void chooseChapter() const
    {
        click(window.get(), u"SpeedButton3"_s);
        click(panel6(), u"sC1"_s);
        child<QCheckBox>(panel6(), u"CheckBox2"_s)->setChecked(false);
    }
    // Chapter practice with Q1 answered right but not yet recorded.
    PracticeWindow *practise()
    {
        chooseChapter();
        click(panel6(), u"sd1"_s);
        PracticeWindow *w = PracticeWindow::current();
        if (!w)
            qFatal("no practice window");
        click(w, u"optionB"_s);
        clock.advance(1000);
        return w;
    }
    void choosePaper() const
    {
        click(window.get(), u"SpeedButton4"_s);
        click(panel9(), u"tT1"_s);
    }
    // The instructions window from its first slide to the start hot spot.
    void throughInstructions() const
    {
        InstructionsWindow *slides = exams->instructionsWindow();
        slides->finishWait();
        click(slides, u"SpeedButton2"_s);
        click(slides, u"SpeedButton3"_s);
        slides->finishWait();
        click(slides, u"SpeedButton1"_s);
    }
    int records(const QString &pageId) const { return bank.count(u"test_page"_s, u"page_id=?"_s, {pageId}); }
};

// An exam window whose close request is refused.
class KeptOpen final : public QWidget
{
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

class PracticeSessionRule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void paperAfterPractice_data()
    {
        QTest::addColumn<bool>("randomPaper");
        QTest::addColumn<QList<int>>("answers"); // to the close question and the finish question; 1 = Yes
        QTest::addColumn<bool>("totals");        // the practice's totals are stored
        QTest::addColumn<bool>("built");         // the paper is built
        for (const bool random : {false, true}) {
            const char *kind = random ? "random paper" : "fixed paper";
            QTest::addRow("%s, practice finished", kind) << random << QList<int>{1, 1} << true << true;
            QTest::addRow("%s, practice closed without totals", kind) << random << QList<int>{1, 0} << false << true;
            QTest::addRow("%s, practice kept open", kind) << random << QList<int>{0} << false << false;
        }
    }
    void paperAfterPractice()
    {
        QFETCH(bool, randomPaper);
        QFETCH(QList<int>, answers);
        QFETCH(bool, totals);
        QFETCH(bool, built);
        Program p;
        PracticeWindow *w = p.practise();
        const QString practice = p.window->currentPageId();
        const QString workingCopy = practicetest::totalsRow(p.bank.db(), practice).join(u'|') +
                                    QString::number(p.bank.count(u"tmp"_s, u"page_id=?"_s, {practice}));
        QCOMPARE(p.bank.count(u"tmp"_s), 1);

        p.choosePaper();
        for (int a : answers)
            p.responder.queue(a ? messages::Answer::Yes : messages::Answer::No);
        p.responder.clear();
        click(p.panel9(), randomPaper ? u"SpeedButton33"_s : u"SpeedButton32"_s);

        // The practice window was asked first, through its own close request.
        QVERIFY(p.responder.shown().size() >= 1);
        QCOMPARE(p.responder.shown().at(0).text, u"确定退出,并进行提交汇总成绩吗?"_s);
        if (answers.size() > 1)
            QCOMPARE(p.responder.shown().at(1).text, u"确定进行结束练习吗?"_s);
        QCOMPARE(PracticeWindow::current() == w, !built);

        // The totals are those of the practice: Q1 answered right, one mark, one second.
        const QStringList row = practicetest::totalsRow(p.bank.db(), practice);
        if (totals)
            QCOMPARE(row, (QStringList{practice, u"1"_s, u"0"_s, u"0"_s, u"1"_s, u"0"_s, u"章节练习"_s, u"1"_s}));
        else
            QCOMPARE(row, QStringList());

        const QString paper = p.window->currentPageId();
        if (built) {
            QVERIFY(paper != practice);
            QCOMPARE(p.records(paper), 8);
            QCOMPARE(p.bank.count(u"tmp"_s, u"page_id<>?"_s, {paper}), 0);
            QVERIFY(p.exams->instructionsWindow() && p.exams->instructionsWindow()->isVisible());
            QVERIFY(!p.window->isEnabled());
        } else {
            // Nothing written: no new session, the practice's working copy as it was.
            QCOMPARE(paper, practice);
            QCOMPARE(p.bank.count(u"test_page"_s), 1);
            QCOMPARE(p.bank.count(u"tmp"_s), 1);
            QCOMPARE(practicetest::totalsRow(p.bank.db(), practice).join(u'|') +
                         QString::number(p.bank.count(u"tmp"_s, u"page_id=?"_s, {practice})),
                     workingCopy);
            QVERIFY(!p.exams->instructionsWindow());
            QVERIFY(p.window->isEnabled());
            QVERIFY(!child(p.window.get(), u"Panel7"_s)->isVisible());
            QVERIFY(w->isVisible());
        }
    }

    void practiceAfterAnExam()
    {
        Program p;
        p.chooseChapter();
        p.choosePaper();
        click(p.panel9(), u"SpeedButton32"_s);
        const QString paper = p.window->currentPageId();
        p.throughInstructions();
        QPointer<ExamWindow> exam = p.exams->examWindow();
        QTRY_VERIFY(exam && exam->isVisible());
        QCOMPARE(p.window->examWindow(), exam.data());
        QVERIFY(!p.window->isEnabled());

        // The main window is disabled while an exam runs; the build is reached directly here, as
        // the builds of the result panels will reach it.
        p.clock.advance(1000);
        p.responder.clear();
        p.chapters->sd1Click();
        QTRY_VERIFY(!exam);
        QVERIFY(p.window->isEnabled());
        QCOMPARE(p.bank.count(u"page_total"_s), 0); // closed, not handed in
        PracticeWindow *w = PracticeWindow::current();
        QVERIFY(w && w->isVisible());
        const QString practice = p.window->currentPageId();
        QVERIFY(practice != paper);
        QCOMPARE(p.bank.count(u"tmp"_s), 1);
        QCOMPARE(p.bank.count(u"tmp"_s, u"page_id=?"_s, {practice}), 1);
    }

    void anExamWindowKeptOpenStopsTheBuild()
    {
        Program p;
        PracticeWindow *w = p.practise();
        const QString practice = p.window->currentPageId();
        KeptOpen exam;
        exam.show();
        p.window->setExamWindow(&exam);
        // The practice window closes (with its totals), the exam window does not: nothing is built.
        p.responder.queue(messages::Answer::Yes);
        p.responder.queue(messages::Answer::Yes);
        QPointer<PracticeWindow> closing = w;
        p.chapters->sd1Click();
        QVERIFY(!closing || !closing->isVisible());
        QVERIFY(!PracticeWindow::current());
        QCOMPARE(p.window->currentPageId(), practice);
        QCOMPARE(p.bank.count(u"test_page"_s), 1);
        QCOMPARE(p.bank.count(u"page_total"_s), 1);
        QVERIFY(exam.isVisible());
        p.window->setExamWindow(nullptr);
    }

    void setupPanelsKeepTheSessionState()
    {
        Program p;
        QCOMPARE(p.window->sessionKind(), QString());
        click(p.window.get(), u"SpeedButton3"_s);
        QCOMPARE(p.window->panelKind(), u"章节练习"_s);
        click(p.panel6(), u"sC1"_s);
        QCOMPARE(p.window->sessionKind(), u"章节练习"_s);

        p.choosePaper();
        QCOMPARE(p.window->panelKind(), u"考试"_s);
        QCOMPARE(p.window->sessionKind(), u"模拟考试"_s);

        // The practice window takes its caption from the main window's state.
        PracticeWindow *w = p.practise();
        QCOMPARE(p.window->panelKind(), u"章节练习"_s);
        QCOMPARE(w->windowTitle(), u"章节练习"_s);
        QCOMPARE(w->inputs().sessionKind, u"章节练习"_s);

        click(p.window.get(), u"SpeedButton4"_s);
        p.responder.queue(messages::Answer::Yes);
        p.responder.queue(messages::Answer::No);
        click(p.panel9(), u"SpeedButton33"_s);
        QCOMPARE(p.window->sessionKind(), u"随机考试"_s);
        QCOMPARE(p.window->panelKind(), u"考试"_s);
    }
};

QTEST_MAIN(PracticeSessionRule)
#include "practice_sessionrule.moc"
