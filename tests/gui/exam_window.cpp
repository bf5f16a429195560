// The exam window over a small bank: question display by type, the answer card, answering through
// options and the entry editor, marks for later, the answer panel, text size, cancel and both
// ways of handing in, and database errors on a move and at hand-in.
#include "unit/exam_fixture.h"

#include "db/sql.h"
#include "exam/ui/answercardview.h"
#include "exam/ui/examwindow.h"
#include "session/papersession.h"
#include "shell/apppaths.h"
#include "shell/clock.h"
#include "shell/ui/messages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(exam::ExamResult)

namespace {

struct Fixture
{
    TestBank bank{u"exam-window"_s};
    messages::Responder responder;
    QString pageId;
    QPointer<ExamWindow> window;

    explicit Fixture(const QString &cId, int seconds = 5400)
    {
        examfixture::smallBank(bank);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const paper::Built built = paper::buildFixed(bank.db(), clock, cId);
        pageId = built.pageId;
        ExamInputs in;
        in.pageId = pageId;
        in.sessionKind = u"模拟考试"_s;
        in.questionTotal = built.questionTotal;
        in.examSeconds = seconds;
        in.fontSize = 12;
        in.fullMarks = paper::brief(bank.db(), pageId).total;
        in.courseName = u"会计基础"_s;
        in.paperName = u"试卷"_s;
        in.startText = u"2024-05-01 09:30:00"_s;
        in.durationText = u"90分钟"_s;
        in.counterText = u"第1题         共%1题"_s.arg(built.questionTotal);
        AppPaths::setCurrent(bank.dir());
        window = new ExamWindow(bank.db(), in);
        if (!window->open())
            qFatal("exam window did not open");
        window->resize(1200, 900);
        window->show();
    }
    ~Fixture() { delete window.data(); }

    template <typename T> T *find(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no widget %s", qPrintable(name));
        return w;
    }
    QTreeWidget *tree() const { return find<QTreeWidget>(u"tv"_s); }
    // Clicks the card node whose text starts with prefix within the heading of type `type`.
    void clickNode(int type, const QString &prefix)
    {
        QTreeWidgetItem *heading = tree()->topLevelItem(headingRow(type));
        for (int k = 0; k < heading->childCount(); ++k) {
            QTreeWidgetItem *item = heading->child(k);
            if (item->text(0).startsWith(prefix + u" ["_s)) {
                tree()->scrollToItem(item);
                QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
                return;
            }
        }
        qFatal("no node %s", qPrintable(prefix));
    }
    int headingRow(int type) const
    {
        static const QStringList names{u"单选题"_s,     u"多选题"_s,     u"判断题"_s,
                                       u"计算分析题"_s, u"案例分析题"_s, u"实务操作题"_s};
        for (int k = 0; k < tree()->topLevelItemCount(); ++k) {
            if (tree()->topLevelItem(k)->text(0).startsWith(names.at(type - 1)))
                return k;
        }
        qFatal("no heading of type %d", type);
    }
    QString nodeText(int type, int child) const
    {
        return tree()->topLevelItem(headingRow(type))->child(child)->text(0);
    }
    QColor nodeColour(int type, int child) const
    {
        return tree()->topLevelItem(headingRow(type))->child(child)->background(0).color();
    }
    void check(const QString &letters)
    {
        for (const QChar c : letters)
            find<QCheckBox>(u"option%1"_s.arg(c.unicode() - u'A' + 1))->click();
    }
    void click(const QString &name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    QVariantList row(const QString &pId) const
    {
        QSqlQuery q =
            db::run(bank.db(), u"select p_answer,p_do_yn,p_real_yn,p_score from test_page where page_id=? and p_id=?"_s,
                    {pageId, pId});
        q.next();
        return {q.value(0), q.value(1).toBool(), q.value(2).toBool(), q.value(3)};
    }
    QStringList visibleOptions() const
    {
        QStringList out;
        for (int k = 1; k <= 6; ++k) {
            if (find<QCheckBox>(u"option%1"_s.arg(k))->isVisible())
                out << find<QLabel>(u"optionText%1"_s.arg(k))->text();
        }
        return out;
    }
};

} // namespace

class ExamWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void questionDisplayByType()
    {
        Fixture f(u"T1"_s);
        QCOMPARE(f.find<QLabel>(u"Label3"_s)->text(), u"第1题         共8题"_s);
        QCOMPARE(f.find<QTextEdit>(u"questionText"_s)->toPlainText(), u"题干 S1"_s);
        QCOMPARE(f.visibleOptions(), (QStringList{u"选项A"_s, u"选项B"_s, u"选项C"_s, u"选项D"_s}));
        QVERIFY(!f.find<QWidget>(u"entryEditor"_s)->isVisible());
        QCOMPARE(f.find<QWidget>(u"questionPanel"_s)->height(), 184);
        // Option rows are 10 pixels apart, each box level with its text.
        const QRect a = f.find<QLabel>(u"optionText1"_s)->geometry();
        const QRect b = f.find<QLabel>(u"optionText2"_s)->geometry();
        QCOMPARE(b.top(), a.bottom() + 1 + 10);
        QCOMPARE(f.find<QCheckBox>(u"option2"_s)->y(), b.top() - 2);

