// The mock exam from the main window's "模拟考场" to the exam-result group: a fixed paper handed in by
// the learner, a random paper handed in by the countdown, a paper started after the course list
// moved on, and the panel's messages. Runs on the demo bank of the assembled program folder when it
// exists, else on the small fixture bank.
#include "unit/exam_fixture.h"

#include "db/connection.h"
#include "db/sql.h"
#include "exam/ui/examwindow.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// The program folder: a copy of the demo bank when the build assembled one, else the fixture bank.
struct Folder
{
    Folder()
    {
        const QString demo = QStringLiteral(QM_APP_DIR) + u"/data/sys.htm"_s;
        if (QFile::exists(demo)) {
            QDir(dir.path()).mkpath(u"data"_s);
            QDir(dir.path()).mkpath(u"skin"_s);
            QFile::copy(demo, dir.filePath(u"data/sys.htm"_s));
            QFile ini(dir.filePath(u"main.ini"_s));
            if (!ini.open(QIODevice::WriteOnly))
                qFatal("cannot write main.ini");
            ini.write("[main]\r\n[config]\r\n");
            path = dir.path();
            usingDemo = true;
        } else {
            fixture = std::make_unique<TestBank>(u"fixture"_s);
            examfixture::smallBank(*fixture);
            path = fixture->dir();
        }
    }
    QTemporaryDir dir;
    std::unique_ptr<TestBank> fixture;
    QString path;
    bool usingDemo = false;
};

struct Flow
{
    Folder folder;
    NullDisplayMode display;
    messages::Responder responder;
    std::unique_ptr<MainWindow> main;
    MockExamPanel *panel = nullptr;

    Flow()
    {
        AppPaths::setCurrent(folder.path);
        main = std::make_unique<MainWindow>(&display);
        main->setOnlineProbe([] { return false; });
        main->show();
        if (!main->firstShow())
            qFatal("main window did not open the bank");
        panel = main->findChild<MockExamPanel *>();
        main->findChild<QToolButton *>(u"SpeedButton4"_s)->click();
    }

    template <typename T> T *in(QWidget *parent, const QString &name) const
    {
        T *w = parent->findChild<T *>(name);
        if (!w)
            qFatal("no widget %s", qPrintable(name));
        return w;
    }
    void chooseCourse(const QString &part)
    {
        auto *combo = in<QComboBox>(main.get(), u"ComboBox2"_s);
        const int index = combo->findText(part, Qt::MatchContains);
        QVERIFY2(index >= 0, qPrintable(part));
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }
    // The instructions window from its first slide to the start hot spot.
    void throughInstructions()
    {
        InstructionsWindow *slides = panel->instructionsWindow();
        QVERIFY(slides && slides->isVisible());
        QVERIFY(!main->isEnabled());
        slides->finishWait();
        in<QToolButton>(slides, u"SpeedButton2"_s)->click();
        in<QToolButton>(slides, u"SpeedButton3"_s)->click();
        slides->finishWait();
        QCOMPARE(slides->currentPicture(), u"skin/logon-5.jpg"_s);
        in<QToolButton>(slides, u"SpeedButton1"_s)->click();
        QTRY_VERIFY(panel->examWindow()->isVisible());
        QVERIFY(!main->isEnabled());
    }
    ExamWindow *exam() const { return panel->examWindow(); }
    QTreeWidget *tree() const { return in<QTreeWidget>(exam(), u"tv"_s); }
    QTreeWidgetItem *heading(const QString &name) const
    {
        for (int k = 0; k < tree()->topLevelItemCount(); ++k) {
            if (tree()->topLevelItem(k)->text(0).startsWith(name))
                return tree()->topLevelItem(k);
        }
        return nullptr;
    }
    void clickNode(QTreeWidgetItem *item)
    {
        tree()->scrollToItem(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
    }
    // Answers the first question (or sub-item) under each heading present; returns the ids answered.
    QStringList answerOneOfEachType()
    {
        QStringList answered;
        for (const QString &name : {u"单选题"_s, u"多选题"_s, u"判断题"_s, u"计算分析题"_s, u"案例分析题"_s}) {
            QTreeWidgetItem *h = heading(name);
            if (!h)
                continue;
            QTreeWidgetItem *node = h->child(0);
            for (int k = 0; name == u"案例分析题" && k < h->childCount(); ++k) {
                if (h->child(k)->text(0).contains(u'-')) { // a sub-question node
                    node = h->child(k);
                    break;
                }
            }
            clickNode(node);
            answered << exam()->session().question()->pId;
            if (name == u"计算分析题") {
                if (in<QLineEdit>(exam(), u"computedAmount1"_s)->isVisible()) {
                    QTest::keyClicks(in<QLineEdit>(exam(), u"computedAmount1"_s), u"100"_s);
                } else {
                    in<QToolButton>(exam(), u"debit1_1"_s)->click();
                    in<QLineEdit>(exam(), u"account1_1"_s)->setText(u"银行存款"_s);
                    QTest::keyClicks(in<QLineEdit>(exam(), u"amount1_1"_s), u"100"_s);
                }
            } else {
                in<QCheckBox>(exam(), u"option1"_s)->click();
            }
        }
        // Leaving the last one records it.
        clickNode(tree()->topLevelItem(0)->child(0));
        return answered;
    }
    bool done(const QString &pId) const
    {
        return db::scalar(db::bank(), u"select p_do_yn from test_page where page_id=? and p_id=?"_s,
                          {main->currentPageId(), pId})
            .toBool();
    }
    QString result(const QString &caption) const { return panel->resultPanel()->value(caption); }
    int totalRows() const
    {
        return db::scalar(db::bank(), u"select count(*) from page_total where page_id=?"_s, {main->currentPageId()})
            .toInt();
    }
};

} // namespace

