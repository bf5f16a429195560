// The practice window on a small session: display of every type, moves, the answer panel, marks,
// the clocks, recording, the picker, finishing and the close request.
#include "../unit/practice_fixture.h"
#include "practice_gui.h"

#include "practice/ui/entryeditor.h"
#include "practice/ui/practicewindow.h"
#include "practice/ui/questionpicker.h"
#include "shell/ui/messages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
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
        w = new PracticeWindow(QString(), false);
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

} // namespace

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
        // Finishing fails the same way: no totals row, the window stays.
        r.queue(messages::Answer::Yes);
        QVERIFY(!w->close());
        QCOMPARE(f.bank.count(u"page_total"_s), 0);
        QVERIFY(w->isVisible());
        db::run(f.bank.db(), u"drop trigger no_answers"_s);
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
