// The answer texts of the accounting-entry editor and the chart of accounts.
#include "practice/chartofaccounts.h"
#include "practice/entrytext.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace practice;

namespace {

EntryLine line(Direction d, const QString &account, const QString &amount)
{
    return {true, d, account, amount};
}

} // namespace

class PracticeEntryText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void chartHasItsCategoriesInOrder()
    {
        const auto &chart = chartOfAccounts();
        QStringList names;
        QList<int> sizes;
        int total = 0;
        for (const AccountCategory &c : chart) {
            names << c.name;
            sizes << int(c.accounts.size());
            total += int(c.accounts.size());
        }
        QCOMPARE(names, (QStringList{u"资产类"_s, u"负债类"_s, u"所有者权益类"_s, u"成本类"_s, u"损益类"_s}));
        QCOMPARE(sizes, (QList<int>{33, 14, 5, 3, 14}));
        QCOMPARE(total, 69);
        QCOMPARE(chart.at(0).accounts.first(), u"库存现金"_s);
        QCOMPARE(chart.at(0).accounts.last(), u"待处理财产损益"_s);
        QCOMPARE(chart.at(1).accounts.last(), u"未确认融资费用"_s);
        QCOMPARE(chart.at(4).accounts.at(6), u"营业税金及附加"_s);
        QCOMPARE(chart.at(4).accounts.last(), u"以前年度损益调整"_s);
        QVERIFY(isAccount(u"原材料"_s));
        QVERIFY(!isAccount(u"资产类"_s));
    }

    void formatsEntries()
    {
        EditorContent c;
        c.lines[0][0] = line(Direction::Debit, u" 库存现金 "_s, u"100 "_s);
        c.lines[0][1] = line(Direction::Credit, u"银行存款"_s, u"100"_s);
        c.lines[1][0] = line(Direction::Debit, u"原材料"_s, u"50"_s);
        c.lines[1][1].shown = true; // shown but without direction: not taken
        QCOMPARE(entriesAnswer(c), u"借:库存现金=100;贷:银行存款=100/;借:原材料=50////"_s);

        // A hidden line keeps its content but is left out.
        c.lines[0][1].shown = false;
        QCOMPARE(entriesAnswer(c), u"借:库存现金=100/;借:原材料=50////"_s);

        // Sub-item 1 whose line 1 is not taken begins with ";" like the others.
        EditorContent d;
        d.lines[0][2] = line(Direction::Credit, u"银行存款"_s, u"7"_s);
        d.lines[5][0] = line(Direction::Debit, u"商誉"_s, u"1"_s);
        QCOMPARE(entriesAnswer(d), u";贷:银行存款=7/////;借:商誉=1"_s);

        QCOMPARE(entriesAnswer(EditorContent{}), u"/////"_s);
    }

    void formatsAmounts()
    {
        EditorContent c;
        c.amounts = {u" 1200"_s, u"300 "_s, {}, {}, {}, {}};
        QCOMPARE(amountsAnswer(c), u"1200/300////"_s);
        QCOMPARE(amountsAnswer(EditorContent{}), u"/////"_s);
    }

    void splitsAnswers_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("six") << u"a/b/c/d/e/f"_s << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s};
        QTest::newRow("short") << u"a/b"_s << QStringList{u"a"_s, u"b"_s, {}, {}, {}, {}};
        QTest::newRow("sixth keeps the rest")
            << u"1/2/3/4/5/6/7"_s << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6/7"_s};
        QTest::newRow("empty") << QString() << QStringList{{}, {}, {}, {}, {}, {}};
    }
    void splitsAnswers()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, pieces);
        const auto got = splitAnswer(answer);
        QCOMPARE(QStringList(got.begin(), got.end()), pieces);
    }

    void parsesSubItems()
    {
        const SubItemLines two = parseSubItem(u"借:库存现金=100;贷:银行存款=100"_s);
        QCOMPARE(two[0], line(Direction::Debit, u"库存现金"_s, u"100"_s));
        QCOMPARE(two[1], line(Direction::Credit, u"银行存款"_s, u"100"_s));
        QVERIFY(!two[2].shown);

        const SubItemLines lead = parseSubItem(u";借:原材料=50"_s);
        QCOMPARE(lead[0], line(Direction::Debit, u"原材料"_s, u"50"_s));
        QVERIFY(!lead[1].shown);

        // The account starts after the direction even when an "=" stands in the direction's place.
        QCOMPARE(parseSubItem(u"=:现金=100"_s)[0], line(Direction::Credit, u"现金"_s, u"100"_s));
        QCOMPARE(parseSubItem(u"借:=1;贷=:现金=100"_s)[1], line(Direction::Credit, u":现金"_s, u"100"_s));

        QVERIFY(!parseSubItem(u"no entry line"_s)[0].shown);
        QVERIFY(!parseSubItem(QString())[0].shown);

        // Seven lines: the sixth amount stops at its ";" and the rest is dropped.
        const SubItemLines many = parseSubItem(u"借:a=1;借:b=2;借:c=3;借:d=4;借:e=5;贷:f=6;贷:g=7"_s);
        QCOMPARE(many[5], line(Direction::Credit, u"f"_s, u"6"_s));
        QCOMPARE(many[2].amount, u"3"_s);
    }

    // Text -> editor -> text gives the text back for everything the editor itself writes.
    void roundTrips_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("two sub-items") << u"借:库存现金=100;贷:银行存款=100/;借:原材料=50////"_s;
        QTest::newRow("sixth sub-item") << u"借:银行存款=5000/////;借:管理费用=30;贷:累计折旧=30"_s;
        QTest::newRow("three lines everywhere")
            << u"借:a=1;借:b=2;贷:c=3/;借:a=1;借:b=2;贷:c=3/;借:a=1;借:b=2;贷:c=3/;借:a=1;借:b=2;贷:c=3/"
               ";借:a=1;借:b=2;贷:c=3/;借:a=1;借:b=2;贷:c=3"_s;
        QTest::newRow("six lines") << u"借:a=1;借:b=2;借:c=3;借:d=4;借:e=5;贷:f=6/////"_s;
        QTest::newRow("empty account and amount") << u"借:=/////"_s;
    }
    void roundTrips()
    {
        QFETCH(QString, answer);
        bool notDone = true;
        const EditorContent content = editorContentFor(false, true, answer, &notDone);
        QVERIFY(!notDone);
        QCOMPARE(entriesAnswer(content), answer);
    }

    void loadsTheEditor()
    {
        bool notDone = false;
        // Two lines in sub-item 1; lines 1 and 2 shown in every sub-item, line 2 of sub-item 2 empty.
        EditorContent c =
            editorContentFor(false, true, u"借:库存现金=100;贷:银行存款=100/;借:原材料=50////"_s, &notDone);
        QVERIFY(c.lines[0][1].taken());
        QVERIFY(c.lines[1][0].taken());
        QCOMPARE(c.lines[1][1], (EntryLine{true, Direction::None, {}, {}}));
        for (int s = 2; s < kSubItems; ++s)
            QVERIFY(c.lines[s][0].shown && c.lines[s][1].shown && !c.lines[s][2].shown);

        // Unanswered: entries mode shows two empty lines per sub-item, amounts mode none.
        c = editorContentFor(false, false, QString(), &notDone);
        QVERIFY(c.lines[3][1].shown && !c.lines[3][1].taken());
        c = editorContentFor(true, false, QString(), &notDone);
        QVERIFY(!c.lines[0][0].shown);
        QCOMPARE(c.amounts[0], QString());

        // Amounts mode restores the six boxes and keeps the lines hidden.
        c = editorContentFor(true, true, u"1200/300////9"_s, &notDone);
        QCOMPARE(c.amounts[0], u"1200"_s);
        QCOMPARE(c.amounts[5], u"9"_s);
        QVERIFY(!c.lines[0][0].shown);
        QVERIFY(!notDone);

        // An answered entries-mode record without any line is no answer.
        c = editorContentFor(false, true, u"/////"_s, &notDone);
        QVERIFY(notDone);
        QVERIFY(c.lines[0][0].shown && !c.lines[0][0].taken());
    }
};

QTEST_GUILESS_MAIN(PracticeEntryText)
#include "practice_entrytext.moc"
