// The answer editor widget: loading and reading, line buttons, key filters and the account picker.
#include "practice/ui/accountpicker.h"
#include "practice/ui/entryeditor.h"
#include "shell/ui/messages.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace practice;

namespace {

template <typename T> T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no child %s", qPrintable(name));
    return c;
}

QToolButton *button(QWidget *w, const QString &name)
{
    return child<QToolButton>(w, name);
}

bool lineShown(QWidget *w, int s, int l)
{
    return child<QWidget>(w, u"line%1_%2"_s.arg(s).arg(l))->property("shownLine").toBool();
}

} // namespace

class PracticeEntryEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadsAndReadsBack()
    {
        EntryEditor editor;
        editor.resize(800, 600);
        editor.show();
        const QString answer = u"借:库存现金=100;贷:银行存款=100/;借:原材料=50////"_s;
        editor.setContent(editorContentFor(false, true, answer));
        QVERIFY(lineShown(&editor, 1, 2));
        QVERIFY(button(&editor, u"credit1_2"_s)->isChecked());
        QCOMPARE(child<QLineEdit>(&editor, u"account1_2"_s)->text(), u"银行存款"_s);
        QVERIFY(lineShown(&editor, 2, 2));
        QVERIFY(!button(&editor, u"debit2_2"_s)->isChecked() && !button(&editor, u"credit2_2"_s)->isChecked());
        QVERIFY(!lineShown(&editor, 1, 3));
        QVERIFY(!child<QWidget>(&editor, u"computedAmount1"_s)->isVisible());
        QCOMPARE(entriesAnswer(editor.content()), answer);

        // A third line restores its amount in every sub-item.
        const QString three = u"借:a=1;借:b=2;贷:c=3/;借:a=1;借:b=2;贷:c=3/;借:a=1;借:b=2;贷:c=3/;借:a=1;借:b=2;贷:c=3/"
                              ";借:a=1;借:b=2;贷:c=3/;借:a=1;借:b=2;贷:c=3"_s;
        editor.setContent(editorContentFor(false, true, three));
        for (int s = 1; s <= 6; ++s)
            QCOMPARE(child<QLineEdit>(&editor, u"amount%1_3"_s.arg(s))->text(), u"3"_s);

        // Amounts mode: lines hidden, the computed boxes visible and filled.
        editor.setContent(editorContentFor(true, true, u"1200/300////"_s));
        QVERIFY(child<QWidget>(&editor, u"computedAmount1"_s)->isVisible());
        QCOMPARE(child<QLineEdit>(&editor, u"computedAmount2"_s)->text(), u"300"_s);
        editor.setContent(editorContentFor(true, false, QString()));
        for (int s = 1; s <= 6; ++s)
            QCOMPARE(child<QLineEdit>(&editor, u"computedAmount%1"_s.arg(s))->text(), QString());
    }

    void showsSubItemsAndNumbers()
    {
        EntryEditor editor;
        editor.show();
        editor.setSubItemsShown({true, true, true, true, false, false});
        QVERIFY(child<QWidget>(&editor, u"subItem4"_s)->isVisible());
        QVERIFY(!child<QWidget>(&editor, u"subItem5"_s)->isVisible());
        editor.setNumber(u"4"_s);
        QCOMPARE(child<QLabel>(&editor, u"subItemNumber2"_s)->text(), u"4-2"_s);
        editor.setNumber(QString());
        QCOMPARE(child<QLabel>(&editor, u"subItemNumber6"_s)->text(), u"1-6"_s);
    }

    void directionsAreExclusive()
    {
        EntryEditor editor;
        editor.setContent(editorContentFor(false, false, QString()));
        QToolButton *debit = button(&editor, u"debit1_1"_s);
        QToolButton *credit = button(&editor, u"credit1_1"_s);
        debit->click();
        QVERIFY(debit->isChecked() && !credit->isChecked());
        credit->click();
        QVERIFY(!debit->isChecked() && credit->isChecked());
        credit->click(); // stays chosen
        QVERIFY(credit->isChecked());
        QCOMPARE(editor.content().lines[0][0].direction, Direction::Credit);
    }

    void lineButtonsInPractice()
    {
        EntryEditor editor;
        editor.show();
        editor.setContent(editorContentFor(false, false, QString()));
        // Sub-item 1: deleting line 2 while line 3 is shown leaves a gap that the check still reads.
        button(&editor, u"add1_2"_s)->click();
        button(&editor, u"debit1_3"_s)->click();
        child<QLineEdit>(&editor, u"account1_3"_s)->setText(u"原材料"_s);
        button(&editor, u"delete1_2"_s)->click();
        QVERIFY(!lineShown(&editor, 1, 2));
        QVERIFY(editor.content().lines[0][2].taken());
        button(&editor, u"delete1_1"_s)->click();
        QVERIFY(lineShown(&editor, 1, 1));
        // Line 6: a do-nothing add button in sub-item 1, none elsewhere.
        QVERIFY(!button(&editor, u"add1_6"_s)->isHidden());
        QVERIFY(button(&editor, u"add2_6"_s)->isHidden());

        // Sub-item 3: only the line added last can be deleted.
        button(&editor, u"add3_2"_s)->click();
        button(&editor, u"add3_3"_s)->click();
        QVERIFY(lineShown(&editor, 3, 4));
        QVERIFY(!button(&editor, u"delete3_2"_s)->isEnabled());
        QVERIFY(!button(&editor, u"delete3_3"_s)->isEnabled());
        QVERIFY(button(&editor, u"delete3_4"_s)->isEnabled());
        button(&editor, u"delete3_4"_s)->click();
        QVERIFY(!lineShown(&editor, 3, 4));
        QVERIFY(button(&editor, u"delete3_3"_s)->isEnabled());
        // Loading another question keeps those states.
        editor.setContent(editorContentFor(false, false, QString()));
        QVERIFY(!button(&editor, u"delete3_2"_s)->isEnabled());
    }

    void lineButtonsInExam()
    {
        EntryEditor editor(EditorVariant::Exam);
        editor.setContent(editorContentFor(false, false, QString()));
        for (int s = 1; s <= 6; ++s)
            QVERIFY(button(&editor, u"add%1_6"_s.arg(s))->isHidden());
        button(&editor, u"add3_2"_s)->click();
        QVERIFY(button(&editor, u"delete3_2"_s)->isEnabled());
        button(&editor, u"add4_2"_s)->click();
        QVERIFY(!button(&editor, u"delete4_2"_s)->isEnabled());

        // A saved answer is loaded as it is, even into boxes that take digits only when typed into.
        EntryEditor exam(EditorVariant::Exam);
        EditorContent c = editorContentFor(true, true, u"7a/////"_s);
        c.lines[5][1] = {true, Direction::Debit, u"原材料"_s, u"8b"_s};
        exam.setContent(c);
        QCOMPARE(child<QLineEdit>(&exam, u"computedAmount1"_s)->text(), u"7a"_s);
        QCOMPARE(child<QLineEdit>(&exam, u"amount6_2"_s)->text(), u"8b"_s);
    }

    void keyFilters_data()
    {
        QTest::addColumn<bool>("exam");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::newRow("practice sub 1 amount") << false << u"amount1_1"_s << u"12.5"_s;
        QTest::newRow("practice sub 2 amount") << false << u"amount2_3"_s << u"12.5"_s;
        QTest::newRow("practice sub 3 amount") << false << u"amount3_1"_s << u"12a.5 x"_s;
        QTest::newRow("practice computed") << false << u"computedAmount1"_s << u"12a.5 x"_s;
        QTest::newRow("exam sub 6 amount") << true << u"amount6_1"_s << u"12.5"_s;
        QTest::newRow("exam computed") << true << u"computedAmount3"_s << u"12.5"_s;
    }
    void keyFilters()
    {
        QFETCH(bool, exam);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        EntryEditor editor(exam ? EditorVariant::Exam : EditorVariant::Practice);
        editor.show();
        editor.setContent(editorContentFor(false, false, QString()));
        auto *edit = child<QLineEdit>(&editor, box);
        QTest::keyClicks(edit, u"12a.5 x"_s);
        QCOMPARE(edit->text(), typed);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), typed.chopped(1));
    }

    void pastesAreFilteredLikeTyping_data()
    {
        QTest::addColumn<bool>("exam");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("text"); // after typing "1" and pasting
        QTest::newRow("practice sub 1, digits") << false << u"amount1_1"_s << u"20.5"_s << u"120.5"_s;
        QTest::newRow("practice sub 1, letters") << false << u"amount1_1"_s << u"2a"_s << u"1"_s;
        QTest::newRow("practice sub 2, separator") << false << u"amount2_4"_s << u"1,000"_s << u"1"_s;
        QTest::newRow("practice sub 3 takes anything") << false << u"amount3_1"_s << u"2a"_s << u"12a"_s;
        QTest::newRow("practice computed takes anything") << false << u"computedAmount2"_s << u"元"_s << u"1元"_s;
        QTest::newRow("exam sub 6, letters") << true << u"amount6_2"_s << u"x"_s << u"1"_s;
        QTest::newRow("exam computed, blank") << true << u"computedAmount1"_s << u" 5"_s << u"1"_s;
        QTest::newRow("exam computed, digits") << true << u"computedAmount1"_s << u"5"_s << u"15"_s;
    }
    void pastesAreFilteredLikeTyping()
    {
        QFETCH(bool, exam);
        QFETCH(QString, box);
        QFETCH(QString, pasted);
        QFETCH(QString, text);
        EntryEditor editor(exam ? EditorVariant::Exam : EditorVariant::Practice);
        editor.show();
        editor.setContent(editorContentFor(false, false, QString()));
        auto *edit = child<QLineEdit>(&editor, box);
        QGuiApplication::clipboard()->setText(pasted);
        // By the shortcut, and as the context menu's "Paste" does.
        QTest::keyClicks(edit, u"1"_s);
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(edit->text(), text);
        edit->clear();
        QTest::keyClicks(edit, u"1"_s);
        edit->paste();
        QCOMPARE(edit->text(), text);
    }

    void accountPicker()
    {
        messages::Responder responder;
        EntryEditor editor;
        editor.resize(900, 700);
        editor.show();
        editor.setContent(editorContentFor(false, false, QString()));
        auto *account = child<QLineEdit>(&editor, u"account2_1"_s);
        account->setText(u"手填"_s);
        button(&editor, u"pick2_1"_s)->click();
        AccountPicker *picker = editor.accountPicker();
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->target(), account);
        // Loading another question leaves the picker open on the same box.
        editor.setContent(editorContentFor(false, false, QString()));
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->target(), account);
        account->setText(u"手填"_s);

        // Nothing selected, then a category: a message, the picker stays, the box is unchanged.
        auto *tree = child<QTreeWidget>(picker, u"accountTree"_s);
        auto *ok = child<QWidget>(picker, u"accountOk"_s);
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(responder.lastText(), u"请选择相应科目分类中的子顶...."_s);
        tree->setCurrentItem(tree->topLevelItem(0));
        QCOMPARE(tree->currentItem()->text(0), u"资产类"_s);
        responder.clear();
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(responder.shown().size(), 1);
        QVERIFY(picker->isVisible());
        QCOMPARE(account->text(), u"手填"_s);
        Q_EMIT tree->itemDoubleClicked(tree->topLevelItem(0), 0);
        QVERIFY(picker->isVisible());

        // An account fills the box and closes the picker.
        tree->setCurrentItem(tree->topLevelItem(0)->child(12));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(account->text(), u"原材料"_s);
        QVERIFY(!picker->isVisible());

        // Double-click on an account acts as "确定"; "取消" just closes.
        button(&editor, u"pick1_2"_s)->click();
        QTreeWidgetItem *item = tree->topLevelItem(1)->child(0);
        tree->setCurrentItem(item);
        Q_EMIT tree->itemDoubleClicked(item, 0);
        QCOMPARE(child<QLineEdit>(&editor, u"account1_2"_s)->text(), u"短期借款"_s);
        button(&editor, u"pick1_3"_s)->click();
        QTest::mouseClick(child<QWidget>(picker, u"accountCancel"_s), Qt::LeftButton);
        QVERIFY(!picker->isVisible());
        QCOMPARE(child<QLineEdit>(&editor, u"account1_3"_s)->text(), QString());
    }

    void trimsItsBoxes()
    {
        EntryEditor editor;
        EditorContent c = editorContentFor(false, false, QString());
        c.lines[0][0] = {true, Direction::Debit, u"  原材料 "_s, u" 50 "_s};
        c.amounts[1] = u" 7 "_s;
        editor.setContent(c);
        editor.trimAll();
        QCOMPARE(child<QLineEdit>(&editor, u"account1_1"_s)->text(), u"原材料"_s);
        QCOMPARE(child<QLineEdit>(&editor, u"amount1_1"_s)->text(), u"50"_s);
        QCOMPARE(child<QLineEdit>(&editor, u"computedAmount2"_s)->text(), u"7"_s);
    }
};

QTEST_MAIN(PracticeEntryEditor)
#include "practice_entryeditor.moc"