        f.clickNode(3, u"1"_s);
        QCOMPARE(f.find<QLabel>(u"Label3"_s)->text(), u"第5题               共8题"_s);
        QCOMPARE(f.visibleOptions(), (QStringList{u"对"_s, u"错"_s}));
        const QRect judgeA = f.find<QLabel>(u"optionText1"_s)->geometry();
        QCOMPARE(judgeA.width(), 40);
        QCOMPARE(f.find<QCheckBox>(u"option2"_s)->x(), judgeA.right() + 1 + 50);
        QCOMPARE(f.find<QCheckBox>(u"option2"_s)->y(), judgeA.y());

        f.clickNode(4, u"2-2"_s);
        QVERIFY(f.find<QWidget>(u"entryEditor"_s)->isVisible());
        QVERIFY(f.find<QWidget>(u"subItem2"_s)->isVisible());
        QVERIFY(!f.find<QWidget>(u"subItem3"_s)->isVisible());
        QCOMPARE(f.find<QLabel>(u"subItemNumber1"_s)->text(), u"2-1"_s);
        QCOMPARE(f.find<QLabel>(u"subItemNumber2"_s)->styleSheet(), u"color:#FF0000;"_s);
        QCOMPARE(f.find<QLabel>(u"subItemNumber1"_s)->styleSheet(), u"color:#008080;"_s);
        QVERIFY(f.find<QWidget>(u"line1_2"_s)->isVisible()); // entries mode: lines 1 and 2
        QCOMPARE(f.find<QLabel>(u"correctAnswer"_s)->text(), u"请查看解析..."_s);
    }

    void practicalQuestions()
    {
        Fixture f(u"T3"_s);
        f.clickNode(6, u"1"_s);
        QVERIFY(f.find<QLabel>(u"practicalNotice"_s)->isVisible());
        QCOMPARE(f.find<QLabel>(u"practicalNotice"_s)->text(), u"本功能请使用用友软件操作"_s);
        QCOMPARE(f.find<QWidget>(u"practicalBar"_s)->height(), 41);
        QVERIFY(f.visibleOptions().isEmpty());
        QTRY_VERIFY(f.find<QWidget>(u"questionPanel"_s)->height() > 184);
        f.click(u"practicalInfo"_s);
        QCOMPARE(f.responder.shown().last().text, u"注意：模拟考试此功能请在用友软件操作"_s);
        QCOMPARE(f.responder.shown().last().caption, u"实务操作信息"_s);
        f.click(u"previousButton"_s);
        QCOMPARE(f.find<QWidget>(u"practicalBar"_s)->height(), 0);
    }

