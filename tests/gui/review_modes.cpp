// The ten review buttons of the result panels, pressed through the main window after a chapter
// practice and after a mock exam: the windows they reopen, their inputs, the empty-selection
// messages, the resets and a one-row selection.
#include "../unit/exam_fixture.h"
#include "../unit/practice_fixture.h"
#include "practice_gui.h"

#include "db/connection.h"
#include "db/sql.h"
#include "exam/ui/examquestionview.h"
#include "exam/ui/examwindow.h"
#include "practice/ui/practicequestionview.h"
#include "practice/ui/practicewindow.h"
#include "records/ui/examresultpanel.h"
#include "session/ui/mockexampanel.h"
#include "shell/apppaths.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "windows/ui/instructionswindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace practicegui;

namespace {

struct Program
{
    explicit Program(const QString &dir)
    {
        // Screenshots show the pictures of the assembled program folder.
        if (qEnvironmentVariableIsSet("QM_SCREENSHOTS")) {
            const QDir skin(QStringLiteral(QM_APP_DIR) + u"/skin"_s);
            for (const QString &file : skin.entryList(QDir::Files))
                QFile::copy(skin.filePath(file), dir + u"/skin/"_s + file);
        }
        Clock::install(&clock);
        AppPaths::setCurrent(dir);
        window = std::make_unique<MainWindow>(&display);
        window->setOnlineProbe([] { return false; });
        window->show();
        if (!window->firstShow())
            qFatal("main window did not open the bank");
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
    FakeClock clock{QDateTime(QDate(2030, 5, 6), QTime(9, 30, 0))};
    FakeDisplayMode display{QSize(1366, 768)};
    messages::Responder responder;
    std::unique_ptr<MainWindow> window;

    QWidget *panel(const QString &name) const { return window->panel(name); }
    void press(const QString &button)
    {
        responder.clear();
        click(window.get(), button);
    }
    // The one message shown since the last press, with the application title as its caption.
    QString message() const
    {
        if (responder.shown().size() != 1)
            qFatal("expected one message, got %d", int(responder.shown().size()));
        if (responder.shown().first().caption != u"Quillmark")
            qFatal("caption %s", qPrintable(responder.shown().first().caption));
        return responder.shown().first().text;
    }
    bool waitNoticeShown() const { return child(window.get(), u"Panel7"_s)->isVisible(); }
    QString record(const QString &pId, const QString &column) const
    {
        return db::scalar(db::bank(), u"select "_s + column + u" from test_page where page_id=? and p_id=?"_s,
                          {window->currentPageId(), pId})
            .toString();
    }
};

QStringList rowIds(const PracticeWindow *w)
{
    QStringList ids;
    for (const practice::PracticeRow &r : w->session().rows())
        ids << (r.subNumber == u"0" ? r.pId : r.pId + u'-' + r.subNumber);
    return ids;
}

// Closes the current review window; its close request finishes the session again.
void finishCurrent(Program &p)
{
    QPointer<PracticeWindow> w = PracticeWindow::current();
    QVERIFY(w);
    p.responder.queue(messages::Answer::Yes);
    p.responder.queue(messages::Answer::Yes);
    w->close();
    QVERIFY(!PracticeWindow::current());
}

QStringList pictures(const ExamWindow *w)
{
    QStringList out;
    for (const QString &name : {u"firstButton"_s, u"previousButton"_s, u"nextButton"_s, u"lastButton"_s})
        out << child<QToolButton>(w, name)->property("picture").toString();
    return out;
}

// With QM_SCREENSHOTS set to a folder, the windows under test are saved there for a look.
void shot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("QM_SCREENSHOTS");
    if (!dir.isEmpty())
        w->grab().save(dir + u'/' + name + u".png"_s);
}

const QStringList kFirstRow = {u"skin/off_first.bmp"_s, u"skin/off_pir.bmp"_s, u"skin/next.bmp"_s, u"skin/last.bmp"_s};
const QStringList kLastRow = {u"skin/first.bmp"_s, u"skin/pirr.bmp"_s, u"skin/off_next.bmp"_s, u"skin/off_last.bmp"_s};

} // namespace

