// Add/delete rules, add buttons and key filters of the answer editor in both windows.
#include "practice/editorrules.h"

#include <QTest>

using namespace practice;

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

    void addButtonsAndFilters()
    {
        for (int s = 1; s <= 6; ++s) {
            QVERIFY(hasAddButton(EditorVariant::Practice, s, 5));
            QCOMPARE(hasAddButton(EditorVariant::Practice, s, 6), s == 1);
            QVERIFY(!hasAddButton(EditorVariant::Exam, s, 6));
            QCOMPARE(amountKeysFiltered(EditorVariant::Practice, s), s <= 2);
            QVERIFY(amountKeysFiltered(EditorVariant::Exam, s));
        }
        QVERIFY(!computedKeysFiltered(EditorVariant::Practice));
        QVERIFY(computedKeysFiltered(EditorVariant::Exam));
        for (QChar c : QStringLiteral("0123456789.\b\r"))
            QVERIFY(filteredKeyAccepted(c));
        for (QChar c : QStringLiteral("a-,元 e"))
            QVERIFY(!filteredKeyAccepted(c));
    }
};

QTEST_GUILESS_MAIN(PracticeEditorRules)
#include "practice_editorrules.moc"
