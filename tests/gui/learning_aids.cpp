// The learning aids on the demo bank through the main window: an entries-mode answer explained
// line by line, the study report with its charts and its weak-chapter practice, today's reviews,
// and the notice of questions whose key an update changed.
#include "practice_gui.h"

#include "db/connection.h"
#include "db/sql.h"
#include "exam/examsession.h"
#include "exam/ui/examquestionview.h"
#include "practice/entrycheck.h"
#include "practice/entrytext.h"
#include "practice/ui/entrycheckview.h"
#include "practice/ui/entryeditor.h"
#include "practice/ui/practicewindow.h"
#include "records/changedquestions.h"
#include "records/ui/ratebars.h"
#include "records/ui/studypanel.h"
#include "records/ui/studyreportview.h"
#include "shell/apppaths.h"
#include "shell/clock.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/testbank.h"
#include "update/updatejob.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace practicegui;

namespace {

const QString kDemo = QStringLiteral(QM_APP_DIR) + u"/data/sys.htm"_s;

// With QM_SHOT_DIR naming a folder, the window is saved there as a picture for a look.
void shot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("QM_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QTest::qWait(100); // children added to a shown layout appear through the event loop
    widget->window()->grab().save(dir + u'/' + name + u".png"_s);
}

// A program folder holding a copy of the demo bank.
struct DemoFolder
{
    DemoFolder()
    {
        db::closeBank(u"aids-demo"_s);
        QFile::remove(bank.path(u"data/sys.htm"_s));
        ok = QFile::copy(kDemo, bank.path(u"data/sys.htm"_s));
        QFile(bank.path(u"data/sys.htm"_s)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QString error;
        ok = ok && db::openBank(bank.path(u"data/sys.htm"_s), u"aids-demo"_s, &error);
    }
    TestBank bank{u"aids-demo"_s};
    bool ok = false;
};

struct Program
{
    explicit Program(const QString &dir, const QDateTime &now = QDateTime(QDate(2030, 5, 6), QTime(9, 30, 0)))
        : clock(now)
    {
        Clock::install(&clock);
        AppPaths::setCurrent(dir);
        window = std::make_unique<MainWindow>(&display);
        window->setOnlineProbe([] { return false; });
        window->show();
        ok = window->firstShow();
    }
    ~Program()
    {
        closePractice();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Clock::install(nullptr);
    }
    void closePractice()
    {
        if (PracticeWindow *w = PracticeWindow::current()) {
            responder.queue(messages::Answer::Yes);
            responder.queue(messages::Answer::No);
            w->close();
        }
    }
    messages::Responder responder; // before the window: the start may ask
    FakeClock clock;
    FakeDisplayMode display{QSize(1366, 768)};
    std::unique_ptr<MainWindow> window;
    bool ok = false;

    QWidget *panel6() const { return window->panel(u"Panel6"_s); }
    QWidget *panel8() const { return window->panel(u"Panel8"_s); }

