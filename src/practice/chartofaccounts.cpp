#include "practice/chartofaccounts.h"

using namespace Qt::StringLiterals;

namespace practice {

const QList<AccountCategory> &chartOfAccounts()
{
    static const QList<AccountCategory> chart = {
        {u"资产类"_s,
         {u"库存现金"_s,     u"银行存款"_s,     u"其他货币资金"_s,  u"交易性金融资产"_s, u"应收票据"_s,
          u"应收账款"_s,     u"应收股利"_s,     u"应收利息"_s,      u"其他应收款"_s,     u"坏账准备"_s,
          u"材料采购"_s,     u"在途物资"_s,     u"原材料"_s,        u"材料成本差异"_s,   u"库存商品"_s,
          u"发出商品"_s,     u"委托加工物资"_s, u"融资租赁资产"_s,  u"持有至到期投资"_s, u"长期股权投资"_s,
          u"投资性房地产"_s, u"长期应收款"_s,   u"固定资产"_s,      u"累计折旧"_s,       u"固定资产减值准备"_s,
          u"在建工程"_s,     u"工程物资"_s,     u"无形资产"_s,      u"累计摊销"_s,       u"无形资产减值准备"_s,
          u"商誉"_s,         u"长期待摊费用"_s, u"待处理财产损益"_s}},
        {u"负债类"_s,
         {u"短期借款"_s, u"交易性金融负债"_s, u"应付票据"_s, u"应付账款"_s, u"应付职工薪酬"_s, u"应交税费"_s,
          u"应付股利"_s, u"应付利息"_s, u"其他应付款"_s, u"预计负债"_s, u"长期借款"_s, u"应付债券"_s, u"长期应付款"_s,
          u"未确认融资费用"_s}},
        {u"所有者权益类"_s, {u"实收资本"_s, u"资本公积"_s, u"盈余公积"_s, u"本年利润"_s, u"利润分配"_s}},
        {u"成本类"_s, {u"生产成本"_s, u"制造费用"_s, u"劳务成本"_s}},
        {u"损益类"_s,
         {u"主营业务收入"_s, u"其他业务收入"_s, u"公允价值变动损益"_s, u"投资收益"_s, u"营业外收入"_s,
          u"主营业务成本"_s, u"营业税金及附加"_s, u"销售费用"_s, u"管理费用"_s, u"财务费用"_s, u"资产减值损失"_s,
          u"营业外支出"_s, u"所得税费用"_s, u"以前年度损益调整"_s}},
    };
    return chart;
}

bool isAccount(const QString &name)
{
    for (const AccountCategory &c : chartOfAccounts()) {
        if (c.accounts.contains(name))
            return true;
    }
    return false;
}

} // namespace practice
