// The practice window on a small session: display of every type, moves, the answer panel, marks,
// the clocks, recording, the picker, finishing and the close request.
#include "../unit/practice_fixture.h"
#include "practice_gui.h"

#include "db/connection.h"
#include "practice/ui/accountpicker.h"
#include "practice/ui/entryeditor.h"
#include "practice/ui/practicewindow.h"
#include "practice/ui/questionpicker.h"
#include "shell/ui/messages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using practicetest::Fixture;
using namespace practicegui;

Q_DECLARE_METATYPE(practice::PracticeResult)

namespace {

practice::PracticeInputs inputs(const Fixture &f)
{
    practice::PracticeInputs in;
    in.sessionKind = u"章节练习"_s;
    in.countdownStart = 20;
    in.questionSeconds = 20;
    in.questionTotal = 7;
    in.startTime = u"07:08:09"_s;
    in.autoAdvance = true;
    in.fourthTypeName = u"计算分析题:"_s;
    in.fontSize = 14;
    in.pageId = f.pageId;
    return in;
}

// A practice window shown on the fixture's session; closing it answers No to nothing (tests
// install a Responder where questions come up).
struct Window
{
    QPointer<PracticeWindow> w;
    explicit Window(const practice::PracticeInputs &in)
    {
        w = new PracticeWindow(false);
        w->setInputs(in);
        w->resize(1200, 900);
        w->show();
    }
    ~Window()
    {
        if (w) {
            messages::Responder r;
            r.queue(messages::Answer::Yes);
            r.queue(messages::Answer::No);
            w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    PracticeWindow *operator->() const { return w; }
    PracticeWindow *get() const { return w; }
};

// Makes the bank refuse writes as a learner's machine can: the connection read-only, or the write
// lock held by another connection (the window's connection then gives up after 50 ms, not 8 s).
class BankFault final
{
public:
    enum Kind { ReadOnly, Locked };
    BankFault(const TestBank &bank, Kind kind)
        : m_db(bank.db())
    {
        if (kind == ReadOnly) {
            db::run(m_db, u"pragma query_only=1"_s);
            return;
        }
        db::run(m_db, u"pragma busy_timeout=50"_s);
        QSqlDatabase locker = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"locker"_s);
        locker.setDatabaseName(bank.path(u"data/sys.htm"_s));
        if (!locker.open())
            qFatal("cannot open a second connection");
        db::run(locker, u"begin immediate"_s);
        m_locked = true;
    }
    ~BankFault()
    {
        db::run(m_db, u"pragma query_only=0"_s);
        db::run(m_db, u"pragma busy_timeout=%1"_s.arg(db::kBusyTimeoutMs));
        if (m_locked) {
            db::run(QSqlDatabase::database(u"locker"_s), u"rollback"_s);
            db::closeBank(u"locker"_s);
        }
    }

private:
    Q_DISABLE_COPY_MOVE(BankFault)
    QSqlDatabase m_db;
    bool m_locked = false;
};

// Every row of the session tables as text: a failed step must leave it as it was.
QString snapshot(const QSqlDatabase &db)
{
    QStringList out;
    for (const QString &table : {u"tmp"_s, u"test_page"_s, u"page_total"_s}) {
        QSqlQuery q = db::run(db, u"select * from "_s + table + u" order by 1,2"_s);
        while (q.next()) {
            QStringList row{table};
            for (int c = 0; c < q.record().count(); ++c)
                row << q.value(c).toString();
            out << row.join(u'|');
        }
    }
    return out.join(u'\n');
}

} // namespace

Q_DECLARE_METATYPE(BankFault::Kind)

class PracticeWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { qRegisterMetaType<practice::PracticeResult>(); }