    void choicesAndCaseSubQuestions()
    {
        Fixture f(u"T2"_s);
        f.check(u"AB"_s); // single choice: the second box unchecks the first
        QVERIFY(!f.find<QCheckBox>(u"option1"_s)->isChecked());
        QTest::mouseClick(f.find<QLabel>(u"optionText1"_s), Qt::LeftButton); // the text acts as its box
        QVERIFY(f.find<QCheckBox>(u"option1"_s)->isChecked());
        QVERIFY(!f.find<QCheckBox>(u"option2"_s)->isChecked());

        f.clickNode(5, u"2-2"_s);
        QCOMPARE(f.row(u"F1"_s).at(0).toString(), u"A"_s);
        QVERIFY(f.row(u"F1"_s).at(2).toBool());
        QCOMPARE(f.find<QLabel>(u"subQuestionText"_s)->text(), u"小题 2"_s);
        QCOMPARE(f.visibleOptions(), (QStringList{u"甲"_s, u"乙"_s, u"丙"_s, u"丁"_s}));
        f.check(u"BC"_s);
        QVERIFY(f.find<QCheckBox>(u"option2"_s)->isChecked()); // case sub-questions allow any combination
        f.click(u"nextButton"_s);
        QCOMPARE(f.row(u"X1"_s).at(0).toString(), u"/BC/////"_s);
        QCOMPARE(f.row(u"X1"_s).at(3).toDouble(), 2.0);
        QCOMPARE(f.find<QLabel>(u"subQuestionText"_s)->text(), u"小题 3"_s);
        QCOMPARE(f.nodeText(5, 2), u"2-2 [BC           ]"_s);
        QCOMPARE(f.nodeColour(5, 2), QColor(0x00FFFF));
        QCOMPARE(f.nodeColour(5, 3), QColor(0xFFFF00));
        QCOMPARE(f.nodeColour(5, 1), QColor(0xE3E3E3)); // done, but this sub-item is blank

        // Mark the selected sub-item for later.
        QCOMPARE(f.find<QLabel>(u"markState"_s)->text(), u"未标记"_s);
        f.click(u"markButton"_s);
        QCOMPARE(f.find<QPushButton>(u"markButton"_s)->text(), u"取消待查"_s);
        QCOMPARE(f.find<QLabel>(u"markState"_s)->text(), u"已标记"_s);
        QCOMPARE(db::scalar(f.bank.db(), u"select m_down from tmp where c_p_id='X1'"_s).toString(),
                 u"false//true////"_s);
        f.click(u"previousButton"_s);
        QCOMPARE(f.nodeColour(5, 3), QColor(0xBE7E7E));
        QCOMPARE(f.find<QPushButton>(u"markButton"_s)->text(), u"待查"_s);
        QVERIFY(f.find<QCheckBox>(u"option2"_s)->isChecked()); // sub-question 2's answer restored
        QVERIFY(f.find<QCheckBox>(u"option3"_s)->isChecked());
    }

    void calculationEntriesThroughTheEditor()
    {
        Fixture f(u"T1"_s);
        f.clickNode(4, u"2-1"_s);
        const auto line = [&](int l, bool debit, const QString &account, const QString &amount) {
            f.click((debit ? u"debit1_"_s : u"credit1_"_s) + QString::number(l));
            f.find<QLineEdit>(u"account1_%1"_s.arg(l))->setText(account);
            QTest::keyClicks(f.find<QLineEdit>(u"amount1_%1"_s.arg(l)), amount);
        };
        line(1, false, u" 银行存款 "_s, u"5x00"_s); // the amount box takes digits only
        line(2, true, u"原材料"_s, u"500"_s);
        f.click(u"nextButton"_s);
        QCOMPARE(f.row(u"K2"_s).at(0).toString(), u"贷:银行存款=500;借:原材料=500/////"_s);
        QCOMPARE(f.row(u"K2"_s).at(3).toDouble(), 5.0);
        QCOMPARE(f.nodeText(4, 5), u"2-2 [             ]"_s);
        f.click(u"previousButton"_s);
        QCOMPARE(f.find<QLineEdit>(u"account1_1"_s)->text(), u"银行存款"_s);
        QVERIFY(f.find<QToolButton>(u"debit1_2"_s)->isChecked());
        QCOMPARE(f.find<QLabel>(u"yourAnswer"_s)->text(), u"贷:银行存款 500\n借:原材料 500"_s);

        // Amounts mode: sub-item 1 of K1.
        f.clickNode(4, u"1-1"_s);
        QVERIFY(f.find<QLineEdit>(u"computedAmount1"_s)->isVisible());
        QTest::keyClicks(f.find<QLineEdit>(u"computedAmount1"_s), u"12a00"_s);
        f.clickNode(1, u"1"_s);
        QCOMPARE(f.row(u"K1"_s).at(0).toString(), u"1200/////"_s);
        QCOMPARE(f.row(u"K1"_s).at(3).toDouble(), 3.33);
    }

