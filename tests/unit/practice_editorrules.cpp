// Add/delete rules, add buttons and key filters of the answer editor in both windows.
#include "practice/editorrules.h"

#include <QTest>

using namespace practice;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(practice::EditorVariant)
Q_DECLARE_METATYPE(practice::LineAction)

class PracticeEditorRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void buttons_data()
    {
        QTest::addColumn<EditorVariant>("variant");
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("subItem");
        QTest::addColumn<int>("line");
        QTest::addColumn<LineAction>("action");
        const auto P = EditorVariant::Practice;
        const auto E = EditorVariant::Exam;
        QTest::newRow("practice add shows next") << P << true << 1 << 1 << LineAction{2, 0, 0, 0};
        QTest::newRow("practice add of line 6 does nothing") << P << true << 1 << 6 << LineAction{};
        QTest::newRow("practice delete hides") << P << false << 1 << 2 << LineAction{0, 2, 0, 0};
        QTest::newRow("practice delete of line 1 does nothing") << P << false << 2 << 1 << LineAction{};
        QTest::newRow("practice sub 3 add of line 1 no lock") << P << true << 3 << 1 << LineAction{2, 0, 0, 0};
        QTest::newRow("practice sub 3 add locks") << P << true << 3 << 2 << LineAction{3, 0, 2, 0};
        QTest::newRow("practice sub 3 add of line 5 locks") << P << true << 3 << 5 << LineAction{6, 0, 5, 0};
        QTest::newRow("practice sub 3 delete of 2 unlocks nothing") << P << false << 3 << 2 << LineAction{0, 2, 0, 0};
        QTest::newRow("practice sub 3 delete unlocks previous") << P << false << 3 << 4 << LineAction{0, 4, 0, 3};
        QTest::newRow("practice sub 4 has no chain") << P << true << 4 << 2 << LineAction{3, 0, 0, 0};
        QTest::newRow("exam sub 3 has no chain") << E << true << 3 << 2 << LineAction{3, 0, 0, 0};
        QTest::newRow("exam sub 4 add of line 2 locks") << E << true << 4 << 2 << LineAction{3, 0, 2, 0};
        QTest::newRow("exam sub 4 add of line 3 no lock") << E << true << 4 << 3 << LineAction{4, 0, 0, 0};
        QTest::newRow("exam sub 5 add of line 4 locks") << E << true << 5 << 4 << LineAction{5, 0, 4, 0};
        QTest::newRow("exam sub 5 delete of line 4 unlocks 3") << E << false << 5 << 4 << LineAction{0, 4, 0, 3};
        QTest::newRow("exam sub 5 delete of line 5") << E << false << 5 << 5 << LineAction{0, 5, 0, 0};
    }
    void buttons()
    {
        QFETCH(EditorVariant, variant);
        QFETCH(bool, add);
        QFETCH(int, subItem);
        QFETCH(int, line);
        QFETCH(LineAction, action);
        const LineAction got = add ? addPressed(variant, subItem, line) : deletePressed(variant, subItem, line);
        QCOMPARE(got.show, action.show);
        QCOMPARE(got.hide, action.hide);
        QCOMPARE(got.disableDelete, action.disableDelete);
        QCOMPARE(got.enableDelete, action.enableDelete);
    }

    void addButtonsAndAmountBoxes_data()
    {
        QTest::addColumn<int>("subItem");
        QTest::addColumn<bool>("practiceLine6Add");   // line 6 of the practice editor has an add button
        QTest::addColumn<bool>("practiceDigitsOnly"); // the practice editor's amount boxes take digits only
        QTest::newRow("sub-item 1") << 1 << true << true;
        QTest::newRow("sub-item 2") << 2 << false << true;
        QTest::newRow("sub-item 3") << 3 << false << false;
        QTest::newRow("sub-item 4") << 4 << false << false;
        QTest::newRow("sub-item 5") << 5 << false << false;
        QTest::newRow("sub-item 6") << 6 << false << false;
    }
    void addButtonsAndAmountBoxes()
    {
        QFETCH(int, subItem);
        QFETCH(bool, practiceLine6Add);
        QFETCH(bool, practiceDigitsOnly);
        QCOMPARE(hasAddButton(EditorVariant::Practice, subItem, 1), true);
        QCOMPARE(hasAddButton(EditorVariant::Practice, subItem, 5), true);
        QCOMPARE(hasAddButton(EditorVariant::Practice, subItem, 6), practiceLine6Add);
        QCOMPARE(hasAddButton(EditorVariant::Exam, subItem, 5), true);
        QCOMPARE(hasAddButton(EditorVariant::Exam, subItem, 6), false);
        QCOMPARE(amountKeysFiltered(EditorVariant::Practice, subItem), practiceDigitsOnly);
        QCOMPARE(amountKeysFiltered(EditorVariant::Exam, subItem), true);
    }

    void computedAmountBoxes()
    {
        QCOMPARE(computedKeysFiltered(EditorVariant::Practice), false);
        QCOMPARE(computedKeysFiltered(EditorVariant::Exam), true);
    }

    void filteredKeys_data()
    {
        QTest::addColumn<QChar>("key");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0") << QChar(u'0') << true;
        QTest::newRow("9") << QChar(u'9') << true;
        QTest::newRow("point") << QChar(u'.') << true;
        QTest::newRow("backspace") << QChar(u'\b') << true;
        QTest::newRow("enter") << QChar(u'\r') << true;
        QTest::newRow("letter") << QChar(u'a') << false;
        QTest::newRow("minus") << QChar(u'-') << false;
        QTest::newRow("comma") << QChar(u',') << false;
        QTest::newRow("blank") << QChar(u' ') << false;
        QTest::newRow("yuan") << QChar(u'元') << false;
        QTest::newRow("full-width digit") << QChar(u'１') << false;
    }
    void filteredKeys()
    {
        QFETCH(QChar, key);
        QFETCH(bool, accepted);
        QCOMPARE(filteredKeyAccepted(key), accepted);
    }

    void filteredPastes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("amount") << u"1200.50"_s << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("letters") << u"abc"_s << false;
        QTest::newRow("letter inside") << u"12a3"_s << false;
        QTest::newRow("thousands separator") << u"1,200"_s << false;
        QTest::newRow("trailing blank") << u"100 "_s << false;
        QTest::newRow("line break") << u"100\n"_s << false;
        QTest::newRow("currency") << u"100元"_s << false;
    }
    void filteredPastes()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(filteredTextAccepted(text), accepted);
    }
};

QTEST_GUILESS_MAIN(PracticeEditorRules)
#include "practice_editorrules.moc"