    void opensOnTheFirstQuestion()
    {
        Fixture f;
        Window w(inputs(f));
        QCOMPARE(w->windowTitle(), u"章节练习"_s);
        QCOMPARE(text(w.get(), u"singleCount"_s), u"1 题"_s);
        QCOMPARE(text(w.get(), u"fourthCount"_s), u"2 题"_s);
        QCOMPARE(text(w.get(), u"Label67"_s), u"计算分析题:"_s);
        QCOMPARE(text(w.get(), u"Label27"_s), u"7"_s);
        QCOMPARE(text(w.get(), u"Label33"_s), u"07:08:09"_s);
        QCOMPARE(text(w.get(), u"Label24"_s), u"20"_s);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第1题"_s);
        QCOMPARE(text(w.get(), u"typeName"_s), u"单选题"_s);
        QCOMPARE(text(w.get(), u"currentTypeName"_s), u"单选题"_s);
        QCOMPARE(text(w.get(), u"courseValue"_s), u"会计基础"_s);
        QCOMPARE(text(w.get(), u"headerChapter"_s), u"第一章"_s);
        QCOMPARE(child<QTextEdit>(w.get(), u"stem"_s)->toPlainText(), u"题干 Q1"_s);
        QCOMPARE(child<QTextEdit>(w.get(), u"stem"_s)->font().pointSize(), 14);
        // Options A..D offered, E and F not.
        QVERIFY(child(w.get(), u"optionD"_s)->isVisible());
        QVERIFY(!child(w.get(), u"optionE"_s)->isVisible());
        QVERIFY(!child(w.get(), u"subCaption"_s)->isVisible());
        QVERIFY(!child(w.get(), u"answerPanel"_s)->isVisible());
        QVERIFY(child<QTimer>(w.get(), u"Timer1"_s)->isActive());
        QVERIFY(child<QTimer>(w.get(), u"Timer2"_s)->isActive());
    }

    void withoutATypeItSaysSo()
    {
        Fixture f(u"quillmark"_s, false);
        db::run(f.bank.db(), u"delete from ex_page_id where p_type in ('2','4')"_s);
        f.buildSession();
        Window w(inputs(f));
        QCOMPARE(text(w.get(), u"multipleCount"_s), u"没有该题型"_s);
        QCOMPARE(text(w.get(), u"fourthCount"_s), u"0 题"_s);
    }