    void navigationAndLayout()
    {
        Fixture f(u"T1"_s);
        const auto pictures = [&] {
            QStringList out;
            for (const QString &name : {u"firstButton"_s, u"previousButton"_s, u"nextButton"_s, u"lastButton"_s})
                out << f.find<QToolButton>(name)->property("picture").toString();
            return out;
        };
        f.click(u"lastButton"_s);
        QCOMPARE(f.find<QLabel>(u"Label3"_s)->text(), u"第8题               共8题"_s);
        QCOMPARE(pictures(), (QStringList{u"skin/first.bmp"_s, u"skin/pirr.bmp"_s, u"skin/off_next.bmp"_s,
                                          u"skin/off_last.bmp"_s}));
        f.click(u"previousButton"_s);
        f.click(u"previousButton"_s);
        f.click(u"previousButton"_s);
        f.click(u"previousButton"_s); // over the four sub-items of K2 to K1's last one
        QCOMPARE(f.find<QLabel>(u"Label3"_s)->text(), u"第7题               共8题"_s);
        QCOMPARE(pictures().at(2), u"skin/next.bmp"_s);
        f.click(u"firstButton"_s);
        QCOMPARE(pictures().at(0), u"skin/off_first.bmp"_s);

        f.clickNode(3, u"1"_s);
        f.check(u"A"_s);
        f.click(u"nextButton"_s);
        f.click(u"previousButton"_s);
        f.click(u"answerButton"_s);
        QCOMPARE(f.find<QPushButton>(u"answerButton"_s)->text(), u"隐藏答案"_s);
        QCOMPARE(f.find<QWidget>(u"answerPanel"_s)->height(), 169);
        QCOMPARE(f.find<QLabel>(u"correctAnswer"_s)->text(), u"对"_s);
        QCOMPARE(f.find<QLabel>(u"yourAnswer"_s)->text(), u"对"_s);
        QCOMPARE(f.find<QTextEdit>(u"analysisText"_s)->toPlainText(), u"解析 J1"_s);
        f.click(u"answerButton"_s);
        QCOMPARE(f.find<QWidget>(u"answerPanel"_s)->height(), 0);

        for (int k = 0; k < 11; ++k)
            f.click(u"smallerButton"_s);
        QCOMPARE(f.window->fontSize(), 1);
        f.click(u"smallerButton"_s);
        QCOMPARE(f.window->fontSize(), 12); // 0 reads as 12
        f.click(u"largerButton"_s);
        QCOMPARE(f.find<QTextEdit>(u"questionText"_s)->font().pointSize(), 13);

        // Only the card collapses; the information box stays.
        f.click(u"collapseBar"_s);
        QVERIFY(!f.window->card()->isVisible());
        QVERIFY(f.find<QWidget>(u"infoBox"_s)->isVisible());
        QVERIFY(f.find<QLabel>(u"elapsedTime"_s)->isVisible());
        QCOMPARE(f.find<QToolButton>(u"collapseBar"_s)->text(), u"<"_s);
        f.click(u"collapseBar"_s);
        QVERIFY(f.window->card()->isVisible());
        QVERIFY(f.find<QWidget>(u"infoBox"_s)->isVisible());
        QCOMPARE(f.find<QToolButton>(u"collapseBar"_s)->text(), u">"_s);
    }

    void cancelStoresNothing()
    {
        Fixture f(u"T1"_s);
        f.check(u"A"_s);
        f.click(u"cancelButton"_s);
        QTRY_VERIFY(!f.window);
        QVERIFY(!f.row(u"S1"_s).at(1).toBool());
        QCOMPARE(f.bank.count(u"page_total"_s), 0);
    }

    void manualHandIn()
    {
        Fixture f(u"T2"_s);
        QSignalSpy handedIn(f.window.data(), &ExamWindow::handedIn);
        QVERIFY(f.window->elapsedRunning());
        for (int k = 0; k < 61; ++k)
            f.window->elapsedTick();
        QCOMPARE(f.find<QLabel>(u"elapsedTime"_s)->text(), u"1分1秒"_s);
        f.check(u"A"_s);
        f.responder.queue(messages::Answer::Yes);
        f.responder.queue(messages::Answer::No);
        f.click(u"handInButton"_s);
        QCOMPARE(f.responder.shown().size(), 2);
        QCOMPARE(f.responder.shown().at(0).caption, u"提交考试"_s);
        QCOMPARE(f.responder.shown().at(0).text, u"您还有2题类未做\r\n\r\n"
                                                 "     1. 单选题有:   1  题未做!                计(  2  题)\r\n"
                                                 "     2. 案例题有:   2  题未做!                计(  2  题)\r\n"
                                                 "\r\n您确定进行提交试卷吗?"_s);
        QCOMPARE(f.responder.shown().at(1).caption, u"再次确认提交"_s);
        QVERIFY(f.window);
        QVERIFY(!f.window->elapsedRunning()); // declining stops the clocks for good
        QCOMPARE(f.bank.count(u"page_total"_s), 0);

        f.click(u"handInButton"_s);
        QCOMPARE(handedIn.count(), 1);
        const auto result = handedIn.at(0).at(0).value<exam::ExamResult>();
        QCOMPARE(result.done, u"1 题"_s);
        QCOMPARE(result.notDone, u"3 题"_s);
        QCOMPARE(result.score, u"1 分"_s);
        QCOMPARE(result.fullMarks, u"8 分"_s);
        QCOMPARE(result.rate, u"12.5%"_s);
        QCOMPARE(result.time, u"1分1秒"_s);
        QTRY_VERIFY(!f.window);
        QCOMPARE(f.bank.count(u"page_total"_s,
                              u"page_id=? and p_doing='1' and p_nothing='3' and p_time='1分1秒' "
                              "and p_type='模拟考试'"_s,
                              {f.pageId}),
                 1);
    }

