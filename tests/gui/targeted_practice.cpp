// Targeted practice through the main window on a copy of the demo bank: the essence, search and
// wrong-question modes with their texts, counts and messages, the start rule, and the practice
// window they open. Answer records of chosen dates are written into the copy first.
#include "practice_gui.h"

#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/practicewindow.h"
#include "practice/ui/skinbackground.h"
#include "session/ui/chapterpracticepanel.h"
#include "shell/apppaths.h"
#include "shell/clock.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/testbank.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace practicegui;

namespace {

// Ten single-choice questions of "会计基础" marked as essence on 2030-05-03 (the first also on
// 2030-05-01, with another first answer); the first answered wrongly yesterday and rightly today;
// the first multiple-choice question answered wrongly today.
struct DemoProgram
{
    DemoProgram()
    {
        const QString demo = QStringLiteral(QM_APP_DIR) + u"/data/sys.htm"_s;
        if (!QFile::exists(demo))
            return;
        db::closeBank(u"demo"_s);
        QFile::remove(bank.path(u"data/sys.htm"_s));
        if (!QFile::copy(demo, bank.path(u"data/sys.htm"_s)))
            return;
        QFile(bank.path(u"data/sys.htm"_s)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        if (!qEnvironmentVariableIsEmpty("QM_SHOT_DIR")) {
            // Screenshots show the program's pictures.
            const QDir skin(QStringLiteral(QM_APP_DIR) + u"/skin"_s);
            for (const QString &f : skin.entryList(QDir::Files))
                QFile::copy(skin.filePath(f), bank.path(u"skin/"_s + f));
        }
        Clock::install(&clock);
        AppPaths::setCurrent(bank.dir());
        window = std::make_unique<MainWindow>(&display);
        window->setOnlineProbe([] { return false; });
        window->show();
        if (!window->firstShow())
            return;
        const QSqlDatabase db = db::bank();
        courseId = db::scalar(db, u"select m_id from ma_id where m_name=?"_s, {u"会计基础"_s}).toString();
        singles = questions(u"1"_s, 10);
        multiple = questions(u"2"_s, 1).value(0);
        if (singles.size() < 10 || multiple.isEmpty())
            return;
        for (const QString &p : singles)
            record(u"20300503080000"_s, p, true, true, p == singles[0], p == singles[0] ? u"A"_s : u"C"_s);
        record(u"20300501080000"_s, singles[0], true, true, false, u"B"_s);
        record(u"20300505150000"_s, singles[0], false, false, false, u"D"_s);
        record(u"20300506090000"_s, singles[0], false, true, false, u"A"_s);
        record(u"20300506080000"_s, multiple, false, false, false, u"AC"_s);
        ok = true;
    }
    ~DemoProgram()
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

    QStringList questions(const QString &type, int n) const
    {
        QStringList out;
        QSqlQuery q = db::run(db::bank(),
                              u"select b.p_id from ex_page_id b,cap_id c where b.c_id=c.c_id and c.m_id=? "
                              "and b.p_type=? order by b.p_id limit ?"_s,
                              {courseId, type, n});
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    // An answered record of a question.
    void record(const QString &pageId, const QString &pId, bool essence, bool right, bool mask,
                const QString &answer) const
    {
        db::run(db::bank(), u"insert into test_page values (?,?,0,0,0,0,0,0,?,1,?,?,?,?,1,1)"_s,
                {pageId, pId, answer, right ? 1 : 0, mask ? 1 : 0, essence ? 1 : 0, answer});
    }

    QWidget *panel6() const { return window->panel(u"Panel6"_s); }
    QWidget *page() const { return child(panel6(), u"targetedPage"_s); }
    QSpinBox *spin(const QString &name) const { return child<QSpinBox>(panel6(), name); }
    QString label(const QString &name) const { return text(panel6(), name); }
    QStringList countLines() const
    {
        return {label(u"Label88"_s), label(u"Label87"_s), label(u"Label86"_s), label(u"Label82"_s),
                label(u"Label79"_s)};
    }
    void openPanel() const
    {
        child<QToolButton>(window.get(), u"SpeedButton3"_s)->click();
        auto *courses = child<QComboBox>(panel6(), u"ComboBox1"_s);
        courses->setCurrentIndex(courses->findText(u"会计基础"_s));
        Q_EMIT courses->activated(courses->currentIndex());
    }
    QString recordOf(const QString &pageId, const QString &pId) const
    {
        QSqlQuery q = db::run(db::bank(),
                              u"select p_answer,p_do_yn,p_mask,p_ok_mask,p_first_answer,p_type is null "
                              "from test_page where page_id=? and p_id=?"_s,
                              {pageId, pId});
        QStringList values;
        if (q.next()) {
            for (int k = 0; k < 6; ++k)
                values << q.value(k).toString();
        }
        return values.join(u'|');
    }
    // Saves what the panel shows when QM_SHOT_DIR names a folder (screenshots for review).
    void shot(const QString &name) const
    {
        const QString dir = qEnvironmentVariable("QM_SHOT_DIR");
        if (dir.isEmpty())
            return;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        window->grab().save(QDir(dir).filePath(name + u".png"_s));
    }

    TestBank bank{u"demo"_s};
    FakeClock clock{QDateTime(QDate(2030, 5, 6), QTime(9, 30, 0))};
    FakeDisplayMode display{QSize(1366, 768)};
    messages::Responder responder;
    std::unique_ptr<MainWindow> window;
    QString courseId;
    QStringList singles;
    QString multiple;
    bool ok = false;
};

#define REQUIRE_DEMO(p)                                                                                                \
    if (!QFile::exists(QStringLiteral(QM_APP_DIR) + u"/data/sys.htm"_s))                                               \
        QSKIP("the demo bank is not assembled in this build");                                                         \
    QVERIFY(p.ok)

} // namespace

class TargetedPracticeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void essenceModeAndStartRule()
    {
        DemoProgram p;
        REQUIRE_DEMO(p);
        p.openPanel();
        click(p.panel6(), u"SpeedButton21"_s);
        auto *boxes = child<QStackedWidget>(p.panel6(), u"infoBoxes"_s);
        QCOMPARE(boxes->currentWidget(), p.page());
        QCOMPARE(child<QGroupBox>(p.panel6(), u"GroupBox12"_s)->title(), u"精华类练习"_s);
        QCOMPARE(p.label(u"Label53"_s), u"精华类练习"_s);
        QCOMPARE(p.label(u"Label46"_s), u"精华练习:"_s);
        QCOMPARE(p.label(u"Label47"_s), u"提供了所有已练习中曾标记精华类试题,"_s);
        QVERIFY(!child(p.panel6(), u"gb19"_s)->isVisible());
        QVERIFY(!child(p.panel6(), u"gb89"_s)->isVisible());
        QCOMPARE(p.label(u"Label57"_s), u"10"_s);
        QCOMPARE(p.spin(u"Edit4"_s)->value(), 10);
        QCOMPARE(p.spin(u"Edit4"_s)->maximum(), 10);
        QCOMPARE(p.spin(u"Edit5"_s)->value(), 1);
        QCOMPARE(p.spin(u"Edit5"_s)->maximum(), 10);
        QCOMPARE(p.countLines(), (QStringList{u"10 题,每题1分"_s, u"0 题,每题2分"_s, u"0 题,每题1分"_s,
                                              u"计算分析题:"_s, u"0 大题,每题10分"_s}));
        QVERIFY(!child<QCheckBox>(p.panel6(), u"CheckBox4"_s)->isChecked());
        QCOMPARE(p.spin(u"Edit6"_s)->value(), 0);
        QCOMPARE(child<QWidget>(p.panel6(), u"SpeedButton21"_s)->toolTip(),
                 u"学员对已做练习题中标记精华类题目再次进行练习"_s);
        p.shot(u"targeted-essence"_s);