    void choicesAndMoves()
    {
        Fixture f;
        Window w(inputs(f));
        // A click on an option's text acts as a click on its box; a single choice keeps one box.
        QTest::mouseClick(child(w.get(), u"optionTextA"_s), Qt::LeftButton);
        QVERIFY(child<QCheckBox>(w.get(), u"optionA"_s)->isChecked());
        click(w.get(), u"optionC"_s);
        QVERIFY(!child<QCheckBox>(w.get(), u"optionA"_s)->isChecked());
        Timer1Ticks(w.get(), 3);
        QCOMPARE(text(w.get(), u"Label24"_s), u"17"_s);
        click(w.get(), u"nextButton"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_answer"_s).toString(), u"C"_s);
        QCOMPARE(text(w.get(), u"Label24"_s), u"20"_s);
        QCOMPARE(text(w.get(), u"typeName"_s), u"多选题"_s);
        click(w.get(), u"optionB"_s);
        click(w.get(), u"optionD"_s);
        click(w.get(), u"nextButton"_s);
        QCOMPARE(f.record(u"Q2"_s, u"p_answer"_s).toString(), u"BD"_s);
        // True/false: A unchecks B; answers show as 对/错.
        QCOMPARE(child<QLabel>(w.get(), u"optionTextA"_s)->text(), u"对"_s);
        click(w.get(), u"optionB"_s);
        click(w.get(), u"optionA"_s);
        QVERIFY(!child<QCheckBox>(w.get(), u"optionB"_s)->isChecked());
        QCOMPARE(text(w.get(), u"correctAnswer"_s), u"对"_s);
        click(w.get(), u"previousButton"_s);
        QCOMPARE(f.record(u"Q3"_s, u"p_answer"_s).toString(), u"A"_s);
        click(w.get(), u"nextButton"_s);
        QCOMPARE(text(w.get(), u"yourAnswer"_s), u"对"_s);
        QVERIFY(child<QCheckBox>(w.get(), u"optionA"_s)->isChecked());
        // Back to the first question: "上一题" there stays and still restarts the countdown.
        click(w.get(), u"previousButton"_s);
        click(w.get(), u"previousButton"_s);
        Timer1Ticks(w.get(), 2);
        click(w.get(), u"previousButton"_s);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第1题"_s);
        QCOMPARE(text(w.get(), u"Label24"_s), u"20"_s);
        QVERIFY(child<QCheckBox>(w.get(), u"optionC"_s)->isChecked());
    }

    void lastQuestion()
    {
        Fixture f;
        Window w(inputs(f));
        goToRow(w.get(), u"Q6"_s);
        QCOMPARE(text(w.get(), u"currentTypeName"_s), u"实务操作分析题"_s);
        QVERIFY(child(w.get(), u"practicalNotice"_s)->isVisible());
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第9题"_s);
        click(w.get(), u"nextButton"_s);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第9题"_s);
        QVERIFY(w->session().pastEnd());
        // At the last question the countdown restarts without moving or recording.
        for (int k = 0; k < 21; ++k)
            w->Timer1Timer();
        QCOMPARE(text(w.get(), u"Label24"_s), u"19"_s);
        QCOMPARE(f.record(u"Q6"_s, u"p_do_yn"_s).toInt(), 0);
    }

    void countdownSwitches()
    {
        Fixture f;
        Window w(inputs(f));
        click(w.get(), u"optionA"_s);
        Timer1Ticks(w.get(), 20);
        QCOMPARE(text(w.get(), u"Label24"_s), u"0"_s);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第1题"_s);
        w->Timer1Timer(); // the 21st tick switches and records
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第2题"_s);
        QCOMPARE(text(w.get(), u"Label24"_s), u"19"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_answer"_s).toString(), u"A"_s);
        for (int k = 0; k < 65; ++k)
            w->Timer2Timer();
        QCOMPARE(text(w.get(), u"elapsedValue"_s), u"1分5秒"_s);
    }

    void caseSubQuestion()
    {
        Fixture f;
        Window w(inputs(f));
        goToRow(w.get(), u"Q5"_s, u"2"_s);
        QVERIFY(child(w.get(), u"subCaption"_s)->isVisible());
        QCOMPARE(child<QTextEdit>(w.get(), u"subStem"_s)->toPlainText(), u"小题 2"_s);
        QCOMPARE(child<QTextEdit>(w.get(), u"stem"_s)->height(), 65);
        QCOMPARE(text(w.get(), u"Label28"_s), u"2"_s);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第7题"_s);
        click(w.get(), u"optionB"_s);
        click(w.get(), u"optionC"_s);
        QVERIFY(child<QCheckBox>(w.get(), u"optionB"_s)->isChecked()); // any combination
        click(w.get(), u"nextButton"_s);
        QCOMPARE(f.record(u"Q5"_s, u"p_answer"_s).toString(), u"/BC/////"_s);
        QCOMPARE(text(w.get(), u"Label28"_s), u"3"_s);
    }

    void calculationInEntriesMode()
    {
        Fixture f;
        Window w(inputs(f));
        goToRow(w.get(), u"Q4E"_s);
        auto *editor = child<EntryEditor>(w.get(), u"entryEditor"_s);
        QVERIFY(editor->isVisible());
        QVERIFY(child(editor, u"subItem2"_s)->isVisible());
        QVERIFY(!child(editor, u"subItem3"_s)->isVisible());
        QCOMPARE(text(editor, u"subItemNumber2"_s), u"2-2"_s);
        click(editor, u"credit1_1"_s);
        child<QLineEdit>(editor, u"account1_1"_s)->setText(u" 银行存款"_s);
        QTest::keyClicks(child<QLineEdit>(editor, u"amount1_1"_s), u"100"_s);
        click(editor, u"debit1_2"_s);
        click(editor, u"pick1_2"_s);
        auto *tree = child<QTreeWidget>(editor, u"accountTree"_s);
        tree->setCurrentItem(tree->topLevelItem(0)->child(0));
        click(editor, u"accountOk"_s);
        QTest::keyClicks(child<QLineEdit>(editor, u"amount1_2"_s), u"100"_s);
        click(w.get(), u"nextButton"_s);
        QCOMPARE(f.record(u"Q4E"_s, u"p_answer"_s).toString(), u"贷:银行存款=100;借:库存现金=100/////"_s);
        QCOMPARE(f.record(u"Q4E"_s, u"p_score"_s).toDouble(), 5.0);
        // Coming back restores the lines.
        click(w.get(), u"previousButton"_s);
        QCOMPARE(child<QLineEdit>(editor, u"account1_1"_s)->text(), u"银行存款"_s);
        QVERIFY(child<QToolButton>(editor, u"debit1_2"_s)->isChecked());
        QVERIFY(child(editor, u"line2_2"_s)->property("shownLine").toBool());
    }

    void calculationInAmountsMode()
    {
        Fixture f;
        Window w(inputs(f));
        goToRow(w.get(), u"Q4A"_s);
        auto *editor = child<EntryEditor>(w.get(), u"entryEditor"_s);
        QVERIFY(child(editor, u"computedAmount1"_s)->isVisible());
        QCOMPARE(text(editor, u"subItemNumber3"_s), u"1-3"_s);
        child<QLineEdit>(editor, u"computedAmount1"_s)->setText(u"100 "_s);
        child<QLineEdit>(editor, u"computedAmount3"_s)->setText(u"300"_s);
        click(w.get(), u"nextButton"_s);
        QCOMPARE(f.record(u"Q4A"_s, u"p_answer"_s).toString(), u"100//300///"_s);
        QCOMPARE(f.record(u"Q4A"_s, u"p_score"_s).toDouble(), 4.0);
        // The next calculation question shows its own empty editor.
        QCOMPARE(child<QLineEdit>(editor, u"account1_1"_s)->text(), QString());
        QCOMPARE(text(editor, u"subItemNumber1"_s), u"2-1"_s);
    }

    void marksAndAnswerPanel()
    {
        Fixture f;
        Window w(inputs(f));
        click(w.get(), u"optionB"_s);
        click(w.get(), u"markButton"_s);
        QCOMPARE(child<QPushButton>(w.get(), u"markButton"_s)->text(), u"已标记"_s);
        QVERIFY(child<QCheckBox>(w.get(), u"optionB"_s)->isChecked()); // marking keeps the ticked box
        QCOMPARE(text(w.get(), u"markState"_s), u"已标记"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_mask"_s).toInt(), 1);
        click(w.get(), u"essenceButton"_s);
        QCOMPARE(child<QPushButton>(w.get(), u"essenceButton"_s)->text(), u"已精华标记"_s);
        QCOMPARE(text(w.get(), u"essenceState"_s), u"精华类"_s);
        click(w.get(), u"essenceButton"_s);
        QCOMPARE(text(w.get(), u"essenceState"_s), u"普通类"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_ok_mask"_s).toInt(), 0);

        // A single answer panel closes on the next move; show-all keeps it open.
        auto *single = child<QPushButton>(w.get(), u"showAnswerButton"_s);
        auto *all = child<QPushButton>(w.get(), u"showAllButton"_s);
        auto *panel = child(w.get(), u"answerPanel"_s);
        single->click();
        QCOMPARE(single->text(), u"隐藏答案"_s);
        QCOMPARE(panel->height(), 169);
        QCOMPARE(text(w.get(), u"correctAnswer"_s), u"A"_s);
        QVERIFY(child(w.get(), u"answerCover"_s)->isVisible());
        click(w.get(), u"nextButton"_s);
        QVERIFY(!panel->isVisible());
        QCOMPARE(single->text(), u"显示答案"_s);
        all->click();
        QCOMPARE(all->text(), u"隐藏全部答案和解析"_s);
        QCOMPARE(single->text(), u"隐藏答案"_s);
        click(w.get(), u"nextButton"_s);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->height(), 169);
        all->click();
        QVERIFY(!panel->isVisible());
        QCOMPARE(single->text(), u"显示答案"_s);
    }

    void picker()
    {
        Fixture f;
        Window w(inputs(f));
        click(w.get(), u"optionA"_s);
        click(w.get(), u"pickButton"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_answer"_s).toString(), u"A"_s); // recorded first
        auto *picker = child<QuestionPicker>(w.get(), u"questionPicker"_s);
        auto *list = child<QTableWidget>(w.get(), u"pickerList"_s);
        QVERIFY(picker->isVisible());
        QCOMPARE(list->rowCount(), 9);
        QCOMPARE(list->item(0, 2)->text(), u"已做题"_s);
        QCOMPARE(list->item(1, 2)->text(), u"未做题"_s);
        QCOMPARE(list->item(5, 1)->text(), u"案例分析题"_s);
        list->setCurrentCell(4, 0);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第5题"_s);
        QCOMPARE(child<QTextEdit>(w.get(), u"pickerStem"_s)->toPlainText(), u"分录"_s);
        Q_EMIT list->cellDoubleClicked(4, 0);
        QVERIFY(!picker->isVisible());
    }

    void pickerFollowsTheCurrentRow()
    {
        Fixture f;
        Window w(inputs(f));
        click(w.get(), u"optionA"_s);
        click(w.get(), u"pickButton"_s);
        auto *list = child<QTableWidget>(w.get(), u"pickerList"_s);
        auto *stem = child<QTextEdit>(w.get(), u"pickerStem"_s);
        QCOMPARE(list->currentRow(), 0);
        // The toolbar moves on while the picker is open: highlight, cells and stem follow.
        click(w.get(), u"nextButton"_s);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(list->item(0, 2)->text(), u"已做题"_s);
        QCOMPARE(list->item(1, 2)->text(), u"未做题"_s);
        click(w.get(), u"optionB"_s);
        click(w.get(), u"nextButton"_s);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(list->item(1, 2)->text(), u"已做题"_s);
        QCOMPARE(stem->toPlainText(), u"题干 Q3"_s);
        click(w.get(), u"markButton"_s);
        QCOMPARE(list->item(2, 3)->text(), u"已标记"_s);
        click(w.get(), u"previousButton"_s);
        QCOMPARE(list->currentRow(), 1);
        // So does the countdown's switch.
        Timer1Ticks(w.get(), 21);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第3题"_s);
        QCOMPARE(list->currentRow(), 2);
        // Highlighting a row still moves the window.
        list->setCurrentCell(4, 0);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第5题"_s);
        QCOMPARE(list->currentRow(), 4);
        QCOMPARE(stem->toPlainText(), u"分录"_s);
    }

    void accountPickerOutlivesAQuestion()
    {
        Fixture f;
        Window w(inputs(f));
        goToRow(w.get(), u"Q4E"_s);
        auto *editor = child<EntryEditor>(w.get(), u"entryEditor"_s);
        click(editor, u"pick1_2"_s);
        AccountPicker *picker = editor->accountPicker();
        QVERIFY(picker->isVisible());
        // Loading the other calculation question keeps the picker and its target box.
        click(w.get(), u"previousButton"_s);
        QCOMPARE(w->session().current()->pId, u"Q4A"_s);
        QVERIFY(picker->isVisible());
        click(w.get(), u"nextButton"_s);
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->target(), child<QLineEdit>(editor, u"account1_2"_s));
        auto *tree = child<QTreeWidget>(editor, u"accountTree"_s);
        tree->setCurrentItem(tree->topLevelItem(0)->child(1));
        click(editor, u"accountOk"_s);
        QCOMPARE(child<QLineEdit>(editor, u"account1_2"_s)->text(), u"银行存款"_s);
        QVERIFY(!picker->isVisible());
    }

    void finishes()
    {
        Fixture f;
        Window w(inputs(f));
        QSignalSpy done(w.get(), &PracticeWindow::finished);
        click(w.get(), u"optionA"_s);
        messages::Responder r;
        r.queue(messages::Answer::No);
        click(w.get(), u"finishButton"_s);
        // Declined: the answer is recorded, nothing stored, the clocks stopped, the window open.
        QCOMPARE(r.lastText(), u"确定进行结束练习吗?"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_answer"_s).toString(), u"A"_s);
        QCOMPARE(f.bank.count(u"page_total"_s), 0);
        QVERIFY(!child<QTimer>(w.get(), u"Timer1"_s)->isActive());
        QVERIFY(!child<QTimer>(w.get(), u"Timer2"_s)->isActive());
        QVERIFY(w->isVisible());

        r.queue(messages::Answer::Yes);
        w->Timer2Timer();
        click(w.get(), u"finishButton"_s);
        QCOMPARE(done.size(), 1);
        const auto result = done.at(0).at(0).value<practice::PracticeResult>();
        QCOMPARE(result.totals.done, 1);
        QCOMPARE(result.totals.right, 1);
        QCOMPARE(result.course, u"会计基础"_s);
        QCOMPARE(result.elapsed, u"1秒"_s);
        QCOMPARE(f.bank.count(u"page_total"_s, u"page_id=? and p_time=? and p_type=?"_s,
                              {f.pageId, u"1秒"_s, u"章节练习"_s}),
                 1);
        QVERIFY(w.get() == nullptr || !w->isVisible());
    }

    void closeRequest_data()
    {
        QTest::addColumn<QList<int>>("answers"); // 1 = Yes, 0 = No
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("totals");
        QTest::newRow("no") << QList<int>{0} << false << 0;
        QTest::newRow("yes, yes") << QList<int>{1, 1} << true << 1;
        QTest::newRow("yes, no") << QList<int>{1, 0} << true << 0;
    }
    void closeRequest()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, closed);
        QFETCH(int, totals);
        Fixture f;
        Window w(inputs(f));
        messages::Responder r;
        for (int a : answers)
            r.queue(a ? messages::Answer::Yes : messages::Answer::No);
        const bool result = w->close();
        QCOMPARE(result, closed);
        QCOMPARE(r.shown().first().text, u"确定退出,并进行提交汇总成绩吗?"_s);
        QCOMPARE(f.bank.count(u"page_total"_s), totals);
    }

    void databaseErrorKeepsTheQuestion()
    {
        Fixture f;
        Window w(inputs(f));
        db::run(f.bank.db(),
                u"create trigger no_answers before update on test_page begin select raise(abort,'boom'); end"_s);
        messages::Responder r;
        click(w.get(), u"optionB"_s);
        click(w.get(), u"nextButton"_s);
        QCOMPARE(r.shown().size(), 1);
        QCOMPARE(r.shown().first().caption, u"错误信息"_s);
        QCOMPARE(text(w.get(), u"overallNumber"_s), u"第1题"_s);
        QVERIFY(child<QCheckBox>(w.get(), u"optionB"_s)->isChecked());
        // "退出练习" fails the same way and the window stays; nothing of the answer was written.
        click(w.get(), u"finishButton"_s);
        QCOMPARE(r.shown().size(), 2);
        QVERIFY(r.lastText().startsWith(u"当前题目的答案未能保存,本次练习成绩也未保存。\n"_s));
        QVERIFY(r.lastText().contains(u"boom"_s));
        QVERIFY(w->isVisible());
        QCOMPARE(f.tmp(u"Q1"_s, u"0"_s, u"d_p_b"_s).toInt(), 0);
        // The close request closes after Yes all the same.
        r.queue(messages::Answer::Yes);
        QVERIFY(w->close());
        QCOMPARE(r.shown().last().caption, u"错误信息"_s);
        QCOMPARE(f.bank.count(u"page_total"_s), 0);
        db::run(f.bank.db(), u"drop trigger no_answers"_s);
    }

    void closesAfterYesWhileTheBankFails_data()
    {
        QTest::addColumn<BankFault::Kind>("fault");
        QTest::addColumn<QString>("question"); // the current question when the learner closes
        QTest::addColumn<int>("questions");    // questions asked before the error
        QTest::addColumn<QString>("message");
        const QString answer = u"当前题目的答案未能保存,本次练习成绩也未保存。\n"_s;
        const QString totals = u"本次练习成绩未能保存。\n"_s;
        QTest::newRow("read-only, answer pending") << BankFault::ReadOnly << u"Q1"_s << 1 << answer;
        QTest::newRow("locked, answer pending") << BankFault::Locked << u"Q1"_s << 1 << answer;
        QTest::newRow("read-only, totals") << BankFault::ReadOnly << u"Q6"_s << 2 << totals;
        QTest::newRow("locked, totals") << BankFault::Locked << u"Q6"_s << 2 << totals;
    }
    void closesAfterYesWhileTheBankFails()
    {
        QFETCH(BankFault::Kind, fault);
        QFETCH(QString, question);
        QFETCH(int, questions);
        QFETCH(QString, message);
        Fixture f;
        Window w(inputs(f));
        if (question != u"Q1")
            goToRow(w.get(), question);
        else
            click(w.get(), u"optionB"_s);
        const QString before = snapshot(f.bank.db());
        messages::Responder r;
        {
            BankFault broken(f.bank, fault);
            r.queue(messages::Answer::Yes);
            r.queue(messages::Answer::Yes);
            QVERIFY(w->close());
        }
        QCOMPARE(r.shown().size(), questions + 1);
        QCOMPARE(r.shown().first().text, u"确定退出,并进行提交汇总成绩吗?"_s);
        QCOMPARE(r.shown().last().caption, u"错误信息"_s);
        QVERIFY2(r.lastText().startsWith(message), qPrintable(r.lastText()));
        QVERIFY(r.lastText().size() > message.size()); // followed by the reason
        QVERIFY(!w->isVisible());
        QCOMPARE(snapshot(f.bank.db()), before);
    }

    void slotsKeepTheWindowOnADatabaseError_data()
    {
        QTest::addColumn<BankFault::Kind>("fault");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("number"); // overall number shown afterwards
        for (const auto &[kind, name] : {std::pair{BankFault::ReadOnly, "read-only"}, {BankFault::Locked, "locked"}}) {
            const QList<std::pair<QString, QString>> actions = {
                {u"next"_s, u"第1题"_s},  {u"previous"_s, u"第2题"_s}, {u"pick"_s, u"第1题"_s},
                {u"mark"_s, u"第1题"_s},  {u"essence"_s, u"第1题"_s},  {u"countdown"_s, u"第1题"_s},
                {u"finish"_s, u"第1题"_s}};
            for (const auto &[action, number] : actions)
                QTest::addRow("%s, %s", name, qPrintable(action)) << kind << action << number;
        }
    }
    void slotsKeepTheWindowOnADatabaseError()
    {
        QFETCH(BankFault::Kind, fault);
        QFETCH(QString, action);
        QFETCH(QString, number);
        Fixture f;
        Window w(inputs(f));
        if (action == u"previous")
            click(w.get(), u"nextButton"_s);
        click(w.get(), u"optionB"_s);
        const QString before = snapshot(f.bank.db());
        messages::Responder r;
        {
            BankFault broken(f.bank, fault);
            if (action == u"countdown")
                Timer1Ticks(w.get(), 21);
            else
                click(w.get(), action + u"Button"_s);
        }
        QCOMPARE(r.shown().size(), 1);
        QCOMPARE(r.shown().first().caption, u"错误信息"_s);
        QVERIFY(w->isVisible());
        QCOMPARE(text(w.get(), u"overallNumber"_s), number);
        QVERIFY(child<QCheckBox>(w.get(), u"optionB"_s)->isChecked()); // the input stays, unrecorded
        QCOMPARE(snapshot(f.bank.db()), before);
        QCOMPARE(child<QPushButton>(w.get(), u"markButton"_s)->text(), u"标记本题"_s);
        QCOMPARE(child<QPushButton>(w.get(), u"essenceButton"_s)->text(), u"设为精华题目"_s);
        QVERIFY(!child(w.get(), u"questionPicker"_s)->isVisible());
        if (action == u"countdown")
            QCOMPARE(text(w.get(), u"Label24"_s), u"19"_s);
        // Once the bank works again, so does the window.
        click(w.get(), u"nextButton"_s);
        QCOMPARE(r.shown().size(), 1);
        QVERIFY(text(w.get(), u"overallNumber"_s) != number);
    }

    void reviewInputs()
    {
        Fixture f;
        practice::PracticeInputs in = inputs(f);
        in.answerPanelHeight = 169;
        in.showAnswerEnabled = false;
        in.answerCover = false;
        in.elapsedClock = false;
        in.autoAdvance = false;
        in.headerPicture = u"skin/none.bmp"_s; // missing pictures are no error
        Window w(in);
        QCOMPARE(child(w.get(), u"answerPanel"_s)->height(), 169);
        QVERIFY(!child(w.get(), u"answerCover"_s)->isVisible());
        QVERIFY(!child<QPushButton>(w.get(), u"showAnswerButton"_s)->isEnabled());
        QVERIFY(!child<QTimer>(w.get(), u"Timer2"_s)->isActive());
        QVERIFY(!child<QTimer>(w.get(), u"Timer1"_s)->isActive());
    }

private:
    static void Timer1Ticks(PracticeWindow *w, int n)
    {
        for (int k = 0; k < n; ++k)
            w->Timer1Timer();
    }
};

QTEST_MAIN(PracticeWindowTest)
#include "practice_window.moc"