    void forcedHandInAtZero()
    {
        Fixture f(u"T1"_s, 3);
        QVERIFY(!f.window->countdownRunning());
        QCOMPARE(f.find<QLabel>(u"countdownText"_s)->text(), u"不计时状态"_s);
        f.window->startCountdown();
        QVERIFY(f.window->countdownRunning());
        f.check(u"A"_s);
        f.window->countdownTick();
        f.window->countdownTick();
        QCOMPARE(f.find<QLabel>(u"countdownText"_s)->text(), u"剩余时间: 0:0:1"_s);
        QVERIFY(f.responder.shown().isEmpty());
        f.window->countdownTick();
        QCOMPARE(f.responder.shown().size(), 1); // nothing is asked
        QCOMPARE(f.responder.lastText(), u"交卷时间到，程序强制交卷！"_s);
        QCOMPARE(f.responder.shown().last().caption, u"提示信息"_s);
        QTRY_VERIFY(!f.window);
        QCOMPARE(f.row(u"S1"_s).at(0).toString(), u"A"_s); // the answer on screen is recorded
        QCOMPARE(f.bank.count(u"page_total"_s, u"p_true='1' and p_doing='1' and p_nothing='7'"_s), 1);
    }

    // The bank fails mid-exam: a move to a question that cannot be read shows "错误信息" and the
    // window stays on the question it shows; once the bank is back the move works.
    void databaseErrorOnAMoveKeepsTheWindow()
    {
        Fixture f(u"T1"_s);
        f.check(u"A"_s);
        db::run(f.bank.db(), u"alter table ex_page_id rename to ex_page_id_gone"_s);
        f.click(u"nextButton"_s);
        QVERIFY(f.window);
        QCOMPARE(f.responder.shown().size(), 1);
        QCOMPARE(f.responder.shown().last().caption, u"错误信息"_s);
        QVERIFY(f.responder.lastText().contains(u"ex_page_id"_s));
        QCOMPARE(f.window->session().cursor().row(), 1);
        QCOMPARE(f.find<QLabel>(u"Label3"_s)->text(), u"第1题         共8题"_s);
        QCOMPARE(f.find<QTextEdit>(u"questionText"_s)->toPlainText(), u"题干 S1"_s);
        QCOMPARE(f.find<QToolButton>(u"firstButton"_s)->property("picture").toString(), u"skin/off_first.bmp"_s);
        QCOMPARE(f.nodeColour(1, 0), QColor(0xFFFF00));        // S1 stays the current node
        QVERIFY(f.find<QCheckBox>(u"option1"_s)->isChecked()); // the inputs keep what was chosen

        db::run(f.bank.db(), u"alter table ex_page_id_gone rename to ex_page_id"_s);
        f.click(u"nextButton"_s);
        QCOMPARE(f.responder.shown().size(), 1);
        QCOMPARE(f.find<QLabel>(u"Label3"_s)->text(), u"第2题               共8题"_s);
        QCOMPARE(f.find<QTextEdit>(u"questionText"_s)->toPlainText(), u"题干 S2"_s);
        QCOMPARE(f.row(u"S1"_s).at(0).toString(), u"A"_s);
    }

    void databaseErrorAtHandInKeepsTheWindow()
    {
        Fixture f(u"T1"_s);
        db::run(f.bank.db(),
                u"create trigger refuse before insert on page_total begin select raise(abort,'disk full'); end"_s);
        f.click(u"handInButton"_s);
        QVERIFY(f.window);
        QCOMPARE(f.responder.shown().last().caption, u"错误信息"_s);
        QVERIFY(f.responder.lastText().contains(u"disk full"_s));
        QCOMPARE(f.bank.count(u"page_total"_s), 0);
        db::run(f.bank.db(), u"drop trigger refuse"_s);
        f.click(u"handInButton"_s);
        QTRY_VERIFY(!f.window);
        QCOMPARE(f.bank.count(u"page_total"_s), 1);
    }
};

QTEST_MAIN(ExamWindowTest)
#include "exam_window.moc"