        // Ten found, five to practise from the eighth: the dialog, then question 1 of the first five.
        p.spin(u"Edit4"_s)->setValue(5);
        p.spin(u"Edit5"_s)->setValue(8);
        child<QSpinBox>(p.panel6(), u"Edit7"_s)->setValue(14);
        click(p.panel6(), u"SpeedButton24"_s);
        QCOMPARE(p.responder.shown().size(), 1);
        QCOMPARE(p.responder.lastText(), u"您重新设置的题型,最后题目数不能从:8开始,程序自动从第1题开始..."_s);
        QPointer<PracticeWindow> w = PracticeWindow::current();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), u"精华题目"_s);
        QCOMPARE(w->session().count(), 5);
        QCOMPARE(w->session().index(), 0);
        QCOMPARE(w->inputs().questionTotal, 5);
        QCOMPARE(w->inputs().fourthTypeName, u"计算分析题:"_s);
        QCOMPARE(w->inputs().fontSize, 14);
        QCOMPARE(w->inputs().questionSeconds, 0);
        QVERIFY(!w->inputs().autoAdvance);
        QCOMPARE(text(w, u"Label27"_s), u"5"_s);
        QCOMPARE(text(w, u"Label33"_s), u"09:30:00"_s);
        const QString pageId = p.window->currentPageId();
        QCOMPARE(pageId, u"20300506093000"_s);
        QCOMPARE(db::scalar(db::bank(), u"select count(*) from test_page where page_id=?"_s, {pageId}).toInt(), 5);
        // The newer essence record of the first question, with its first answer and marks.
        QCOMPARE(p.recordOf(pageId, p.singles[0]), u"|0|1|1|A|1"_s);
        QCOMPARE(p.recordOf(pageId, p.singles[1]), u"|0|0|1|C|1"_s);
        QCOMPARE(text(w, u"markState"_s), u"已标记"_s);
        QCOMPARE(text(w, u"essenceState"_s), u"精华类"_s);

