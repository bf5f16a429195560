// Answering from the keyboard alone: a whole chapter practice and a whole fixed-paper exam are
// answered with key presses only (no mouse event, no click() call) and the answer records are
// read back; the keys, the help overlay, the account picker's typed filter and the tab order of
// the entry editor and of the setup panels.
#include "../unit/exam_fixture.h"
#include "../unit/practice_fixture.h"
#include "practice_gui.h"

#include "db/sql.h"
#include "exam/ui/answercardview.h"
#include "exam/ui/examwindow.h"
#include "practice/ui/accountpicker.h"
#include "practice/ui/entryeditor.h"
#include "practice/ui/practicewindow.h"
#include "session/papersession.h"
#include "shell/apppaths.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/fonts.h"
#include "shell/ui/keyhelpoverlay.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/sessionkeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace practicegui;

namespace {

// Key presses go where the keyboard focus is, as on a real keyboard.
QWidget *target(QWidget *window)
{
    QWidget *f = QApplication::focusWidget();
    return f && f->window() == window ? f : window;
}

// Key events sent so far, for the figures the chapter practice prints.
int keysSent = 0;

void press(QWidget *window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ++keysSent;
    QTest::keyClick(target(window), Qt::Key(key), modifiers);
}

// Latin letters and digits by their keys; a Chinese character arrives as a key event carrying it.
void type(QWidget *window, const QString &text)
{
    for (QChar c : text) {
        ++keysSent;
        if (c.unicode() < 128)
            QTest::keyClick(target(window), char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, target(window), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// Tab until the control named `name` has the focus; false when it never comes.
bool tabTo(QWidget *window, const QString &name)
{
    for (int k = 0; k < 120; ++k) {
        if (focusName() == name)
            return true;
        press(window, Qt::Key_Tab);
    }
    return false;
}

// With QM_SHOT_DIR naming a folder, the whole screen is saved there for a look; meant for a run
// under Xvfb with the xcb platform.
void shot(const QString &name)
{
    const QString dir = qEnvironmentVariable("QM_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QTest::qWait(300);
    QProcess::execute(u"import"_s, {u"-window"_s, u"root"_s, QDir(dir).filePath(name + u".png"_s)});
}

bool activate(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// One entry line from the keyboard: its direction by Space, the account found by typing a part
// of it (or its number) and F4, Enter in the picker, then the amount.
void entryLine(QWidget *window, const QString &key, bool debit, const QString &typed, const QString &amount)
{
    QVERIFY2(tabTo(window, (debit ? u"debit"_s : u"credit"_s) + key), qPrintable(key));
    press(window, Qt::Key_Space);
    QVERIFY(tabTo(window, u"account"_s + key));
    type(window, typed);
    press(window, Qt::Key_F4);
    QCOMPARE(focusName(), u"accountFilter"_s);
    QCOMPARE(qobject_cast<QLineEdit *>(QApplication::focusWidget())->text(), typed);
    press(window, Qt::Key_Return);
    QCOMPARE(focusName(), u"account"_s + key);
    QVERIFY(tabTo(window, u"amount"_s + key));
    type(window, amount);
}

practice::PracticeInputs practiceInputs(const QString &pageId)
{
    practice::PracticeInputs in;
    in.sessionKind = u"章节练习"_s;
    in.questionTotal = 9;
    in.countdownStart = 30;
    in.questionSeconds = 30;
    in.fourthTypeName = u"计算分析题:"_s;
    in.pageId = pageId;
    in.showAnswerEnabled = true;
    return in;
}

struct PracticeWindowFixture
{
    practicetest::Fixture f;
    messages::Responder responder;
    QPointer<PracticeWindow> w;

    PracticeWindowFixture()
    {
        w = new PracticeWindow(false);
        w->setInputs(practiceInputs(f.pageId));
        w->resize(1200, 900);
    }
    ~PracticeWindowFixture()
    {
        if (w) {
            responder.queue(messages::Answer::Yes);
            responder.queue(messages::Answer::No);
            w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString current() const
    {
        const practice::PracticeRow *row = w->session().current();
        return row ? row->pId + u'-' + row->subNumber : QString();
    }
};

struct ExamWindowFixture
{
    TestBank bank{u"exam-keys"_s};
    messages::Responder responder;
    QString pageId;
    QPointer<ExamWindow> w;

    ExamWindowFixture()
    {
        examfixture::smallBank(bank);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const paper::Built built = paper::buildFixed(bank.db(), clock, u"T1"_s);
        pageId = built.pageId;
        ExamInputs in;
        in.pageId = pageId;
        in.sessionKind = u"模拟考试"_s;
        in.questionTotal = built.questionTotal;
        in.examSeconds = 5400;
        in.fontSize = 12;
        AppPaths::setCurrent(bank.dir());
        w = new ExamWindow(bank.db(), in);
        if (!w->open())
            qFatal("exam window did not open");
        w->resize(1200, 900);
    }
    ~ExamWindowFixture() { delete w.data(); }

    QString current() const { return w->session().question() ? w->session().question()->pId : QString(); }
    QVariantList row(const QString &pId) const
    {
        QSqlQuery q = db::run(
            bank.db(), u"select p_answer,p_real_yn,p_score from test_page where page_id=? and p_id=?"_s, {pageId, pId});
        q.next();
        return {q.value(0).toString(), q.value(1).toBool(), q.value(2).toDouble()};
    }
};

} // namespace

class KeyboardAnsweringTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The program's fonts, sized in pixels.
    void initTestCase() { fonts::install(); }

    void wholeChapterPracticeByKeys()
    {
        PracticeWindowFixture p;
        QVERIFY(activate(p.w));
        QWidget *w = p.w;
        // Selection order: Q1, Q2, Q3, Q4A, Q4E, Q5 (three sub-questions), Q6.
        QCOMPARE(p.current(), u"Q1-0"_s);
        const int choiceStart = keysSent;
        press(w, Qt::Key_A);
        press(w, Qt::Key_Right);
        QCOMPARE(p.current(), u"Q2-0"_s);
        qInfo("single choice answered and moved on: %d keys", keysSent - choiceStart);
        press(w, Qt::Key_B);
        press(w, Qt::Key_4); // digits tick too: 4 = D
        press(w, Qt::Key_PageDown);
        press(w, Qt::Key_A); // "对"
        press(w, Qt::Key_Right);
        QCOMPARE(p.current(), u"Q4A-0"_s);
        // Amounts mode: the computed amounts; → inside a text box moves the cursor, not the question.
        QVERIFY(tabTo(w, u"computedAmount1"_s));
        type(w, u"100"_s);
        press(w, Qt::Key_Left);
        press(w, Qt::Key_Right);
        QCOMPARE(p.current(), u"Q4A-0"_s);
        QVERIFY(tabTo(w, u"computedAmount2"_s));
        type(w, u"200"_s);
        QVERIFY(tabTo(w, u"computedAmount3"_s));
        type(w, u"300"_s);
        press(w, Qt::Key_PageDown);
        QCOMPARE(p.current(), u"Q4E-0"_s);
        // Entries mode: 借:库存现金=100;贷:银行存款=100 / 借:原材料=50; 库存现金 by its number.
        QVERIFY(tabTo(w, u"debit1_1"_s));
        const int lineStart = keysSent;
        entryLine(w, u"1_1"_s, true, u"1"_s, u"100"_s);
        qInfo("entry line 借 库存现金 (by its number 1) 100: %d keys", keysSent - lineStart);
        entryLine(w, u"1_2"_s, false, u"银行"_s, u"100"_s);
        entryLine(w, u"2_1"_s, true, u"原材"_s, u"50"_s);
        press(w, Qt::Key_PageDown);
        QCOMPARE(p.current(), u"Q5-1"_s);
        press(w, Qt::Key_A);
        press(w, Qt::Key_Right);
        press(w, Qt::Key_B);
        press(w, Qt::Key_C);
        press(w, Qt::Key_Right);
        press(w, Qt::Key_1);
        press(w, Qt::Key_Right);
        QCOMPARE(p.current(), u"Q6-0"_s);
        press(w, Qt::Key_M); // mark the practical question
        press(w, Qt::Key_Right);

        const auto answer = [&](const QString &pId) { return p.f.record(pId, u"p_answer"_s).toString(); };
        const auto score = [&](const QString &pId) { return p.f.record(pId, u"p_score"_s).toDouble(); };
        QCOMPARE(answer(u"Q1"_s), u"A"_s);
        QCOMPARE(answer(u"Q2"_s), u"BD"_s);
        QCOMPARE(answer(u"Q3"_s), u"A"_s);
        QCOMPARE(answer(u"Q4A"_s), u"100/200/300///"_s);
        QCOMPARE(answer(u"Q4E"_s), u"借:库存现金=100;贷:银行存款=100/;借:原材料=50////"_s);
        QCOMPARE(answer(u"Q5"_s), u"A/BC/A////"_s);
        QCOMPARE(score(u"Q1"_s), 1.0);
        QCOMPARE(score(u"Q2"_s), 2.0);
        QCOMPARE(score(u"Q4A"_s), 6.0);
        QCOMPARE(score(u"Q4E"_s), 10.0);
        QCOMPARE(score(u"Q5"_s), 6.0);
        QCOMPARE(p.f.record(u"Q6"_s, u"p_mask"_s).toInt(), 1);
    }

    // The keys follow the rules of a click: a single choice keeps one box, a second press of a
    // multiple-choice letter unticks it, letters beyond the offered options do nothing.
    void optionKeysFollowTheClickRules()
    {
        PracticeWindowFixture p;
        QVERIFY(activate(p.w));
        QWidget *w = p.w;
        const auto ticked = [&] {
            QString letters;
            for (QChar l : u"ABCDEF"_s) {
                if (child<QCheckBox>(w, u"option"_s + l)->isChecked())
                    letters += l;
            }
            return letters;
        };
        press(w, Qt::Key_A);
        press(w, Qt::Key_C);
        QCOMPARE(ticked(), u"C"_s);
        press(w, Qt::Key_F); // Q1 offers A..D
        QCOMPARE(ticked(), u"C"_s);
        press(w, Qt::Key_Right);
        press(w, Qt::Key_A);
        press(w, Qt::Key_B);
        press(w, Qt::Key_A);
        QCOMPARE(ticked(), u"B"_s);
        press(w, Qt::Key_Right);
        press(w, Qt::Key_A);
        press(w, Qt::Key_B); // "错" replaces "对"
        QCOMPARE(ticked(), u"B"_s);
        press(w, Qt::Key_Left);
        QCOMPARE(p.current(), u"Q2-0"_s);
        QCOMPARE(p.f.record(u"Q3"_s, u"p_answer"_s).toString(), u"B"_s);
        // The window's keys act whatever has the focus, except typing in a text box.
        child<QWidget>(w, u"stem"_s)->setFocus();
        press(w, Qt::Key_PageUp);
        QCOMPARE(p.current(), u"Q1-0"_s);
        press(w, Qt::Key_X);
        QCOMPARE(child<QPushButton>(w, u"showAnswerButton"_s)->text(), u"隐藏答案"_s);
        press(w, Qt::Key_J);
        QCOMPARE(p.f.record(u"Q1"_s, u"p_ok_mask"_s).toInt(), 1);
        // The forced-switch countdown reads as words.
        QCOMPARE(child<QLabel>(w, u"Label24"_s)->accessibleName(), u"本题强制切换剩余30秒"_s);
    }

    void helpOverlayListsTheKeys()
    {
        PracticeWindowFixture p;
        QVERIFY(activate(p.w));
        QWidget *w = p.w;
        auto *help = child<KeyHelpOverlay>(w, u"keyHelp"_s);
        QVERIFY(!help->isVisible());
        press(w, Qt::Key_F1);
        QVERIFY(help->isVisible());
        QCOMPARE(focusName(), u"keyHelpTable"_s);
        shot(u"practice-help"_s);
        QTableWidget *list = help->list();
        // The title and every row in view, not squeezed.
        auto *title = help->findChild<QLabel *>();
        QVERIFY(title->height() >= title->sizeHint().height());
        QVERIFY(QFontInfo(title->font()).pixelSize() > QFontInfo(list->font()).pixelSize());
        QVERIFY(list->viewport()->height() >= list->verticalHeader()->length());
        QStringList rows;
        for (int r = 0; r < list->rowCount(); ++r)
            rows << list->item(r, 0)->text() + u" | "_s + list->item(r, 1)->text();
        QCOMPARE(rows, (QStringList{u"A 或 1 | 选择选项 A（判断题：对）"_s, u"B 或 2 | 选择选项 B（判断题：错）"_s,
                                    u"C 或 3 | 选择选项 C"_s, u"D 或 4 | 选择选项 D"_s, u"E 或 5 | 选择选项 E"_s,
                                    u"F 或 6 | 选择选项 F"_s, u"→ 或 PageDown | 下一题"_s, u"← 或 PageUp | 上一题"_s,
                                    u"M | 标记本题或取消标记"_s, u"X | 显示或隐藏答案"_s, u"J | 设为精华题目或取消"_s,
                                    u"P | 选题"_s, u"F1 | 显示或关闭本键盘帮助"_s}));
        // While the help is up the other keys wait; Esc closes it.
        press(w, Qt::Key_A);
        QVERIFY(!child<QCheckBox>(w, u"optionA"_s)->isChecked());
        press(w, Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        // The buttons' tooltips come from the same table.
        QCOMPARE(child<QPushButton>(w, u"nextButton"_s)->toolTip(), u"下一题（→ 或 PageDown）"_s);
        QCOMPARE(child<QPushButton>(w, u"markButton"_s)->toolTip(), u"标记本题或取消标记（M）"_s);
    }

    void accountPickerFiltersAsTyped()
    {
        PracticeWindowFixture p;
        QVERIFY(activate(p.w));
        QWidget *w = p.w;
        goToRow(p.w, u"Q4E"_s);
        auto *editor = child<EntryEditor>(w, u"entryEditor"_s);
        AccountPicker *picker = editor->accountPicker();
        auto *tree = child<QTreeWidget>(picker, u"accountTree"_s);
        const auto shown = [&] {
            QStringList names;
            for (int c = 0; c < tree->topLevelItemCount(); ++c) {
                for (int a = 0; a < tree->topLevelItem(c)->childCount(); ++a) {
                    if (!tree->topLevelItem(c)->isHidden() && !tree->topLevelItem(c)->child(a)->isHidden())
                        names << tree->topLevelItem(c)->child(a)->text(0);
                }
            }
            return names;
        };
        QVERIFY(tabTo(w, u"account1_1"_s));
        type(w, u"银行"_s);
        press(w, Qt::Key_F4);
        QCOMPARE(shown(), QStringList{u"银行存款"_s});
        QCOMPARE(tree->currentItem()->text(0), u"银行存款"_s);
        shot(u"account-picker-bank"_s);
        press(w, Qt::Key_Escape);
        QCOMPARE(child<QLineEdit>(editor, u"account1_1"_s)->text(), u"银行"_s);
        press(w, Qt::Key_Backspace);
        press(w, Qt::Key_Backspace);
        type(w, u"应付"_s);
        press(w, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(picker->isVisible());
        QCOMPARE(shown(), (QStringList{u"应付票据"_s, u"应付账款"_s, u"应付职工薪酬"_s, u"应付股利"_s, u"应付利息"_s,
                                       u"其他应付款"_s, u"应付债券"_s, u"长期应付款"_s}));
        QCOMPARE(tree->currentItem()->text(0), u"应付票据"_s);
        // Typing on refines; ↓ moves the highlight; the typed text stays.
        type(w, u"账"_s);
        QCOMPARE(shown(), QStringList{u"应付账款"_s});
        press(w, Qt::Key_Backspace);
        press(w, Qt::Key_Down);
        press(w, Qt::Key_Down);
        QCOMPARE(tree->currentItem()->text(0), u"应付职工薪酬"_s);
        QCOMPARE(picker->filterBox()->text(), u"应付"_s);
        // A key on the tree goes on into the filter box.
        tree->setFocus();
        type(w, u"利"_s);
        QCOMPARE(focusName(), u"accountFilter"_s);
        QCOMPARE(shown(), QStringList{u"应付利息"_s});
        // Nothing fits: Enter says so and keeps the picker and the text.
        type(w, u"x"_s);
        QVERIFY(shown().isEmpty());
        press(w, Qt::Key_Return);
        QCOMPARE(p.responder.lastText(), u"请选择相应科目分类中的子顶...."_s);
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->filterBox()->text(), u"应付利x"_s);
        // Esc leaves the account box as the learner typed it.
        press(w, Qt::Key_Escape);
        QVERIFY(!picker->isVisible());
        QCOMPARE(focusName(), u"account1_1"_s);
        QCOMPARE(child<QLineEdit>(editor, u"account1_1"_s)->text(), u"应付"_s);
        // While the picker has the focus, the window's keys stay out of it.
        press(w, Qt::Key_F4);
        press(w, Qt::Key_PageDown);
        QCOMPARE(p.current(), u"Q4E-0"_s);
        press(w, Qt::Key_Return);
        QCOMPARE(child<QLineEdit>(editor, u"account1_1"_s)->text(), u"应付票据"_s);
    }

    void entryEditorTabOrder()
    {
        PracticeWindowFixture p;
        QVERIFY(activate(p.w));
        QWidget *w = p.w;
        goToRow(p.w, u"Q4E"_s);
        QVERIFY(tabTo(w, u"debit1_1"_s));
        QStringList order;
        for (int k = 0; k < 8; ++k) {
            press(w, Qt::Key_Tab);
            order << focusName();
        }
        QCOMPARE(order, (QStringList{u"credit1_1"_s, u"account1_1"_s, u"pick1_1"_s, u"amount1_1"_s, u"delete1_1"_s,
                                     u"add1_1"_s, u"debit1_2"_s, u"credit1_2"_s}));
        // Adding a line from the keyboard goes on to the line just shown.
        QVERIFY(tabTo(w, u"add1_2"_s));
        press(w, Qt::Key_Space);
        QCOMPARE(focusName(), u"debit1_3"_s);
        QVERIFY(child<QWidget>(w, u"line1_3"_s)->isVisible());
    }

    void wholeFixedPaperExamByKeys()
    {
        ExamWindowFixture e;
        QVERIFY(activate(e.w));
        QWidget *w = e.w;
        // Choices first; a calculation question is answered on its first node, its other nodes passed.
        const QMap<QString, QString> letters = {{u"S1"_s, u"A"_s},  {u"S2"_s, u"B"_s}, {u"M1"_s, u"ACD"_s},
                                                {u"M2"_s, u"AC"_s}, {u"J1"_s, u"A"_s}, {u"J2"_s, u"B"_s}};
        QSet<QString> answered;
        int steps = 0;
        while (steps++ < 40) {
            const QString q = e.current();
            if (!answered.contains(q)) {
                answered.insert(q);
                if (letters.contains(q)) {
                    for (QChar l : letters.value(q))
                        press(w, Qt::Key_A + (l.unicode() - u'A'));
                } else if (q == u"K1") {
                    QVERIFY(tabTo(w, u"computedAmount1"_s));
                    type(w, u"1200"_s);
                    QVERIFY(tabTo(w, u"computedAmount2"_s));
                    type(w, u"300"_s);
                    QVERIFY(tabTo(w, u"computedAmount3"_s));
                    type(w, u"500"_s);
                } else if (q == u"K2") {
                    entryLine(w, u"1_1"_s, true, u"原材"_s, u"500"_s);
                    entryLine(w, u"1_2"_s, false, u"银行"_s, u"500"_s);
                    entryLine(w, u"2_1"_s, true, u"管理"_s, u"200"_s);
                    entryLine(w, u"2_2"_s, false, u"现金"_s, u"200"_s);
                }
            }
            const int before = e.w->session().selected();
            press(w, Qt::Key_PageDown);
            if (e.w->session().selected() == before)
                break;
        }
        QCOMPARE(answered.size(), 8);
        // In the amount box Home would move the cursor; PageUp moves back and records the input.
        press(w, Qt::Key_PageUp);

        // A choice's p_score keeps its marks; p_real_yn says whether the answer is right.
        QCOMPARE(e.row(u"S1"_s), (QVariantList{u"A"_s, true, 1.0}));
        QCOMPARE(e.row(u"S2"_s), (QVariantList{u"B"_s, false, 1.0}));
        QCOMPARE(e.row(u"M1"_s), (QVariantList{u"ACD"_s, true, 2.0}));
        QCOMPARE(e.row(u"M2"_s), (QVariantList{u"AC"_s, false, 2.0}));
        QCOMPARE(e.row(u"J1"_s), (QVariantList{u"A"_s, true, 1.0}));
        QCOMPARE(e.row(u"J2"_s), (QVariantList{u"B"_s, true, 1.0}));
        QCOMPARE(e.row(u"K1"_s).at(0).toString(), u"1200/300/500///"_s);
        QCOMPARE(e.row(u"K2"_s).at(0).toString(),
                 u"借:原材料=500;贷:银行存款=500/;借:管理费用=200;贷:库存现金=200////"_s);
        QCOMPARE(e.row(u"K2"_s).at(2).toDouble(), 10.0);
    }

    void examKeysAndTheAnswerCard()
    {
        ExamWindowFixture e;
        QVERIFY(activate(e.w));
        QWidget *w = e.w;
        press(w, Qt::Key_End);
        QCOMPARE(e.current(), u"K2"_s);
        press(w, Qt::Key_Home);
        QCOMPARE(e.current(), u"S1"_s);
        press(w, Qt::Key_A);
        press(w, Qt::Key_M); // 待查
        QCOMPARE(e.w->findChild<QLabel *>(u"markState"_s)->text(), u"已标记"_s);
        press(w, Qt::Key_X);
        QCOMPARE(e.w->findChild<QPushButton *>(u"answerButton"_s)->text(), u"隐藏答案"_s);
        const int font = e.w->fontSize();
        press(w, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(e.w->fontSize(), font + 1);

        // K: the card, its cursor on the current node; ↓ over S2 and the heading to M1, Enter goes there.
        QTreeWidget *tree = e.w->card()->tree();
        press(w, Qt::Key_K);
        QCOMPARE(QApplication::focusWidget(), tree);
        QCOMPARE(tree->currentItem(), e.w->card()->itemOf(e.w->session().selected()));
        QCOMPARE(tree->currentItem()->data(0, Qt::AccessibleDescriptionRole).toString(), u"当前"_s);
        press(w, Qt::Key_Down);
        press(w, Qt::Key_Down);
        shot(u"exam-card-cursor"_s);
        press(w, Qt::Key_Return); // on the heading "多选题": nothing happens
        QCOMPARE(e.current(), u"S1"_s);
        press(w, Qt::Key_Down);
        shot(u"exam-card-cursor-on-node"_s);
        press(w, Qt::Key_Return);
        QCOMPARE(e.current(), u"M1"_s);
        QCOMPARE(e.row(u"S1"_s).at(0).toString(), u"A"_s);
        // The nodes say their state: S1 answered (and marked), S2 not done, M1 current.
        const auto description = [&](const QString &pId) {
            const exam::AnswerCard &card = e.w->session().card();
            for (int k = 0; k < card.size(); ++k) {
                if (card.at(k).pId == pId)
                    return e.w->card()->itemOf(k)->data(0, Qt::AccessibleDescriptionRole).toString();
            }
            return QString();
        };
        QCOMPARE(description(u"S1"_s), u"待查"_s);
        QCOMPARE(description(u"S2"_s), u"未做"_s);
        QCOMPARE(description(u"M1"_s), u"当前"_s);
        // The countdown reads as words.
        e.w->startCountdown();
        e.w->countdownTick();
        QCOMPARE(e.w->findChild<QLabel *>(u"countdownText"_s)->accessibleName(), u"剩余时间1小时29分59秒"_s);
        // F1 over the exam lists its own keys, the card's among them; the card keeps the focus after Esc.
        auto *help = child<KeyHelpOverlay>(w, u"keyHelp"_s);
        press(w, Qt::Key_K);
        press(w, Qt::Key_F1);
        QVERIFY(help->isVisible());
        shot(u"exam-help"_s);
        QStringList actions;
        for (int r = 0; r < help->list()->rowCount(); ++r)
            actions << help->list()->item(r, 0)->text() + u" | "_s + help->list()->item(r, 1)->text();
        for (const QString &row : {u"Home | 第一题"_s, u"End | 最后一题"_s, u"M | 待查：标记本题或取消标记"_s,
                                   u"K | 转到答题卡（↑ ↓ 选题，Enter 转到该题）"_s, u"Ctrl+= 或 Ctrl+加号 | 放大字体"_s,
                                   u"Ctrl+减号 | 缩小字体"_s, u"F1 | 显示或关闭本键盘帮助"_s})
            QVERIFY2(actions.contains(row), qPrintable(row));
        QVERIFY(help->list()->viewport()->height() >= help->list()->verticalHeader()->length());
        press(w, Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        QCOMPARE(QApplication::focusWidget(), tree);
    }

    // In a window too short for the whole card, the card scrolls to keep the current node in view
    // while the keys move through the paper.
    void answerCardKeepsTheCurrentNodeInView()
    {
        ExamWindowFixture e;
        e.w->resize(1200, 480);
        QVERIFY(activate(e.w));
        QWidget *w = e.w;
        QTreeWidget *tree = e.w->card()->tree();
        const auto inView = [&] {
            const QRect node = tree->visualItemRect(e.w->card()->itemOf(e.w->session().selected()));
            return !node.isEmpty() && tree->viewport()->rect().contains(node);
        };
        QVERIFY(tree->verticalScrollBar()->maximum() > 0);
        press(w, Qt::Key_End);
        QCOMPARE(e.current(), u"K2"_s);
        QVERIFY(inView());
        const int scrolled = tree->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        for (int k = 0; k < 40 && e.current() != u"S1"_s; ++k) {
            press(w, Qt::Key_PageUp);
            QVERIFY2(inView(), qPrintable(e.current()));
        }
        QCOMPARE(e.current(), u"S1"_s);
        QVERIFY(tree->verticalScrollBar()->value() < scrolled);
    }

    // The setup panels: the chapter buttons follow the course list in the tab order, Enter on a
    // focused chapter or paper button chooses it.
    void setupPanelsByKeys()
    {
        practicetest::Fixture f(u"quillmark"_s, false);
        f.bank.addChapter(u"C2"_s, u"第二章"_s, u"M1"_s);
        f.bank.addChapter(u"T1"_s, u"会计基础模拟试卷"_s, u"M1"_s, u"2"_s);
        f.bank.addQuestion(u"T1"_s, u"S1"_s, 1, u"A"_s);
        messages::Responder responder;
        FakeDisplayMode display{QSize(1366, 768)};
        AppPaths::setCurrent(f.bank.dir());
        MainWindow main(&display);
        main.setOnlineProbe([] { return false; });
        QVERIFY(activate(&main));
        QVERIFY(main.firstShow());
        child<QToolButton>(&main, u"SpeedButton3"_s)->setFocus();
        press(&main, Qt::Key_Space);
        QWidget *chapters = main.panel(u"Panel6"_s);
        child<QComboBox>(chapters, u"ComboBox1"_s)->setFocus();
        press(&main, Qt::Key_Tab);
        QCOMPARE(focusName(), u"sC1"_s);
        press(&main, Qt::Key_Tab);
        QCOMPARE(focusName(), u"sC2"_s);
        press(&main, Qt::Key_Tab, Qt::ShiftModifier);
        press(&main, Qt::Key_Return);
        QCOMPARE(text(chapters, u"Label15"_s), u"第一章"_s);
        press(&main, Qt::Key_Tab);
        press(&main, Qt::Key_Tab);
        QCOMPARE(focusName(), u"CheckBox9"_s);

        child<QToolButton>(&main, u"SpeedButton4"_s)->setFocus();
        press(&main, Qt::Key_Space);
        QWidget *exams = main.panel(u"Panel9"_s);
        child<QComboBox>(exams, u"ComboBox2"_s)->setFocus();
        press(&main, Qt::Key_Tab);
        QCOMPARE(focusName(), u"tT1"_s);
        press(&main, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(child<QWidget>(exams, u"SpeedButton32"_s)->isEnabled());
        press(&main, Qt::Key_Tab);
        QCOMPARE(focusName(), u"SpeedButton33"_s);
    }
};

QTEST_MAIN(KeyboardAnsweringTest)
#include "keyboard_answering.moc"
