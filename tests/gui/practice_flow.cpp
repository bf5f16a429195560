// The whole chapter-practice flow through the main window: panel, session build, the practice
// window on every question type, marks, finishing and the practice-result panel.
#include "../unit/practice_fixture.h"
#include "practice_gui.h"

#include "db/connection.h"
#include "shell/apppaths.h"

#include "practice/entrytext.h"
#include "practice/ui/entryeditor.h"
#include "practice/ui/practicewindow.h"
#include "records/ui/practiceresultpanel.h"
#include "session/ui/chapterpracticepanel.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSoundEffect>
#include <QSpinBox>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace practicegui;

namespace {

// A main window over a program folder whose bank is given by the caller.
struct Program
{
    explicit Program(const QString &dir)
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
    bool ok = false;

    QWidget *panel6() const { return window->panel(u"Panel6"_s); }
    void openPanel() const { child<QToolButton>(window.get(), u"SpeedButton3"_s)->click(); }
};

// A short silent PCM sound (8 kHz, 16 bit, mono) where the program looks for its countdown beep.
void writeAlert(const TestBank &bank)
{
    const QByteArray samples(1600, '\0');
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples.size());
    out.writeRawData(samples.constData(), int(samples.size()));
    bank.writeFile(u"data/alert.wav"_s, wav);
}

// The answer records of a session in the order they were appended.
QStringList recordOrder(const TestBank &bank, const QString &pageId)
{
    QStringList ids;
    QSqlQuery q = db::run(bank.db(), u"select p_id from test_page where page_id=? order by rowid"_s, {pageId});
    while (q.next())
        ids << q.value(0).toString();
    return ids;
}

// Opens the panel, chooses a course and a chapter with every question, starts in selection order.
PracticeWindow *start(Program &p, int course, const QString &chapterButton)
{
    p.openPanel();
    auto *courses = child<QComboBox>(p.panel6(), u"ComboBox1"_s);
    courses->setCurrentIndex(course);
    Q_EMIT courses->activated(course);
    click(p.panel6(), chapterButton);
    child<QCheckBox>(p.panel6(), u"CheckBox2"_s)->setChecked(false);
    click(p.panel6(), u"sd1"_s);
    PracticeWindow *w = PracticeWindow::current();
    if (!w || !w->isVisible())
        qFatal("no practice window");
    return w;
}

} // namespace

class PracticeFlowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void panelShowsTheChapter()
    {
        practicetest::Fixture f(u"fixture"_s, false);
        f.bank.addChapter(u"C2"_s, u"第二章 会计要素与会计等式以及会计科目和账户的基本概念"_s, u"M1"_s);
        f.bank.addCourse(u"M9"_s, u"空课程"_s);
        Program p(f.bank.dir());
        QVERIFY(p.ok);
        p.openPanel();
        QCOMPARE(p.window->frontPanel(), p.panel6());
        auto *courses = child<QComboBox>(p.panel6(), u"ComboBox1"_s);
        QCOMPARE(courses->count(), 2);
        QCOMPARE(courses->currentText(), u"会计基础"_s);
        QVERIFY(child(p.panel6(), u"gb3"_s)->isVisible());
        QCOMPARE(text(p.panel6(), u"Label15"_s), u"请选择章节..."_s);
        QCOMPARE(text(p.panel6(), u"Label76"_s), u"计算分析题: 0   题"_s);
        QCOMPARE(text(p.panel6(), u"Label174"_s), u"计算题:"_s);
        QCOMPARE(child<QSpinBox>(p.panel6(), u"Edit3"_s)->value(), 30);
        QVERIFY(!child<QPushButton>(p.panel6(), u"sd1"_s)->isEnabled());

        // Chapter buttons: position, caption cut by bytes, full name as tooltip.
        auto *first = child<QPushButton>(p.panel6(), u"sC1"_s);
        auto *second = child<QPushButton>(p.panel6(), u"sC2"_s);
        QCOMPARE(first->geometry(), QRect(3, 10, 250, 25));
        QCOMPARE(second->geometry(), QRect(3, 40, 250, 25));
        QCOMPARE(second->toolTip(), u"第二章 会计要素与会计等式以及会计科目和账户的基本概念"_s);
        QCOMPARE(second->text(), u"第二章 会计要素与会计等式以及   "_s); // 29 bytes: 及 starts at byte 28

        first->click();
        QCOMPARE(text(p.panel6(), u"Label15"_s), u"第一章"_s);
        QCOMPARE(text(p.panel6(), u"Label12"_s), u"7"_s);
        QCOMPARE(text(p.panel6(), u"Label98"_s), u"1"_s);
        QCOMPARE(text(p.panel6(), u"Label95"_s), u"题,每题1分"_s);
        QCOMPARE(text(p.panel6(), u"Label96"_s), u"题,每题2分"_s);
        // The chapter also holds a practical-operation question: the later type's line wins.
        QCOMPARE(text(p.panel6(), u"Label76"_s), u"实务操作题:  1  题,每题4分"_s);
        QCOMPARE(text(p.panel6(), u"Label174"_s), u"实务题:"_s);
        QCOMPARE(child<QSpinBox>(p.panel6(), u"Edit13"_s)->value(), 1);
        QVERIFY(child<QPushButton>(p.panel6(), u"sd1"_s)->isEnabled());
        QVERIFY(!child<QSpinBox>(p.panel6(), u"Edit1"_s)->isEnabled());

        // "全部习题" off enables the boxes; unchecking a type zeroes its count, a zero count unchecks it.
        QTest::mouseClick(child(p.panel6(), u"Label165"_s), Qt::LeftButton);
        QVERIFY(!child<QCheckBox>(p.panel6(), u"CheckBox9"_s)->isChecked());
        QVERIFY(child<QSpinBox>(p.panel6(), u"Edit1"_s)->isEnabled());
        // The count box holds numbers up to the chapter's count only.
        auto *edit1 = child<QSpinBox>(p.panel6(), u"Edit1"_s);
        edit1->clear();
        QTest::keyClicks(edit1, u"x5"_s);
        QCOMPARE(edit1->value(), 1);
        click(p.panel6(), u"CheckBox5"_s);
        QCOMPARE(edit1->value(), 0);
        child<QSpinBox>(p.panel6(), u"Edit2"_s)->setValue(0);
        QVERIFY(!child<QCheckBox>(p.panel6(), u"CheckBox6"_s)->isChecked());
        child<QSpinBox>(p.panel6(), u"Edit2"_s)->setValue(1);
        QVERIFY(child<QCheckBox>(p.panel6(), u"CheckBox6"_s)->isChecked());
        for (const QString &n : {u"Edit2"_s, u"Edit9"_s, u"Edit13"_s})
            child<QSpinBox>(p.panel6(), n)->setValue(0);
        // Nothing selected: the message, nothing written.
        click(p.panel6(), u"sd1"_s);
        QCOMPARE(p.responder.lastText(), u"当前设置练习题为零,无法进行练习,请重新设置...."_s);
        QCOMPARE(p.responder.shown().last().caption, u"错误信息"_s);
        QCOMPARE(f.bank.count(u"test_page"_s), 0);
        QVERIFY(!PracticeWindow::current());
        // A font size that the box cannot hold never reaches the build.
        auto *font = child<QSpinBox>(p.panel6(), u"Edit8"_s);
        font->setValue(40);
        QCOMPARE(font->value(), 16);
        QCOMPARE(child<QLabel>(p.panel6(), u"Label94"_s)->font().pointSize(), 16);

        // A course without chapters.
        courses->setCurrentIndex(1);
        Q_EMIT courses->activated(1);
        QCOMPARE(p.responder.lastText(), u"当前章节记录为零...."_s);
        QCOMPARE(p.responder.shown().last().caption, u"信息提醒"_s);
        QVERIFY(!child(p.panel6(), u"gb3"_s)->isVisible());
        QVERIFY(!child<QPushButton>(p.panel6(), u"sd1"_s)->isEnabled());
    }

    void wholeFlowOnAFixture()
    {
        // One course per fourth type, as real banks have them.
        practicetest::Fixture f(u"fixture"_s, false);
        f.bank.addCourse(u"M2"_s, u"财经法规与会计职业道德"_s);
        f.bank.addChapter(u"C5"_s, u"案例章"_s, u"M2"_s);
        f.bank.addCourse(u"M3"_s, u"初级会计电算化"_s);
        f.bank.addChapter(u"C6"_s, u"实务章"_s, u"M3"_s);
        db::run(f.bank.db(), u"update ex_page_id set c_id='C5' where p_id='Q5'"_s);
        db::run(f.bank.db(), u"update ex_page_id set c_id='C6' where p_id='Q6'"_s);
        Program p(f.bank.dir());
        QVERIFY(p.ok);

        // Course 1: choices and both calculation modes.
        PracticeWindow *w = start(p, 0, u"sC1"_s);
        f.pageId = p.window->currentPageId();
        QCOMPARE(f.pageId, u"20300506093000"_s);
        QCOMPARE(w->windowTitle(), u"章节练习"_s);
        QCOMPARE(text(w, u"Label67"_s), u"计算分析题:"_s);
        QCOMPARE(text(w, u"fourthCount"_s), u"2 题"_s);
        QCOMPARE(text(w, u"Label27"_s), u"5"_s);
        QCOMPARE(text(w, u"Label24"_s), u"30"_s);
        QCOMPARE(text(w, u"Label33"_s), u"09:30:00"_s);
        QCOMPARE(f.bank.count(u"test_page"_s, u"page_id=?"_s, {f.pageId}), 5);
        QCOMPARE(f.bank.count(u"tmp"_s), 5);

        click(w, u"optionA"_s); // Q1 right
        click(w, u"nextButton"_s);
        click(w, u"optionB"_s); // Q2 wrong
        click(w, u"nextButton"_s);
        click(w, u"optionA"_s); // Q3 right
        click(w, u"markButton"_s);
        click(w, u"nextButton"_s);
        auto *editor = child<EntryEditor>(w, u"entryEditor"_s);
        child<QLineEdit>(editor, u"computedAmount1"_s)->setText(u"100"_s); // Q4A amounts: one of three
        click(w, u"nextButton"_s);
        click(editor, u"debit1_1"_s); // Q4E entries: sub-item 2 right
        child<QLineEdit>(editor, u"account1_1"_s)->setText(u"库存现金"_s);
        child<QLineEdit>(editor, u"amount1_1"_s)->setText(u"100"_s);
        click(editor, u"debit2_1"_s);
        child<QLineEdit>(editor, u"account2_1"_s)->setText(u"原材料"_s);
        child<QLineEdit>(editor, u"amount2_1"_s)->setText(u"50"_s);
        for (int k = 0; k < 3; ++k)
            w->Timer2Timer();
        p.responder.queue(messages::Answer::Yes);
        click(w, u"finishButton"_s);
        QCOMPARE(p.responder.lastText(), u"确定进行结束练习吗?"_s);
        QVERIFY(!PracticeWindow::current());

        QCOMPARE(f.record(u"Q1"_s, u"p_real_yn"_s).toInt(), 1);
        QCOMPARE(f.record(u"Q2"_s, u"p_answer"_s).toString(), u"B"_s);
        QCOMPARE(f.record(u"Q2"_s, u"p_real_yn"_s).toInt(), 0);
        QCOMPARE(f.record(u"Q3"_s, u"p_mask"_s).toInt(), 1);
        QCOMPARE(f.record(u"Q4A"_s, u"p_answer"_s).toString(), u"100/////"_s);
        QCOMPARE(f.record(u"Q4A"_s, u"p_score"_s).toDouble(), 2.0);
        QCOMPARE(f.record(u"Q4E"_s, u"p_answer"_s).toString(), u"借:库存现金=100/;借:原材料=50////"_s);
        QCOMPARE(f.record(u"Q4E"_s, u"p_score"_s).toDouble(), 5.0);
        QCOMPARE(f.tmp(u"Q3"_s, u"0"_s, u"d_p_mask"_s).toInt(), 1);
        QCOMPARE(f.tmp(u"Q2"_s, u"0"_s, u"d_p_b"_s).toInt(), 1);
        // Right rows Q1, Q3; marks 1 + 1 + 2 + 5 = 9 of 1 + 2 + 1 + 6 + 10.
        QCOMPARE(practicetest::totalsRow(f.bank.db(), f.pageId),
                 (QStringList{f.pageId, u"2"_s, u"3"_s, u"0"_s, u"5"_s, u"3秒"_s, u"章节练习"_s, u"9"_s}));
        QCOMPARE(f.bank.count(u"page_total"_s), 1);

        // The practice-result panel is in front with the totals.
        QCOMPARE(p.window->frontPanel(), p.panel6());
        auto *result = child<PracticeResultPanel>(p.panel6(), u"practiceResult"_s);
        QCOMPARE(child<QStackedWidget>(p.panel6(), u"infoBoxes"_s)->currentWidget(), result);
        QCOMPARE(result->title(), u" 练习成绩"_s);
        const QList<std::pair<QString, QString>> values = {
            {u"resultCourse"_s, u"会计基础"_s}, {u"resultChapter"_s, u"第一章"_s}, {u"resultStart"_s, u"09:30:00"_s},
            {u"resultElapsed"_s, u"3秒"_s},     {u"resultTotal"_s, u"5 题"_s},     {u"resultDone"_s, u"5 题"_s},
            {u"resultRight"_s, u"2 题"_s},      {u"resultNotDone"_s, u"0 题"_s},   {u"resultWrong"_s, u"3 题"_s},
            {u"resultFull"_s, u"20 分"_s},      {u"resultScore"_s, u"9 分"_s},     {u"resultPercent"_s, u"45%"_s}};
        for (const auto &[name, value] : values)
            QCOMPARE(text(result, name), value);
        QCOMPARE(child<QToolButton>(result, u"SpeedButton15"_s)->text(), u"重新练习"_s);
        QCOMPARE(child<QToolButton>(result, u"SpeedButton16"_s)->size(), QSize(121, 41));

        // Course 2: the case question's sub-questions.
        p.clock.advance(1000);
        w = start(p, 1, u"sC5"_s);
        QCOMPARE(text(w, u"Label67"_s), u"案例分析题:"_s);
        QCOMPARE(text(w, u"Label27"_s), u"1"_s);
        QVERIFY(child(w, u"subCaption"_s)->isVisible());
        click(w, u"optionA"_s); // sub-question 1 right
        click(w, u"nextButton"_s);
        click(w, u"optionB"_s); // sub-question 2 half right: wrong
        click(w, u"nextButton"_s);
        p.responder.queue(messages::Answer::Yes);
        click(w, u"finishButton"_s);
        f.pageId = p.window->currentPageId();
        QCOMPARE(f.record(u"Q5"_s, u"p_answer"_s).toString(), u"A/B/////"_s);
        QCOMPARE(f.record(u"Q5"_s, u"p_score"_s).toDouble(), 2.0);
        QCOMPARE(f.tmp(u"Q5"_s, u"1"_s, u"p_real_yn"_s).toInt(), 1);
        QCOMPARE(f.tmp(u"Q5"_s, u"2"_s, u"p_real_yn"_s).toInt(), 0);
        QCOMPARE(practicetest::totalsRow(f.bank.db(), f.pageId),
                 (QStringList{f.pageId, u"1"_s, u"2"_s, u"0"_s, u"1"_s, u"0"_s, u"章节练习"_s, u"2"_s}));
        QCOMPARE(text(result, u"resultPercent"_s), u"33%"_s);

        // Course 3: practical operation is shown, never recorded.
        p.clock.advance(1000);
        w = start(p, 2, u"sC6"_s);
        QCOMPARE(text(w, u"currentTypeName"_s), u"实务操作分析题"_s);
        QVERIFY(child(w, u"practicalNotice"_s)->isVisible());
        p.responder.queue(messages::Answer::Yes);
        click(w, u"finishButton"_s);
        f.pageId = p.window->currentPageId();
        QCOMPARE(f.record(u"Q6"_s, u"p_do_yn"_s).toInt(), 0);
        QCOMPARE(text(result, u"resultNotDone"_s), u"1 题"_s);

        // Opening the panel again shows the information box and reselects the first course.
        p.openPanel();
        QCOMPARE(child<QStackedWidget>(p.panel6(), u"infoBoxes"_s)->currentWidget()->objectName(), u"infoPage"_s);
        QCOMPARE(child<QComboBox>(p.panel6(), u"ComboBox1"_s)->currentIndex(), 0);
    }

    void anOpenWindowClosesBeforeTheNextBuild()
    {
        practicetest::Fixture f(u"fixture"_s, false);
        Program p(f.bank.dir());
        p.openPanel();
        click(p.panel6(), u"sC1"_s);
        click(p.panel6(), u"sd1"_s);
        QPointer<PracticeWindow> first = PracticeWindow::current();
        QVERIFY(first);
        // The learner keeps the first window: no new session replaces its working copy.
        p.responder.queue(messages::Answer::No);
        click(p.panel6(), u"sd1"_s);
        QCOMPARE(PracticeWindow::current(), first.data());
        QCOMPARE(f.bank.count(u"test_page"_s), 6);
        // Closing it without totals lets the new session start.
        p.responder.queue(messages::Answer::Yes);
        p.responder.queue(messages::Answer::No);
        p.clock.advance(1000);
        click(p.panel6(), u"sd1"_s);
        QVERIFY(PracticeWindow::current());
        QVERIFY(PracticeWindow::current() != first.data());
        QCOMPARE(f.bank.count(u"test_page"_s), 12);
        QCOMPARE(f.bank.count(u"page_total"_s), 0);
    }

    void buildOnABankThatRefusesWrites()
    {
        practicetest::Fixture f(u"fixture"_s, false);
        Program p(f.bank.dir());
        QVERIFY(p.ok);
        p.openPanel();
        click(p.panel6(), u"sC1"_s);
        db::run(db::bank(), u"pragma query_only=1"_s);
        p.responder.clear();
        click(p.panel6(), u"sd1"_s);
        db::run(db::bank(), u"pragma query_only=0"_s);
        QCOMPARE(p.responder.shown().size(), 1);
        QCOMPARE(p.responder.shown().first().caption, u"错误信息"_s);
        QVERIFY(!child(p.window.get(), u"Panel7"_s)->isVisible());
        QVERIFY(!PracticeWindow::current());
        QCOMPARE(f.bank.count(u"test_page"_s), 0);
        QCOMPARE(f.bank.count(u"tmp"_s), 0);
        QCOMPARE(p.window->currentPageId(), QString());
        // The panel stays usable.
        click(p.panel6(), u"sd1"_s);
        QVERIFY(PracticeWindow::current());
    }

    void previewsAndTheFourthTypeBox()
    {
        practicetest::Fixture f(u"fixture"_s, false);
        f.bank.addChapter(u"C0"_s, u"空章节"_s, u"M1"_s);
        f.bank.addChapter(u"C3"_s, u"单选章"_s, u"M1"_s);
        f.bank.addQuestion(u"C3"_s, u"S1"_s, 1, u"A"_s);
        Program p(f.bank.dir());
        QVERIFY(p.ok);
        // Both font-size previews show the size their box starts with.
        QCOMPARE(child<QSpinBox>(p.panel6(), u"Edit8"_s)->value(), 12);
        QCOMPARE(child<QLabel>(p.panel6(), u"Label94"_s)->font().pointSize(), 12);
        QCOMPARE(child<QLabel>(p.window.get(), u"Label108"_s)->font().pointSize(), 12);

        p.openPanel();
        auto *fourth = child<QCheckBox>(p.panel6(), u"CheckBox10"_s);
        QVERIFY(!fourth->isChecked());
        QVERIFY(!fourth->isEnabled());
        // An empty chapter checks and disables the other boxes and leaves the fourth type's alone.
        click(p.panel6(), u"sC0"_s);
        for (const QString &name : {u"CheckBox9"_s, u"CheckBox5"_s, u"CheckBox6"_s, u"CheckBox7"_s}) {
            QVERIFY2(child<QCheckBox>(p.panel6(), name)->isChecked(), qPrintable(name));
            QVERIFY2(!child<QCheckBox>(p.panel6(), name)->isEnabled(), qPrintable(name));
        }
        for (const QString &name : {u"Edit1"_s, u"Edit2"_s, u"Edit9"_s, u"Edit13"_s})
            QVERIFY2(!child<QSpinBox>(p.panel6(), name)->isEnabled(), qPrintable(name));
        QVERIFY(!child<QPushButton>(p.panel6(), u"sd1"_s)->isEnabled());
        QVERIFY(!fourth->isChecked());
        QVERIFY(!fourth->isEnabled());
        // A chapter without questions of the fourth type does not check it either; one with them does.
        click(p.panel6(), u"sC3"_s);
        QVERIFY(!fourth->isChecked());
        QCOMPARE(child<QSpinBox>(p.panel6(), u"Edit13"_s)->value(), 0);
        click(p.panel6(), u"sC1"_s);
        QVERIFY(fourth->isChecked());
        QVERIFY(!fourth->isEnabled());
        QCOMPARE(child<QSpinBox>(p.panel6(), u"Edit13"_s)->value(), 1);
    }

    void randomOrderThroughThePanel_data()
    {
        QTest::addColumn<bool>("random");
        QTest::newRow("random order") << true;
        QTest::newRow("selection order") << false;
    }
    void randomOrderThroughThePanel()
    {
        QFETCH(bool, random);
        TestBank bank(u"fixture"_s);
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        QStringList ids;
        for (int k = 1; k <= 30; ++k) {
            ids << u"S%1"_s.arg(k, 2, 10, QLatin1Char('0'));
            bank.addQuestion(u"C1"_s, ids.last(), 1, u"A"_s);
        }
        Program p(bank.dir());
        QVERIFY(p.ok);
        p.openPanel();
        click(p.panel6(), u"sC1"_s);
        auto *option = child<QCheckBox>(p.panel6(), u"CheckBox2"_s);
        QVERIFY(option->isChecked()); // on by default
        option->setChecked(random);
        click(p.panel6(), u"sd1"_s);
        PracticeWindow *w = PracticeWindow::current();
        QVERIFY(w);
        QStringList appended = recordOrder(bank, p.window->currentPageId());
        // 30 records in a random order: the chance of meeting the selection order is 1 in 30!.
        QCOMPARE(appended != ids, random);
        appended.sort();
        QCOMPARE(appended, ids);
        // The window shows the questions by type and question whatever the order of the records.
        QStringList shown;
        for (const practice::PracticeRow &row : w->session().rows())
            shown << row.pId;
        QCOMPARE(shown, ids);
    }

    void countdownBeep_data()
    {
        QTest::addColumn<QByteArray>("beep"); // the beep key of main.ini
        QTest::addColumn<bool>("soundFile");
        QTest::addColumn<QStringList>("beepsAt"); // the countdown shown when the sound starts
        const QStringList lastFive = {u"5"_s, u"4"_s, u"3"_s, u"2"_s, u"1"_s};
        QTest::newRow("beep on") << QByteArray("1") << true << lastFive;
        QTest::newRow("beep off") << QByteArray("0") << true << QStringList();
        QTest::newRow("beep on, no sound file") << QByteArray("1") << false << QStringList();
    }
    void countdownBeep()
    {
        QFETCH(QByteArray, beep);
        QFETCH(bool, soundFile);
        QFETCH(QStringList, beepsAt);
        practicetest::Fixture f(u"fixture"_s, false);
        f.bank.writeFile(u"main.ini"_s, "[main]\r\n[config]\r\nauto_time=8\r\nbeep=" + beep + "\r\n");
        if (soundFile)
            writeAlert(f.bank);
        Program p(f.bank.dir());
        QVERIFY(p.ok);
        PracticeWindow *w = start(p, 0, u"sC1"_s);
        QStringList heard;
        w->setSoundPlayer([&](const QString &file) {
            QCOMPARE(file, f.bank.path(u"data/alert.wav"_s));
            heard << text(w, u"Label24"_s);
        });
        for (int k = 0; k < 8; ++k) // 7, 6, ... 0
            w->Timer1Timer();
        QCOMPARE(heard, beepsAt);
        // The next period beeps again.
        heard.clear();
        for (int k = 0; k < 8; ++k)
            w->Timer1Timer();
        QCOMPARE(text(w, u"overallNumber"_s), u"第2题"_s);
        QCOMPARE(heard, beepsAt);
    }

    void countdownBeepPlaysTheSoundFile()
    {
        practicetest::Fixture f(u"fixture"_s, false);
        f.bank.writeFile(u"main.ini"_s, "[main]\r\n[config]\r\nauto_time=6\r\nbeep=1\r\n");
        writeAlert(f.bank);
        Program p(f.bank.dir());
        QVERIFY(p.ok);
        PracticeWindow *w = start(p, 0, u"sC1"_s);
        w->Timer1Timer(); // 5
        auto *sound = w->findChild<QSoundEffect *>(u"alertSound"_s);
        QVERIFY(sound);
        QCOMPARE(sound->source(), QUrl::fromLocalFile(f.bank.path(u"data/alert.wav"_s)));
        // The file is a sound the effect can load; the countdown goes on while it plays.
        QTRY_VERIFY(sound->status() != QSoundEffect::Loading);
        QVERIFY(sound->status() != QSoundEffect::Error);
        for (int k = 0; k < 5; ++k)
            w->Timer1Timer();
        QCOMPARE(text(w, u"Label24"_s), u"0"_s);
    }

    void wholeFlowOnTheDemoBank()
    {
        const QString demo = QStringLiteral(QM_APP_DIR) + u"/data/sys.htm"_s;
        if (!QFile::exists(demo))
            QSKIP("the demo bank is not assembled in this build");
        TestBank bank(u"demo"_s);
        db::closeBank(u"demo"_s);
        QFile::remove(bank.path(u"data/sys.htm"_s));
        QVERIFY(QFile::copy(demo, bank.path(u"data/sys.htm"_s)));
        QFile(bank.path(u"data/sys.htm"_s)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        Program p(bank.dir());
        QVERIFY(p.ok);
        p.openPanel();
        auto *courses = child<QComboBox>(p.panel6(), u"ComboBox1"_s);
        QVERIFY(courses->count() >= 1);
        // Every chapter of every course: start, answer each row, mark one, finish.
        QSet<int> types;
        QSet<bool> calculationModes;
        int sessions = 0;
        for (int c = 0; c < courses->count(); ++c) {
            courses->setCurrentIndex(c);
            Q_EMIT courses->activated(c);
            QStringList chapters;
            for (QPushButton *b : child(p.panel6(), u"chapterButtons"_s)->findChildren<QPushButton *>())
                chapters << b->objectName();
            for (const QString &chapter : chapters) {
                p.clock.advance(1000);
                PracticeWindow *w = start(p, c, chapter);
                const int rows = w->session().count();
                QVERIFY(rows > 0);
                auto *editor = child<EntryEditor>(w, u"entryEditor"_s);
                for (int k = 0; k < rows; ++k) {
                    const practice::PracticeRow &row = *w->session().current();
                    types << row.typeCode();
                    if (row.typeCode() == 4) {
                        // Sub-item 1 answered right, in the question's own mode.
                        calculationModes << row.amountsMode;
                        practice::EditorContent content = practice::editorContentFor(row.amountsMode, false, {});
                        if (row.amountsMode)
                            content.amounts[0] = row.options[0];
                        else
                            content.lines[0] = practice::parseSubItem(row.options[0]);
                        editor->setContent(content);
                    } else if (row.typeCode() != 6) {
                        click(w, u"optionA"_s);
                    }
                    if (k == 0)
                        click(w, u"markButton"_s);
                    click(w, u"nextButton"_s);
                }
                p.responder.queue(messages::Answer::Yes);
                click(w, u"finishButton"_s);
                QVERIFY(!PracticeWindow::current());
                const QString id = p.window->currentPageId();
                const QVariantList key{id};
                QCOMPARE(db::scalar(db::bank(), u"select count(*) from page_total where page_id=?"_s, key).toInt(), 1);
                QCOMPARE(db::scalar(db::bank(), u"select count(*) from test_page where page_id=? and p_mask=1"_s, key)
                             .toInt(),
                         1);
                // Every calculation question earned at least the share of its first sub-item.
                QCOMPARE(db::scalar(db::bank(),
                                    u"select count(*) from test_page where page_id=? and p_type=4 and "
                                    "(p_do_yn=0 or p_score<=0)"_s,
                                    key)
                             .toInt(),
                         0);
                auto *result = child<PracticeResultPanel>(p.panel6(), u"practiceResult"_s);
                QCOMPARE(text(result, u"resultCourse"_s), courses->itemText(c));
                QVERIFY(text(result, u"resultPercent"_s).endsWith(u'%'));
                ++sessions;
            }
        }
        QVERIFY(sessions >= 3);
        QCOMPARE(types, (QSet<int>{1, 2, 3, 4, 5, 6}));
        QCOMPARE(calculationModes, (QSet<bool>{true, false}));
    }
};

QTEST_MAIN(PracticeFlowTest)
#include "practice_flow.moc"