class ExamFlow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fixedPaperHandedInByTheLearner()
    {
        Flow f;
        QCOMPARE(f.main->frontPanel()->objectName(), u"Panel9"_s);
        f.chooseCourse(u"基础"_s);
        QList<QToolButton *> papers;
        for (QToolButton *b : f.panel->findChildren<QToolButton *>()) {
            if (b->objectName().startsWith(u't'))
                papers << b;
        }
        QVERIFY(!papers.isEmpty());
        papers.first()->click();
        QVERIFY(f.in<QToolButton>(f.main.get(), u"SpeedButton32"_s)->isEnabled());
        const QString paperName = f.in<QLabel>(f.main.get(), u"Label106"_s)->text();
        const QString total = f.in<QLabel>(f.main.get(), u"Label109"_s)->text();
        f.in<QSpinBox>(f.main.get(), u"Edit11"_s)->setValue(90);
        f.in<QToolButton>(f.main.get(), u"SpeedButton32"_s)->click();
        QCOMPARE(f.in<QLabel>(f.panel->instructionsWindow(), u"Label4"_s)->text(), u"90"_s);
        QCOMPARE(f.in<QLabel>(f.panel->instructionsWindow(), u"Label12"_s)->text(), u"计算分析题"_s);
        f.throughInstructions();
        QPointer<ExamWindow> exam = f.exam();
        QVERIFY(exam->countdownRunning());
        QCOMPARE(exam->session().clock().remaining(), 5400);
        QCOMPARE(f.in<QLabel>(exam, u"Label9"_s)->text(), u"90分钟"_s);
        QCOMPARE(f.in<QLabel>(exam, u"Label3"_s)->text(), u"第1题         共%1题"_s.arg(total));

        const QStringList answered = f.answerOneOfEachType();
        for (const QString &pId : answered)
            QVERIFY2(f.done(pId), qPrintable(pId));
        // A mark for later on the calculation sub-item 1-2.
        QTreeWidgetItem *calc = f.heading(u"计算分析题"_s);
        QVERIFY(calc);
        f.clickNode(calc->child(1));
        const QString calcId = exam->session().question()->pId;
        f.in<QPushButton>(exam, u"markButton"_s)->click();
        QCOMPARE(db::scalar(db::bank(), u"select m_down from tmp where c_p_id=?"_s, {calcId}).toString(),
                 u"false/true/////"_s);

        f.responder.clear();
        f.in<QPushButton>(exam, u"handInButton"_s)->click();
        QCOMPARE(f.responder.shown().size(), 2);
        QVERIFY(f.responder.shown().at(0).text.startsWith(u"您还有"_s));
        QVERIFY(f.responder.shown().at(0).text.endsWith(u"\r\n您确定进行提交试卷吗?"_s));
        QTRY_VERIFY(!exam);
        QTRY_VERIFY(f.main->isEnabled());
        QCOMPARE(f.totalRows(), 1);
        QCOMPARE(db::scalar(db::bank(), u"select p_type from page_total where page_id=?"_s, {f.main->currentPageId()})
                     .toString(),
                 u"模拟考试"_s);
        QCOMPARE(f.main->frontPanel()->objectName(), u"Panel9"_s);
        QVERIFY(f.panel->resultPanel()->isVisible());
        QCOMPARE(f.result(u"考试课程:"_s), f.in<QComboBox>(f.main.get(), u"ComboBox2"_s)->currentText());
        QCOMPARE(f.result(u"考试试卷:"_s), paperName);
        QCOMPARE(f.result(u"试卷题目数:"_s), total + u" 题"_s);
        QCOMPARE(f.result(u"已做完题数:"_s), u"%1 题"_s.arg(answered.size()));
        QCOMPARE(f.result(u"未完成题数:"_s), u"%1 题"_s.arg(total.toInt() - answered.size()));
        QVERIFY(f.result(u"正确率:"_s).endsWith(u'%'));
    }

    void randomPaperHandedInByTheCountdown()
    {
        Flow f;
        f.chooseCourse(u"财经"_s);
        f.in<QSpinBox>(f.main.get(), u"Edit11"_s)->setValue(1);
        f.in<QToolButton>(f.main.get(), u"SpeedButton33"_s)->click();
        QCOMPARE(f.in<QLabel>(f.main.get(), u"Label99"_s)->text(), u"随机试卷"_s);
        QCOMPARE(f.panel->sessionKind(), u"随机考试"_s);
        f.throughInstructions();
        QPointer<ExamWindow> exam = f.exam();
        QVERIFY(f.in<QLabel>(exam, u"Label3"_s)->text().startsWith(u"第1题     共"_s));
        const QStringList answered = f.answerOneOfEachType();
        for (const QString &pId : answered)
            QVERIFY2(f.done(pId), qPrintable(pId));
        QTreeWidgetItem *cases = f.heading(u"案例分析题"_s);
        QVERIFY(cases);
        const QString caseId = answered.last();
        QVERIFY(db::scalar(db::bank(), u"select p_answer from test_page where page_id=? and p_id=?"_s,
                           {f.main->currentPageId(), caseId})
                    .toString()
                    .contains(u'/'));

        f.responder.clear();
        for (int k = 0; k < 59; ++k)
            exam->countdownTick();
        QVERIFY(f.responder.shown().isEmpty());
        exam->countdownTick();
        QCOMPARE(f.responder.lastText(), u"交卷时间到，程序强制交卷！"_s);
        QTRY_VERIFY(!exam);
        QTRY_VERIFY(f.main->isEnabled());
        QCOMPARE(f.totalRows(), 1);
        QCOMPARE(db::scalar(db::bank(), u"select p_type from page_total where page_id=?"_s, {f.main->currentPageId()})
                     .toString(),
                 u"随机考试"_s);
        QCOMPARE(f.result(u"考试课程:"_s), u"随机课程"_s);
        QCOMPARE(f.result(u"考试试卷:"_s), u"随机试卷"_s);
        QCOMPARE(f.result(u"已做完题数:"_s), u"%1 题"_s.arg(answered.size()));
    }

    void untimedExamHasNoCountdown()
    {
        Flow f;
        f.chooseCourse(u"基础"_s);
        f.in<QCheckBox>(f.main.get(), u"CheckBox8"_s)->setChecked(false);
        f.in<QToolButton>(f.main.get(), u"SpeedButton33"_s)->click();
        f.throughInstructions();
        QVERIFY(!f.exam()->countdownRunning());
        QCOMPARE(f.in<QLabel>(f.exam(), u"countdownText"_s)->text(), u"不计时状态"_s);
        f.in<QPushButton>(f.exam(), u"cancelButton"_s)->click();
        QTRY_VERIFY(f.main->isEnabled());
        QCOMPARE(f.totalRows(), 0);
    }

    // A paper of one course is chosen, the list is switched to another course, then "开始考试":
    // the chosen paper is built and every window names its own course.
    void paperKeepsItsOwnCourse()
    {
        Flow f;
        f.chooseCourse(u"基础"_s);
        auto *combo = f.in<QComboBox>(f.main.get(), u"ComboBox2"_s);
        const QString course = combo->currentText();
        QToolButton *paperButton = nullptr;
        for (QToolButton *b : f.panel->findChildren<QToolButton *>()) {
            if (b->objectName().startsWith(u't')) {
                paperButton = b;
                break;
            }
        }
        QVERIFY(paperButton);
        const QString cId = paperButton->objectName().mid(1);
        paperButton->click();
        const QString paperName = f.in<QLabel>(f.main.get(), u"Label106"_s)->text();
        f.chooseCourse(u"财经"_s);
        QVERIFY(combo->currentText() != course);
        f.in<QToolButton>(f.main.get(), u"SpeedButton32"_s)->click();
        QCOMPARE(f.in<QLabel>(f.panel->instructionsWindow(), u"Label8"_s)->text(), course);
        f.throughInstructions();
        QPointer<ExamWindow> exam = f.exam();
        QCOMPARE(f.in<QLabel>(exam, u"courseName"_s)->text(), course);
        QCOMPARE(f.in<QLabel>(exam, u"paperName"_s)->text(), paperName);
        // The paper built is the one chosen.
        QCOMPARE(db::scalar(db::bank(),
                            u"select count(*) from test_page a,ex_page_id b where a.p_id=b.p_id and a.page_id=? "
                            "and b.c_id<>?"_s,
                            {f.main->currentPageId(), cId})
                     .toInt(),
                 0);
        f.responder.clear();
        f.in<QPushButton>(exam, u"handInButton"_s)->click();
        QTRY_VERIFY(!exam);
        QCOMPARE(f.result(u"考试课程:"_s), course);
        QCOMPARE(f.result(u"考试试卷:"_s), paperName);
    }

    // Messages of the panel, on rows of its own in whichever bank the folder holds: a course
    // whose only paper is empty, and a course without papers.
    void panelMessages()
    {
        Flow f;
        db::run(db::bank(), u"insert into ma_id values ('ZE','审计基础','0','0')"_s);
        db::run(db::bank(), u"insert into cap_id values ('TZ','空白试卷','ZE','2')"_s);
        db::run(db::bank(), u"insert into ma_id values ('ZZ','珠算','0','0')"_s);
        f.main->findChild<QToolButton *>(u"SpeedButton4"_s)->click();

        // A paper without questions keeps the start disabled.
        f.chooseCourse(u"审计基础"_s);
        f.in<QToolButton>(f.main.get(), u"tTZ"_s)->click();
        QVERIFY(!f.in<QToolButton>(f.main.get(), u"SpeedButton32"_s)->isEnabled());
        QCOMPARE(f.in<QLabel>(f.main.get(), u"Label109"_s)->text(), u"0"_s);
        QCOMPARE(f.in<QLabel>(f.main.get(), u"Label118"_s)->text(), u"0 题"_s);
        QCOMPARE(f.in<QLabel>(f.main.get(), u"Label73"_s)->text(), u"0 题"_s);

        // A random paper of a course whose papers hold no question is refused as an error.
        f.responder.clear();
        f.in<QToolButton>(f.main.get(), u"SpeedButton33"_s)->click();
        QCOMPARE(f.responder.shown().size(), 1);
        QCOMPARE(f.responder.lastText(), u"当前课程的试卷中没有题目,无法进行随机考试...."_s);
        QCOMPARE(f.responder.shown().last().caption, u"错误信息"_s);
        QVERIFY(!f.panel->examWindow());
        QVERIFY(f.main->isEnabled());

        // A course without papers says so.
        f.responder.clear();
        f.chooseCourse(u"珠算"_s);
        QCOMPARE(f.responder.lastText(), u"当前试卷记录为零...."_s);
        QCOMPARE(f.responder.shown().last().caption, u"信息提醒"_s);
        QVERIFY(!f.in<QToolButton>(f.main.get(), u"SpeedButton32"_s)->isEnabled());
    }
};

QTEST_MAIN(ExamFlow)
#include "exam_flow.moc"