class ReviewModesGui : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void buttonsBeforeAnySession_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        for (const QString &b :
             {u"SpeedButton16"_s, u"SpeedButton13"_s, u"SpeedButton14"_s, u"SpeedButton17"_s, u"SpeedButton15"_s})
            QTest::newRow(qPrintable(b)) << b << u"当前没有练习记录,请先进行练习...."_s;
        for (const QString &b :
             {u"SpeedButton37"_s, u"SpeedButton34"_s, u"SpeedButton35"_s, u"SpeedButton38"_s, u"SpeedButton36"_s})
            QTest::newRow(qPrintable(b)) << b << u"当前没有考试记录,请先进行模拟考试...."_s;
    }
    void buttonsBeforeAnySession()
    {
        QFETCH(QString, button);
        QFETCH(QString, message);
        practicetest::Fixture f(u"fixture"_s, false);
        Program p(f.bank.dir());
        p.press(button);
        QCOMPARE(p.message(), message);
        QVERIFY(!PracticeWindow::current());
        QVERIFY(!p.window->findChild<MockExamPanel *>()->examWindow());
        QVERIFY(!p.waitNoticeShown());
    }

    void practiceReviews()
    {
        practicetest::Fixture f(u"fixture"_s, false);
        Program p(f.bank.dir());
        click(p.window.get(), u"SpeedButton3"_s);
        click(p.panel(u"Panel6"_s), u"sC1"_s);
        child<QCheckBox>(p.panel(u"Panel6"_s), u"CheckBox2"_s)->setChecked(false);
        click(p.panel(u"Panel6"_s), u"sd1"_s);
        PracticeWindow *w = PracticeWindow::current();
        QVERIFY(w);
        click(w, u"optionA"_s); // Q1 right
        click(w, u"nextButton"_s);
        click(w, u"optionB"_s); // Q2 wrong
        click(w, u"nextButton"_s);
        click(w, u"optionA"_s); // Q3 right, recorded by the finish
        finishCurrent(p);
        QCOMPARE(p.window->frontPanel(), p.panel(u"Panel6"_s));

        // "查看错题": a one-row selection, answers open, own answers visible.
        p.press(u"SpeedButton13"_s);
        QPointer<PracticeWindow> wrong = PracticeWindow::current();
        QVERIFY(wrong && wrong->isVisible());
        QVERIFY(!p.waitNoticeShown());
        QCOMPARE(rowIds(wrong), QStringList{u"Q2"_s});
        QCOMPARE(wrong->windowTitle(), u"章节练习"_s);
        QCOMPARE(text(wrong, u"Label27"_s), u"1"_s);
        QCOMPARE(text(wrong, u"Label24"_s), u"30"_s);
        QCOMPARE(text(wrong, u"Label33"_s), u"09:30:00"_s);
        QCOMPARE(text(wrong, u"Label67"_s), u"计算分析题:"_s);
        QCOMPARE(wrong->inputs().headerPicture, u"skin/e_1.bmp"_s);
        QCOMPARE(child<PracticeQuestionView>(wrong, u"questionArea"_s)->answerPanelHeight(), 169);
        QVERIFY(!child(wrong, u"answerCover"_s)->isVisible());
        QVERIFY(child<QPushButton>(wrong, u"showAnswerButton"_s)->isEnabled());
        QVERIFY(child<QTimer>(wrong, u"Timer2"_s)->isActive());
        QVERIFY(!child<QTimer>(wrong, u"Timer1"_s)->isActive());
        QCOMPARE(text(wrong, u"yourAnswer"_s), u"B"_s);
        shot(wrong, u"practice-wrong"_s);

        // "查看对题" closes the open review through its close request first.
        p.responder.clear();
        p.responder.queue(messages::Answer::Yes);
        p.responder.queue(messages::Answer::Yes);
        click(p.window.get(), u"SpeedButton14"_s);
        QCOMPARE(p.responder.shown().first().text, u"确定退出,并进行提交汇总成绩吗?"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!wrong);
        PracticeWindow *right = PracticeWindow::current();
        QVERIFY(right);
        QCOMPARE(rowIds(right), QStringList({u"Q1"_s, u"Q3"_s}));
        QCOMPARE(right->inputs().headerPicture, QString());
        QCOMPARE(child<PracticeQuestionView>(right, u"questionArea"_s)->answerPanelHeight(), 0);
        QCOMPARE(f.bank.count(u"page_total"_s), 1);
        // Keeping the open window stops a reset before anything is cleared.
        p.responder.clear();
        p.responder.queue(messages::Answer::No);
        click(p.window.get(), u"SpeedButton15"_s);
        QCOMPARE(PracticeWindow::current(), right);
        QCOMPARE(f.bank.count(u"test_page"_s, u"p_do_yn=1"_s), 3);
        QVERIFY(!p.waitNoticeShown());

        // "未做题目": the answers stay covered.
        finishCurrent(p);
        p.press(u"SpeedButton17"_s);
        PracticeWindow *undone = PracticeWindow::current();
        QCOMPARE(rowIds(undone), QStringList({u"Q4A"_s, u"Q5-1"_s, u"Q5-2"_s, u"Q5-3"_s, u"Q6"_s}));
        QCOMPARE(text(undone, u"Label27"_s), u"3"_s);
        QCOMPARE(undone->inputs().headerPicture, u"skin/n_1.bmp"_s);
        QVERIFY(!child(undone, u"answerCover"_s)->isHidden());

        // "查看所有答案": every row of the session, no clock, "显示答案" off.
        finishCurrent(p);
        p.press(u"SpeedButton16"_s);
        PracticeWindow *all = PracticeWindow::current();
        QCOMPARE(all->session().count(), 8);
        QCOMPARE(text(all, u"Label27"_s), u"6"_s);
        QCOMPARE(all->inputs().headerPicture, u"skin/a_1.bmp"_s);
        QVERIFY(!child<QPushButton>(all, u"showAnswerButton"_s)->isEnabled());
        QVERIFY(!child<QTimer>(all, u"Timer2"_s)->isActive());
        QCOMPARE(child<PracticeQuestionView>(all, u"questionArea"_s)->answerPanelHeight(), 169);
        shot(all, u"practice-all"_s);

        // "重新练习": every answer cleared, earlier answers kept and shown.
        finishCurrent(p);
        p.press(u"SpeedButton15"_s);
        PracticeWindow *again = PracticeWindow::current();
        QCOMPARE(again->session().count(), 8);
        QCOMPARE(again->inputs().headerPicture, u"skin/s_1.bmp"_s);
        QCOMPARE(f.bank.count(u"test_page"_s, u"p_do_yn=1 or p_real_yn=1 or p_answer<>''"_s), 0);
        QCOMPARE(p.record(u"Q2"_s, u"p_first_answer"_s), u"B"_s);
        QCOMPARE(text(again, u"firstAnswer"_s), u"A"_s); // Q1
        QCOMPARE(text(again, u"yourAnswer"_s), QString());

        // Nothing answered now: the filtered reviews say so and open nothing.
        finishCurrent(p);
        p.press(u"SpeedButton14"_s);
        QCOMPARE(p.message(), u"对不起!....当前全是错误记录,请点击重新进行练习"_s);
        p.press(u"SpeedButton13"_s);
        QCOMPARE(p.message(), u"当前无错误记录或全部未做完,请考虑是否进行练习..."_s);
        QVERIFY(!PracticeWindow::current());
        QVERIFY(!p.waitNoticeShown());
        db::run(db::bank(), u"update test_page set p_do_yn=1,p_real_yn=1"_s);
        p.press(u"SpeedButton17"_s);
        QCOMPARE(p.message(), u"恭喜!....当前记录全部已做完...."_s);
        QVERIFY(!PracticeWindow::current());
    }

    void examReviews()
    {
        TestBank bank(u"fixture"_s);
        examfixture::smallBank(bank);
        Program p(bank.dir());
        auto *panel = p.window->findChild<MockExamPanel *>();
        click(p.window.get(), u"SpeedButton4"_s);
        auto *courses = child<QComboBox>(p.window.get(), u"ComboBox2"_s);
        courses->setCurrentIndex(courses->findText(u"会计基础"_s));
        Q_EMIT courses->activated(courses->currentIndex());
        click(p.window.get(), u"tT1"_s);
        child<QSpinBox>(p.window.get(), u"Edit11"_s)->setValue(90);
        child<QSpinBox>(p.window.get(), u"Edit10"_s)->setValue(14);
        click(p.window.get(), u"SpeedButton32"_s);
        InstructionsWindow *slides = panel->instructionsWindow();
        slides->finishWait();
        click(slides, u"SpeedButton2"_s);
        click(slides, u"SpeedButton3"_s);
        slides->finishWait();
        click(slides, u"SpeedButton1"_s);
        QPointer<ExamWindow> exam = panel->examWindow();
        QTRY_VERIFY(exam && exam->isVisible());
        // S1, J1 right, K1 answered (3.5 marks), M1 wrong; S1 marked; S2 M2 J2 K2 not answered.
        const QSqlDatabase db = db::bank();
        const QString pageId = p.window->currentPageId();
        db::run(db, u"update test_page set p_do_yn=1,p_real_yn=1,p_answer='A' where p_id in ('S1','J1')"_s);
        db::run(db, u"update test_page set p_do_yn=1,p_real_yn=1,p_answer='1/2',p_score=3.5 where p_id='K1'"_s);
        db::run(db, u"update test_page set p_do_yn=1,p_real_yn=0,p_answer='AB' where p_id='M1'"_s);
        db::run(db, u"update test_page set p_mask=1 where p_id='S1'"_s);
        click(exam, u"handInButton"_s);
        QTRY_VERIFY(!exam);
        QVERIFY(p.window->isEnabled());
        shot(p.window.get(), u"exam-result-panel"_s);

        // "查看错题": unanswered questions count as wrong; no countdown, the main window stays usable.
        p.clock.set(QDateTime(QDate(2030, 5, 6), QTime(10, 15, 0)));
        p.press(u"SpeedButton34"_s);
        exam = panel->examWindow();
        QVERIFY(exam && exam->isVisible());
        QVERIFY(p.responder.shown().isEmpty());
        QVERIFY(p.window->isEnabled());
        QVERIFY(!exam->countdownRunning());
        QVERIFY(!p.waitNoticeShown());
        QCOMPARE(exam->windowTitle(), u"模拟考试"_s);
        QCOMPARE(exam->session().cursor().ids(), QStringList({u"S2"_s, u"M1"_s, u"M2"_s, u"J2"_s, u"K2"_s}));
        QCOMPARE(text(exam, u"Label3"_s), u"第1题                共计5题"_s);
        QCOMPARE(text(exam, u"Label9"_s), u"90分钟"_s);
        QCOMPARE(text(exam, u"Label8"_s), u"2030-05-06 10:15:00"_s);
        QCOMPARE(text(exam, u"courseName"_s), u"会计基础"_s);
        QCOMPARE(text(exam, u"paperName"_s), u"2024年会计基础模拟试卷(一)"_s);
        QCOMPARE(text(exam, u"markState"_s), u"未标记"_s);
        QCOMPARE(exam->fontSize(), 14);
        QCOMPARE(exam->session().inputs().fullMarks, 16.0);
        QVERIFY(child(exam, u"Panel40"_s)->isVisible());
        QCOMPARE(child(exam, u"Image3"_s)->property("picture").toString(), u"skin/e_2.bmp"_s);
        QVERIFY(child<ExamQuestionView>(exam, QString())->answerShown());
        QCOMPARE(child<QPushButton>(exam, u"answerButton"_s)->text(), u"隐藏答案"_s);
        QVERIFY(!child(exam, u"answerCover"_s)->isVisible());
        QStringList headings;
        auto *tree = child<QTreeWidget>(exam, u"tv"_s);
        for (int k = 0; k < tree->topLevelItemCount(); ++k)
            headings << tree->topLevelItem(k)->text(0);
        QCOMPARE(headings,
                 QStringList({u"单选题(共1题)"_s, u"多选题(共2题)"_s, u"判断题(共1题)"_s, u"计算分析题(共4题)"_s}));
        QCOMPARE(pictures(exam), kFirstRow);
        shot(exam, u"exam-wrong"_s);
        // The counter and pictures follow the cursor.
        click(exam, u"lastButton"_s);
        QCOMPARE(text(exam, u"Label3"_s), u"第5题               共5题"_s);
        QCOMPARE(pictures(exam), kLastRow);

        // "查看对题" replaces the window; its first row is marked.
        p.press(u"SpeedButton35"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!exam);
        exam = panel->examWindow();
        QCOMPARE(exam->session().cursor().ids(), QStringList({u"S1"_s, u"J1"_s, u"K1"_s}));
        QCOMPARE(text(exam, u"Label3"_s), u"第1题                共计3题"_s);
        QCOMPARE(text(exam, u"markState"_s), u"已标记"_s);
        QCOMPARE(exam->session().inputs().fullMarks, 12.0);
        QCOMPARE(child(exam, u"Image3"_s)->property("picture").toString(), u"skin/a_1.bmp"_s);

        // "查看所有答案"
        p.press(u"SpeedButton37"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        exam = panel->examWindow();
        QCOMPARE(text(exam, u"Label3"_s), u"第1题                共计8题"_s);
        QCOMPARE(exam->session().inputs().fullMarks, 28.0);
        QVERIFY(child<ExamQuestionView>(exam, QString())->answerShown());

        // "未做题目" of a single row: first-row pictures, answer panel closed.
        db::run(db, u"update test_page set p_do_yn=1 where page_id=? and p_id<>'J2'"_s, {pageId});
        p.press(u"SpeedButton38"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        exam = panel->examWindow();
        QCOMPARE(exam->session().cursor().ids(), QStringList{u"J2"_s});
        QCOMPARE(text(exam, u"Label3"_s), u"第1题                共计1题"_s);
        QCOMPARE(pictures(exam), kFirstRow);
        QCOMPARE(child(exam, u"Image3"_s)->property("picture").toString(), u"skin/n_2.bmp"_s);
        QVERIFY(!child<ExamQuestionView>(exam, QString())->answerShown());
        QCOMPARE(child<QPushButton>(exam, u"answerButton"_s)->text(), u"显示答案"_s);
        QVERIFY(!child(exam, u"answerCover"_s)->isVisible());
        shot(exam, u"exam-unanswered-one-row"_s);

        // "重新考试": answers cleared, stored as "重新考试" at the next hand-in.
        p.press(u"SpeedButton36"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        exam = panel->examWindow();
        QCOMPARE(exam->windowTitle(), u"重新考试"_s);
        QCOMPARE(p.window->sessionKind(), u"重新考试"_s);
        QCOMPARE(p.window->currentPageId(), pageId);
        QCOMPARE(bank.count(u"test_page"_s, u"page_id=? and (p_do_yn=1 or p_real_yn=1)"_s, {pageId}), 0);
        QCOMPARE(text(exam, u"Label3"_s), u"第1题                共计8题"_s);
        QCOMPARE(child(exam, u"Image3"_s)->property("picture").toString(), u"skin/s_1.bmp"_s);
        QVERIFY(!exam->countdownRunning());
        p.responder.clear();
        click(exam, u"handInButton"_s);
        QTRY_VERIFY(!exam);
        QCOMPARE(db::scalar(db, u"select p_type from page_total where page_id=?"_s, {pageId}).toString(),
                 u"重新考试"_s);
        QCOMPARE(bank.count(u"page_total"_s), 1);
        QCOMPARE(panel->resultPanel()->value(u"满分:"_s), u"28 分"_s);

        // Empty selections.
        p.press(u"SpeedButton35"_s);
        QCOMPARE(p.message(), u"对不起!....当前全是错误记录,请点击重新进行考试"_s);
        db::run(db, u"update test_page set p_do_yn=1,p_real_yn=1 where page_id=?"_s, {pageId});
        p.press(u"SpeedButton34"_s);
        QCOMPARE(p.message(), u"恭喜!....当前无错误记录,您太厉害了！"_s);
        p.press(u"SpeedButton38"_s);
        QCOMPARE(p.message(), u"当前没有未做的记录....."_s);
        QVERIFY(!panel->examWindow());
        QVERIFY(!p.waitNoticeShown());
    }
};

QTEST_MAIN(ReviewModesGui)
#include "review_modes.moc"
