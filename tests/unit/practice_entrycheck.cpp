// Entries-mode answers explained line by line against the key.
#include "practice/entrycheck.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace practice;

namespace {

QChar letter(LineVerdict v)
{
    switch (v) {
    case LineVerdict::Right:
        return u'R';
    case LineVerdict::WrongSide:
        return u'S';
    case LineVerdict::WrongAccount:
        return u'A';
    case LineVerdict::WrongAmount:
        return u'M';
    case LineVerdict::Missing:
        return u'-';
    case LineVerdict::Extra:
        break;
    }
    return u'+';
}

// "R 借:A=1" for a right line, "M 借:A=1>借:A=2" for a paired fault, "- >贷:B=1", "+ 借:C=1".
QString compact(const QList<LineCheck> &checks)
{
    QStringList out;
    for (const LineCheck &c : checks) {
        QString s = QString(letter(c.verdict)) + u' ';
        if (c.verdict != LineVerdict::Missing)
            s += keyLineText(c.given);
        if (c.verdict != LineVerdict::Right && c.verdict != LineVerdict::Extra)
            s += u'>' + keyLineText(c.expected);
        out << s;
    }
    return out.join(u" | "_s);
}

EditorContent content(const QStringList &subItems)
{
    EditorContent c;
    for (int s = 0; s < subItems.size(); ++s) {
        int k = 0;
        for (const KeyLine &l : keyLines(subItems.at(s)))
            c.lines[s][k++] = {true, l.direction, l.account, l.amount};
    }
    return c;
}

} // namespace

class PracticeEntryCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keyLinesAreRead_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("lines");
        QTest::newRow("two lines") << u"借:库存现金=100;贷:银行存款=100"_s << u"借:库存现金=100 贷:银行存款=100"_s;
        QTest::newRow("unused") << u"-"_s << u""_s;
        QTest::newRow("empty") << u""_s << u""_s;
        QTest::newRow("blanks around") << u" 借: 原材料 = 50 ;;贷:应付账款=50; "_s << u"借:原材料=50 贷:应付账款=50"_s;
        QTest::newRow("no amount") << u"借:原材料"_s << u"借:原材料=（空）"_s;
    }
    void keyLinesAreRead()
    {
        QFETCH(QString, key);
        QFETCH(QString, lines);
        QStringList texts;
        for (const KeyLine &l : keyLines(key))
            texts << keyLineText(l);
        QCOMPARE(texts.join(u' '), lines);
    }

    void amountsCompareAsNumbers_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("equal text") << u"100"_s << u"100"_s << true;
        QTest::newRow("decimals") << u"100"_s << u"100.00"_s << true;
        QTest::newRow("one decimal") << u"100.5"_s << u"100.50"_s << true;
        QTest::newRow("thousands comma") << u"1,000"_s << u"1000"_s << true;
        QTest::newRow("blanks") << u" 100 "_s << u"100"_s << true;
        QTest::newRow("prefix is not equal") << u"10"_s << u"100"_s << false;
        QTest::newRow("cent apart") << u"100.01"_s << u"100"_s << false;
        QTest::newRow("empty against number") << u""_s << u"0"_s << false;
        QTest::newRow("both empty") << u""_s << u""_s << true;
        QTest::newRow("text") << u"abc"_s << u"abd"_s << false;
    }
    void amountsCompareAsNumbers()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(sameAmount(a, b), same);
        QCOMPARE(sameAmount(b, a), same);
    }

    void linesArePairedBest_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all right") << u"借:库存现金=100;贷:银行存款=100"_s << u"借:库存现金=100;贷:银行存款=100"_s
                                   << u"R 借:库存现金=100 | R 贷:银行存款=100"_s;
        QTest::newRow("swapped lines") << u"贷:银行存款=100;借:库存现金=100"_s << u"借:库存现金=100;贷:银行存款=100"_s
                                       << u"R 贷:银行存款=100 | R 借:库存现金=100"_s;
        QTest::newRow("sides swapped") << u"贷:库存现金=100;借:银行存款=100"_s << u"借:库存现金=100;贷:银行存款=100"_s
                                       << u"S 贷:库存现金=100>借:库存现金=100 | S 借:银行存款=100>贷:银行存款=100"_s;
        QTest::newRow("wrong account") << u"借:原材料=500;贷:银行存款=500"_s << u"借:库存商品=500;贷:银行存款=500"_s
                                       << u"A 借:原材料=500>借:库存商品=500 | R 贷:银行存款=500"_s;
        QTest::newRow("wrong amount") << u"借:原材料=500;贷:银行存款=600"_s << u"借:原材料=600;贷:银行存款=600"_s
                                      << u"M 借:原材料=500>借:原材料=600 | R 贷:银行存款=600"_s;
        QTest::newRow("missing line") << u"借:银行存款=56500"_s
                                      << u"借:银行存款=56500;贷:主营业务收入=50000;贷:应交税费=6500"_s
                                      << u"R 借:银行存款=56500 | - >贷:主营业务收入=50000 | - >贷:应交税费=6500"_s;
        QTest::newRow("extra line") << u"借:库存现金=100;贷:银行存款=100;借:管理费用=5"_s
                                    << u"借:库存现金=100;贷:银行存款=100"_s
                                    << u"R 借:库存现金=100 | R 贷:银行存款=100 | + 借:管理费用=5"_s;
        QTest::newRow("two faults never pair")
            << u"贷:原材料=1"_s << u"借:原材料=2"_s << u"+ 贷:原材料=1 | - >借:原材料=2"_s;
        // One compound entry written as two simple ones: the credit is split in two.
        QTest::newRow("compound against two simple")
            << u"借:制造费用=12000;贷:累计折旧=12000;借:管理费用=6000;贷:累计折旧=6000"_s
            << u"借:制造费用=12000;借:管理费用=6000;贷:累计折旧=18000"_s
            << u"R 借:制造费用=12000 | M 贷:累计折旧=12000>贷:累计折旧=18000 | R 借:管理费用=6000 | + 贷:累计折旧=6000"_s;
        // The first line found for 管理费用 is the wrong one to pair: the best pairing keeps the right one.
        QTest::newRow("repeated account")
            << u"借:管理费用=12000;借:管理费用=6000;贷:累计折旧=18000"_s
            << u"借:制造费用=12000;借:管理费用=6000;贷:累计折旧=18000"_s
            << u"A 借:管理费用=12000>借:制造费用=12000 | R 借:管理费用=6000 | R 贷:累计折旧=18000"_s;
        QTest::newRow("same line twice in the key")
            << u"借:原材料=100;借:原材料=100"_s << u"借:原材料=100;借:原材料=100;贷:银行存款=200"_s
            << u"R 借:原材料=100 | R 借:原材料=100 | - >贷:银行存款=200"_s;
        QTest::newRow("amount with decimals")
            << u"借:库存现金=100.00;贷:银行存款=100"_s << u"借:库存现金=100;贷:银行存款=100.00"_s
            << u"R 借:库存现金=100.00 | R 贷:银行存款=100"_s;
        QTest::newRow("blank line") << u"借:;贷:银行存款=100"_s << u"借:库存现金=100;贷:银行存款=100"_s
                                    << u"+ 借:（空）=（空） | R 贷:银行存款=100 | - >借:库存现金=100"_s;
        QTest::newRow("blank amount") << u"借:库存现金=;贷:银行存款=100"_s << u"借:库存现金=100;贷:银行存款=100"_s
                                      << u"M 借:库存现金=（空）>借:库存现金=100 | R 贷:银行存款=100"_s;
        QTest::newRow("nothing written") << u""_s << u"借:库存现金=100"_s << u"- >借:库存现金=100"_s;
        QTest::newRow("no key") << u"借:库存现金=100"_s << u"-"_s << u"+ 借:库存现金=100"_s;
    }
    void linesArePairedBest()
    {
        QFETCH(QString, given);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(compact(checkLines(keyLines(given), keyLines(key))), expected);
    }

    void subItemsCarryTheJudging()
    {
        SubItemAnswers key{u"借:库存现金=100;贷:银行存款=100"_s,
                           u"借:原材料=50;贷:应付账款=50"_s,
                           u"借:管理费用=100"_s,
                           u"-"_s,
                           u"-"_s,
                           u"-"_s};
        // Sub-item 1 right in another order, 2 with a wrong amount, 3 "100.00" for "100" (right
        // by value, but the judging compares text), 4 to 6 unused and left blank.
        const EditorContent c =
            content({u"贷:银行存款=100;借:库存现金=100"_s, u"借:原材料=50;贷:应付账款=60"_s, u"借:管理费用=100.00"_s});
        const QList<SubItemCheck> checks = checkEntries(c, key);
        QCOMPARE(checks.size(), 3);
        QCOMPARE(checks.at(0).subItem, 1);
        QVERIFY(checks.at(0).credited);
        QCOMPARE(checks.at(0).faults(), 0);
        QCOMPARE(checks.at(1).subItem, 2);
        QVERIFY(!checks.at(1).credited);
        QCOMPARE(checks.at(1).faults(), 1);
        QVERIFY(!checks.at(2).credited);
        QCOMPARE(checks.at(2).faults(), 0);

        QCOMPARE(explanationText(checks), u"第1小题：各行正确（得分）\n"
                                          "  正确：贷:银行存款=100\n"
                                          "  正确：借:库存现金=100\n"
                                          "第2小题：1处错误（不得分）\n"
                                          "  正确：借:原材料=50\n"
                                          "  金额错误：贷:应付账款=60，应为 50\n"
                                          "第3小题：各行正确（不得分） 金额的写法与答案不同\n"
                                          "  正确：借:管理费用=100.00"_s);
    }

    void storedAnswerIsExplained()
    {
        const SubItemAnswers key{u"借:库存现金=3000;贷:银行存款=3000"_s,
                                 u"借:银行存款=200000;贷:实收资本=200000"_s,
                                 u"-"_s,
                                 u"-"_s,
                                 u"-"_s,
                                 u"-"_s};
        const QString answer = u"贷:库存现金=3000;借:银行存款=3000/;借:银行存款=200000;贷:股本=200000////"_s;
        const QList<SubItemCheck> checks = checkEntries(answer, key);
        QCOMPARE(checks.size(), 2);
        QCOMPARE(compact(checks.at(0).lines),
                 u"S 贷:库存现金=3000>借:库存现金=3000 | S 借:银行存款=3000>贷:银行存款=3000"_s);
        QCOMPARE(compact(checks.at(1).lines), u"R 借:银行存款=200000 | A 贷:股本=200000>贷:实收资本=200000"_s);
        QCOMPARE(describe(checks.at(0).lines.at(0)), u"方向错误：贷:库存现金=3000，应记借方"_s);
        QCOMPARE(describe(checks.at(1).lines.at(1)), u"科目错误：贷:股本=200000，应为 实收资本"_s);
        QVERIFY(checkEntries(u"/////"_s, {u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(PracticeEntryCheck)
#include "practice_entrycheck.moc"