        // Starting again from the third: the open window is asked to close first (and closes
        // without totals), the new one opens on question 3 with the countdown set.
        p.responder.clear();
        p.clock.advance(1000);
        p.spin(u"Edit4"_s)->setValue(5);
        p.spin(u"Edit5"_s)->setValue(3);
        child<QCheckBox>(p.panel6(), u"CheckBox4"_s)->setChecked(true);
        QCOMPARE(p.spin(u"Edit6"_s)->value(), 30);
        p.responder.queue(messages::Answer::Yes);
        p.responder.queue(messages::Answer::No);
        click(p.panel6(), u"SpeedButton24"_s);
        QCOMPARE(p.responder.shown().size(), 2);
        QCOMPARE(p.responder.shown().at(0).text, u"确定退出,并进行提交汇总成绩吗?"_s);
        QTRY_VERIFY(!w);
        PracticeWindow *second = PracticeWindow::current();
        QVERIFY(second);
        QCOMPARE(second->session().index(), 2);
        QCOMPARE(text(second, u"Label24"_s), u"30"_s);
        QVERIFY(second->inputs().autoAdvance);
    }

    void searchMode()
    {
        DemoProgram p;
        REQUIRE_DEMO(p);
        p.openPanel();
        click(p.panel6(), u"SpeedButton21"_s); // something found before the search starts
        click(p.panel6(), u"SpeedButton22"_s);
        auto *box = child<QGroupBox>(p.panel6(), u"gb19"_s);
        auto *edit = child<QLineEdit>(p.panel6(), u"Edit12"_s);
        QVERIFY(box->isVisible());
        QCOMPARE(p.label(u"Label53"_s), u"搜索类练习"_s);
        QCOMPARE(p.label(u"Label46"_s), u"搜索练习:"_s);
        QCOMPARE(p.label(u"Label47"_s), u"提供了所有已练习题及模拟试卷中包含用户选择内容的试题,"_s);
        QCOMPARE(p.label(u"Label57"_s), u"0"_s);
        QVERIFY(!child<QWidget>(p.panel6(), u"SpeedButton24"_s)->isEnabled());
        QVERIFY(edit->text().isEmpty());
        p.shot(u"targeted-search"_s);

        edit->setText(u"   "_s);
        click(p.panel6(), u"SpeedButton31"_s);
        QCOMPARE(p.responder.shown().size(), 1);
        QCOMPARE(p.responder.shown().at(0).text, u"当前搜索内容为空,请重新输入...."_s);
        QCOMPARE(p.responder.shown().at(0).caption, u"信息提示"_s);
        QVERIFY(box->isVisible());

        // Nothing found: the message, the box stays, nothing to start.
        edit->setText(u"不存在的内容%"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(p.responder.lastText(), u"按当前搜索内容:[不存在的内容%],结果为零,请重新输入...."_s);
        QVERIFY(box->isVisible());
        QCOMPARE(edit->selectedText(), u"不存在的内容%"_s);
        QCOMPARE(p.label(u"Label57"_s), u"0"_s);
        QCOMPARE(p.countLines(), (QStringList{u"0 题"_s, u"0 题"_s, u"0 题"_s, u"计算分析题:"_s, u"0 题"_s}));

        // A stem holding a quote, "%", "_" and a backslash is found by exactly those characters.
        const QString needle = u"50%_的'\\题"_s;
        db::run(db::bank(), u"update ex_page_id set p_subject_name=? where p_id=?"_s,
                {u"含"_s + needle + u"干"_s, p.singles[0]});
        p.responder.clear();
        edit->setText(needle);
        click(p.panel6(), u"SpeedButton31"_s);
        QVERIFY(p.responder.shown().isEmpty());
        QVERIFY(!box->isVisible());
        QCOMPARE(p.label(u"Label53"_s), u"搜索包含【"_s + needle + u"】的练习题及模拟试卷题"_s);
        QCOMPARE(p.label(u"Label57"_s), u"1"_s);
        QCOMPARE(p.countLines(), (QStringList{u"1 题,每题1分"_s, u"0 题,每题2分"_s, u"0 题,每题1分"_s, u"计算分析题:"_s,
                                              u"0 大题,每题10分"_s}));
        click(p.panel6(), u"SpeedButton24"_s);
        PracticeWindow *w = PracticeWindow::current();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"搜索练习"_s);
        QCOMPARE(w->session().count(), 1);
        // A search starts afresh: no first answer, no marks.
        QCOMPARE(p.recordOf(p.window->currentPageId(), p.singles[0]), u"|0|0|0||1"_s);

        // "取消" closes the box and keeps the settings box in front.
        click(p.panel6(), u"SpeedButton22"_s);
        QVERIFY(box->isVisible());
        click(p.panel6(), u"SpeedButton40"_s);
        QVERIFY(!box->isVisible());
        QCOMPARE(child<QStackedWidget>(p.panel6(), u"infoBoxes"_s)->currentWidget(), p.page());
    }

    void wrongQuestionMode()
    {
        DemoProgram p;
        REQUIRE_DEMO(p);
        p.openPanel();
        click(p.panel6(), u"SpeedButton23"_s);
        auto *box = child<QGroupBox>(p.panel6(), u"gb89"_s);
        QVERIFY(box->isVisible());
        QCOMPARE(box->title(), u"错题选项"_s);
        QCOMPARE(p.label(u"Label53"_s), u"错题类复习"_s);
        QCOMPARE(p.label(u"Label46"_s), u"错题练习:"_s);
        QCOMPARE(p.label(u"Label47"_s), u"提供了所有已练习过和模拟考试中曾出错误类试题,"_s);
        QCOMPARE(p.label(u"Label160"_s), u"2030-05-06"_s);
        QCOMPARE(p.label(u"Label161"_s), u"(从2030-04-29到今天)"_s);
        QCOMPARE(p.label(u"Label162"_s), u"(从2030-04-06到今天)"_s);
        QVERIFY(child<QRadioButton>(p.panel6(), u"RadioButton1"_s)->isChecked());
        p.shot(u"targeted-wrong-period"_s);

        // Today: the multiple-choice question; the first single-choice one was right today.
        click(p.panel6(), u"SpeedButton52"_s);
        QVERIFY(!box->isVisible());
        QCOMPARE(p.label(u"Label57"_s), u"1"_s);
        QCOMPARE(p.countLines(), (QStringList{u"0 题,每题1分"_s, u"1 题,每题2分"_s, u"0 题,每题1分"_s, u"计算分析题:"_s,
                                              u"0 大题,共20分"_s}));

        // All: its wrong record of yesterday counts as well. A click on a label picks its period.
        click(p.panel6(), u"SpeedButton23"_s);
        QTest::mouseClick(child(p.panel6(), u"Label69"_s), Qt::LeftButton);
        QVERIFY(child<QRadioButton>(p.panel6(), u"RadioButton4"_s)->isChecked());
        QVERIFY(!child<QRadioButton>(p.panel6(), u"RadioButton1"_s)->isChecked());
        click(p.panel6(), u"SpeedButton52"_s);
        QCOMPARE(p.label(u"Label57"_s), u"2"_s);
        p.shot(u"targeted-wrong-result"_s);
        click(p.panel6(), u"SpeedButton24"_s);
        PracticeWindow *w = PracticeWindow::current();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"错题复习"_s);
        QCOMPARE(w->session().count(), 2);
        // The wrong record of yesterday, its first answer copied.
        const QString pageId = p.window->currentPageId();
        QCOMPARE(p.recordOf(pageId, p.singles[0]), u"|0|0|0|D|1"_s);
        // Finishing stores the totals under the mode's session kind.
        p.responder.queue(messages::Answer::Yes);
        click(w, u"finishButton"_s);
        QCOMPARE(db::scalar(db::bank(), u"select p_type from page_total where page_id=?"_s, {pageId}).toString(),
                 u"错题复习"_s);

        // A course without wrong records: zero counts in the wrong-question texts, nothing to start.
        auto *courses = child<QComboBox>(p.panel6(), u"ComboBox1"_s);
        courses->setCurrentIndex(courses->findText(u"会计基础"_s) == 0 ? 1 : 0);
        click(p.panel6(), u"SpeedButton23"_s);
        child<QRadioButton>(p.panel6(), u"RadioButton4"_s)->setChecked(true);
        click(p.panel6(), u"SpeedButton52"_s);
        QCOMPARE(p.label(u"Label57"_s), u"0"_s);
        QCOMPARE(p.label(u"Label88"_s), u"0题"_s);
        QCOMPARE(p.label(u"Label87"_s), u"0题"_s);
        QCOMPARE(p.label(u"Label86"_s), u"0题"_s);
        QCOMPARE(p.spin(u"Edit4"_s)->value(), 0);
        QCOMPARE(p.spin(u"Edit5"_s)->value(), 0);
        QVERIFY(!child<QWidget>(p.panel6(), u"SpeedButton24"_s)->isEnabled());

        // "取消" leaves the box.
        click(p.panel6(), u"SpeedButton23"_s);
        click(p.panel6(), u"SpeedButton53"_s);
        QVERIFY(!box->isVisible());
    }

    // A new picture replaces the old one and nothing else: the box keeps its children.
    void backgroundReplacedAlone()
    {
        QGroupBox box;
        auto *child = new QLabel(&box);
        QPixmap picture(8, 8);
        picture.fill(Qt::blue);
        skin::setBackground(&box, picture);
        skin::setBackground(&box, picture);
        QCOMPARE(box.findChildren<QLabel *>(), QList<QLabel *>{child});
        QCOMPARE(box.children().size(), 2); // the label and one painter
    }

    void nothingAfterClearingRecords()
    {
        DemoProgram p;
        REQUIRE_DEMO(p);
        db::run(db::bank(), u"delete from page_total"_s);
        db::run(db::bank(), u"delete from test_page"_s);
        p.openPanel();
        click(p.panel6(), u"SpeedButton21"_s);
        QCOMPARE(p.label(u"Label57"_s), u"0"_s);
        QCOMPARE(p.countLines(), (QStringList{u"0 题"_s, u"0 题"_s, u"0 题"_s, u"计算分析题:"_s, u"0 题"_s}));
        QVERIFY(!child<QWidget>(p.panel6(), u"SpeedButton24"_s)->isEnabled());
        click(p.panel6(), u"SpeedButton23"_s);
        child<QRadioButton>(p.panel6(), u"RadioButton4"_s)->setChecked(true);
        click(p.panel6(), u"SpeedButton52"_s);
        QCOMPARE(p.label(u"Label57"_s), u"0"_s);
        QVERIFY(!child<QWidget>(p.panel6(), u"SpeedButton24"_s)->isEnabled());
    }
};

QTEST_MAIN(TargetedPracticeTest)
#include "targeted_practice.moc"
