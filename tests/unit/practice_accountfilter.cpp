// Finding an account of the chart by what the learner types: a part of its name, a part of its
// category's name, or the start of its number.
#include "practice/accountfilter.h"
#include "practice/chartofaccounts.h"

#include <QTest>

using namespace Qt::StringLiterals;

class AccountFilterTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void matches_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<QString>("highlighted");
        QTest::newRow("part of a name") << u"银行"_s << QStringList{u"银行存款"_s} << u"银行存款"_s;
        QTest::newRow("blanks around") << u" 银行 "_s << QStringList{u"银行存款"_s} << u"银行存款"_s;
        QTest::newRow("a whole name and a longer one")
            << u"固定资产"_s << QStringList{u"固定资产"_s, u"固定资产减值准备"_s} << u"固定资产"_s;
        QTest::newRow("several, chart order") << u"折旧"_s << QStringList{u"累计折旧"_s} << u"累计折旧"_s;
        QTest::newRow("income accounts") << u"收入"_s
                                         << QStringList{u"主营业务收入"_s, u"其他业务收入"_s, u"营业外收入"_s}
                                         << u"主营业务收入"_s;
        QTest::newRow("a category offers all of it")
            << u"所有者权益"_s << QStringList{u"实收资本"_s, u"资本公积"_s, u"盈余公积"_s, u"本年利润"_s, u"利润分配"_s}
            << u"实收资本"_s;
        QTest::newRow("number 2") << u"2"_s << QStringList{u"银行存款"_s,         u"长期股权投资"_s, u"投资性房地产"_s,
                                                           u"长期应收款"_s,       u"固定资产"_s,     u"累计折旧"_s,
                                                           u"固定资产减值准备"_s, u"在建工程"_s,     u"工程物资"_s,
                                                           u"无形资产"_s,         u"累计摊销"_s}
                                  << u"银行存款"_s;
        QTest::newRow("number 23 exactly") << u"23"_s << QStringList{u"固定资产"_s} << u"固定资产"_s;
        QTest::newRow("number 34, first of the liabilities") << u"34"_s << QStringList{u"短期借款"_s} << u"短期借款"_s;
        QTest::newRow("the last number") << u"69"_s << QStringList{u"以前年度损益调整"_s} << u"以前年度损益调整"_s;
        QTest::newRow("beyond the chart") << u"70"_s << QStringList{} << QString();
        QTest::newRow("nothing fits") << u"银行x"_s << QStringList{} << QString();
    }
    void matches()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, accounts);
        QFETCH(QString, highlighted);
        const QList<practice::AccountRef> found = practice::matchingAccounts(typed);
        const auto &chart = practice::chartOfAccounts();
        QStringList names;
        for (const practice::AccountRef &m : found)
            names << chart.at(m.category).accounts.at(m.account);
        QCOMPARE(names, accounts);
        const int best = practice::preferredMatch(found, typed);
        QCOMPARE(best < 0 ? QString() : names.at(best), highlighted);
    }

    void emptyTextFitsEveryAccountNumberedInOrder()
    {
        const QList<practice::AccountRef> all = practice::matchingAccounts(u"  "_s);
        QCOMPARE(all.size(), 69);
        QCOMPARE(all.first().position, 1);
        QCOMPARE(all.last().position, 69);
        QCOMPARE(all.at(33).category, 1); // 短期借款
        QCOMPARE(all.at(33).account, 0);
    }
};

QTEST_GUILESS_MAIN(AccountFilterTest)
#include "practice_accountfilter.moc"