    // Chapter practice of every question of the n-th chapter of a course.
    PracticeWindow *practise(int course, int chapter)
    {
        click(window.get(), u"SpeedButton3"_s);
        auto *courses = child<QComboBox>(panel6(), u"ComboBox1"_s);
        courses->setCurrentIndex(course);
        Q_EMIT courses->activated(course);
        const QList<QPushButton *> chapters = child(panel6(), u"chapterButtons"_s)->findChildren<QPushButton *>();
        if (chapter >= chapters.size())
            return nullptr;
        chapters.at(chapter)->click();
        child<QCheckBox>(panel6(), u"CheckBox2"_s)->setChecked(false);
        click(panel6(), u"sd1"_s);
        return PracticeWindow::current();
    }
    // Answers "A" everywhere (wrong often enough), then finishes.
    void answerAllA(PracticeWindow *w)
    {
        for (int k = 0; k < w->session().count(); ++k) {
            const int type = w->session().current()->typeCode();
            if (type != 4 && type != 6)
                click(w, u"optionA"_s);
            click(w, u"nextButton"_s);
        }
        responder.queue(messages::Answer::Yes);
        click(w, u"finishButton"_s);
    }
    StudyReportView *openReport()
    {
        click(window.get(), u"SpeedButton9"_s);
        click(panel8(), u"adviceButton"_s);
        return child<StudyReportView>(panel8(), u"studyReport"_s);
    }
};

} // namespace

class LearningAidsGui : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        if (!QFile::exists(kDemo))
            QSKIP("the demo bank is not assembled in this build");
    }

    void entryAnswerExplainedInPractice()
    {
        DemoFolder folder;
        QVERIFY(folder.ok);
        Program p(folder.bank.dir());
        QVERIFY(p.ok);
        // The first chapter of the first course that holds an entries-mode calculation question.
        PracticeWindow *w = nullptr;
        int row = -1;
        for (int chapter = 0; chapter < 8 && row < 0; ++chapter) {
            p.closePractice();
            p.clock.advance(1000);
            w = p.practise(0, chapter);
            if (!w)
                break;
            for (int k = 0; k < w->session().count() && row < 0; ++k) {
                const practice::PracticeRow &r = w->session().rows().at(k);
                if (r.typeCode() == 4 && !r.amountsMode && r.options[0].count(u';') >= 1)
                    row = k;
            }
        }
        QVERIFY2(row >= 0, "no entries-mode question in the first chapters");
        const practice::PracticeRow r = w->session().rows().at(row);
        goToRow(w, r.pId);
        // Sub-item 1 with its lines in reverse order and the first one on the wrong side.
        practice::EditorContent content = practice::editorContentFor(false, false, {});
        const practice::SubItemLines key = practice::parseSubItem(r.options[0]);
        int n = 0;
        for (const practice::EntryLine &l : key)
            n += l.taken() ? 1 : 0;
        for (int k = 0; k < n; ++k)
            content.lines[0][k] = key[n - 1 - k];
        practice::EntryLine &flipped = content.lines[0][n - 1];
        flipped.direction =
            flipped.direction == practice::Direction::Debit ? practice::Direction::Credit : practice::Direction::Debit;
        child<EntryEditor>(w, u"entryEditor"_s)->setContent(content);

        auto *check = child<EntryCheckView>(w, u"entryCheck"_s);
        QVERIFY(!check->hasChecks()); // not judged yet
        QVERIFY(w->recordAnswer());
        click(w, u"showAnswerButton"_s);
        QVERIFY(check->isVisibleTo(w));
        const QString shown = check->toPlainText();
        QVERIFY2(shown.contains(u"第1小题：1处错误（不得分）"_s), qPrintable(shown));
        QVERIFY2(shown.contains(u"方向错误："_s + practice::lineText(flipped)), qPrintable(shown));
        QCOMPARE(shown.count(u"正确："_s), n - 1);
        shot(w, u"aids-entry-explained"_s);

        // Another question, not judged yet, has nothing to explain.
        click(w, u"nextButton"_s);
        if (w->session().current()->pId != r.pId)
            QVERIFY(!check->hasChecks());
    }

    // In the exam window the explanation, like the learner's own answer, stays under the cover
    // during the exam and shows in the review modes, which take the cover away.
    void entryAnswerExplainedInExamReview()
    {
        AppPaths::setCurrent(QStringLiteral(QM_APP_DIR));
        ExamQuestionView view;
        view.resize(900, 600);
        view.show();
        AnswerPanelTexts texts;
        texts.entryChecks =
            practice::checkEntries(u"借:原材料=500;贷:银行存款=600////"_s,
                                   {u"借:原材料=600;贷:银行存款=600"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s});
        auto *check = child<EntryCheckView>(&view, u"entryCheck"_s);
        view.setAnswerCoverShown(true);
        view.setAnswerShown(true);
        view.setAnswerTexts(texts);
        QVERIFY(!check->hasChecks());
        view.setAnswerCoverShown(false);
        QVERIFY(check->hasChecks());
        QVERIFY(check->isVisibleTo(&view));
        QVERIFY(check->toPlainText().contains(u"金额错误：借:原材料=500，应为 600"_s));
        view.setAnswerTexts({});
        QVERIFY(!check->hasChecks());
    }

    void reportWeakChaptersAndReviews()
    {
        DemoFolder folder;
        QVERIFY(folder.ok);
        Program p(folder.bank.dir());
        QVERIFY(p.ok);
        PracticeWindow *w = p.practise(0, 0);
        QVERIFY(w);
        const QString courseName = w->session().current()->course;
        p.answerAllA(w);
        QVERIFY(!PracticeWindow::current());
        const QString pageId = p.window->currentPageId();
        const int wrong = db::scalar(db::bank(),
                                     u"select count(*) from test_page where page_id=? and p_do_yn=1 and "
                                     "p_real_yn=0"_s,
                                     {pageId})
                              .toInt();
        QVERIFY(wrong > 0);

        StudyReportView *report = p.openReport();
        auto *course = child<QComboBox>(report, u"adviceCourse"_s);
        course->setCurrentIndex(course->findText(courseName));
        Q_EMIT course->activated(course->currentIndex());
        QCOMPARE(p.panel8()->findChild<QStackedWidget *>(u"studyGroups"_s)->currentWidget()->objectName(),
                 u"gbAdvice"_s);
        const records::StudyReport &r = report->report();
        QVERIFY(!r.chapters.isEmpty());
        const records::RateLine *practised = nullptr;
        for (const records::RateLine &c : r.chapters) {
            if (c.answeredQuestions > 0) {
                QVERIFY(!practised);
                practised = &c;
            }
        }
        QVERIFY(practised);
        const records::RateLine &first = *practised;
        auto *bars = child<RateBars>(report, u"rate_"_s + first.key);
        QCOMPARE(bars->latest(), first.latestRate());
        QVERIFY(bars->latest() >= 0 && bars->latest() < 100);
        // Every other chapter of the course is still to be practised.
        QCOMPARE(r.unpractised.size(), r.chapters.size() - 1);
        const QString text = report->browser()->toPlainText();
        QVERIFY(text.contains(u"各题型正确率"_s) && text.contains(u"最常做错的题目"_s));
        QVERIFY(text.contains(r.unpractised.first()));
        QCOMPARE(child<QLabel>(report, u"dueLabel"_s)->text(), u"今日需复习: 0 题"_s);
        QVERIFY(!child<QPushButton>(report, u"reviewTodayButton"_s)->isEnabled());
        QVERIFY(!child<QPushButton>(report, u"changedPracticeButton"_s)->isVisibleTo(report));

        auto *weak = child<QPushButton>(report, u"weakChapter1"_s);
        QVERIFY(weak->isVisibleTo(report));
        QVERIFY(weak->text().contains(first.name));
        QVERIFY(!child<QPushButton>(report, u"weakChapter2"_s)->isVisibleTo(report));
        p.clock.advance(1000);
        click(report, u"weakChapter1"_s);
        PracticeWindow *weakSet = PracticeWindow::current();
        QVERIFY(weakSet);
        QCOMPARE(weakSet->windowTitle(), u"薄弱章节练习"_s);
        QCOMPARE(weakSet->inputs().questionTotal, first.wrongLatest() + first.unanswered());
        p.closePractice();
        QVERIFY(!PracticeWindow::current());

        // The next day the wrong questions are due.
        p.clock.advance(24 * 3600 * 1000);
        p.openReport();
        QCOMPARE(child<QLabel>(report, u"dueLabel"_s)->text(), u"今日需复习: %1 题"_s.arg(wrong));
        QVERIFY(child<QLabel>(report, u"dueCourses"_s)->text().contains(u"%1 题"_s.arg(wrong)));
        shot(report, u"aids-report"_s);
        click(report, u"reviewTodayButton"_s);
        PracticeWindow *review = PracticeWindow::current();
        QVERIFY(review);
        QCOMPARE(review->windowTitle(), u"错题复习"_s);
        QCOMPARE(review->inputs().questionTotal, wrong);
        QCOMPARE(p.window->sessionKind(), u"错题复习"_s);
    }

    void changedQuestionsNoticeAtStart()
    {
        DemoFolder folder;
        QVERIFY(folder.ok);
        // The learner has answered the first question of the bank; an update changes its key.
        QString pId;
        {
            const QSqlDatabase d = folder.bank.db();
            pId = db::scalar(d, u"select min(p_id) from ex_page_id where p_type='1'"_s).toString();
            folder.bank.insert(u"test_page"_s,
                               {u"20300501080000"_s, pId, 1, 0, 0, 0, 0, 0, u"A"_s, 1, 1, 0, 0, u"A"_s, 1.0, 1});
        }
        TestBank incoming(u"aids-incoming"_s);
        db::closeBank(u"aids-incoming"_s);
        QFile::remove(incoming.path(u"data/sys.htm"_s));
        QVERIFY(QFile::copy(kDemo, incoming.path(u"data/sys.htm"_s)));
        QFile(incoming.path(u"data/sys.htm"_s)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        {
            QString error;
            QVERIFY(db::openBank(incoming.path(u"data/sys.htm"_s), u"aids-incoming"_s, &error));
            db::run(db::bank(u"aids-incoming"_s), u"update ex_page_id set p_anwser='D' where p_id=?"_s, {pId});
            db::closeBank(u"aids-incoming"_s);
        }
        {
            FakeClock updateDay(QDateTime(QDate(2030, 5, 3), QTime(20, 0, 0)));
            Clock::install(&updateDay);
            UpdateJob job(folder.bank.dir());
            const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
            Clock::install(nullptr);
            QCOMPARE(outcome.result, UpdateJob::Result::Merged);
            QVERIFY(outcome.report.contains(u"其中您做过的题目:1  题"_s));
        }

        {
            Program p(folder.bank.dir());
            QVERIFY(p.ok);
            QCOMPARE(p.responder.lastText(), records::changedNotice(1));
            PracticeWindow *w = PracticeWindow::current();
            QVERIFY(w);
            QCOMPARE(w->windowTitle(), u"答案更新练习"_s);
            QCOMPARE(w->session().current()->pId, pId);
            QCOMPARE(w->session().current()->correct, u"D"_s);
            p.closePractice();

            // The report lists it and offers it again.
            StudyReportView *report = p.openReport();
            auto *course = child<QComboBox>(report, u"adviceCourse"_s);
            for (int k = 0;
                 k < course->count() && !child<QPushButton>(report, u"changedPracticeButton"_s)->isVisibleTo(report);
                 ++k) {
                course->setCurrentIndex(k);
                Q_EMIT course->activated(k);
            }
            auto *again = child<QPushButton>(report, u"changedPracticeButton"_s);
            QVERIFY(again->isVisibleTo(report));
            QCOMPARE(again->text(), u"练习答案已修改的题目（1 题）"_s);
            QVERIFY(report->browser()->toPlainText().contains(u"题库更新后答案已修改的题目"_s));
            shot(report, u"aids-report-changed"_s);
        }
        // Told once: the next start says nothing.
        Program next(folder.bank.dir());
        QVERIFY(next.ok);
        QVERIFY(next.responder.shown().isEmpty());
        QVERIFY(!PracticeWindow::current());
    }
};

QTEST_MAIN(LearningAidsGui)
#include "learning_aids.moc"
